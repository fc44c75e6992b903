#include "standin/services/write_trap.h"

#include <stdexcept>
#include <string>

namespace standin {

write_trap::write_trap()
    : page_(static_cast<uint8_t*>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {
    if (!page_) throw std::runtime_error("VirtualAlloc failed (error " + std::to_string(GetLastError()) + ")");
    if (!registration_.active()) {
        VirtualFree(page_, 0, MEM_RELEASE);
        throw std::runtime_error("AddVectoredExceptionHandler failed");
    }
}

write_trap::~write_trap() { VirtualFree(page_, 0, MEM_RELEASE); }

void write_trap::arm() {
    DWORD before;
    if (!VirtualProtect(page_, size, PAGE_READONLY, &before))
        throw std::runtime_error("VirtualProtect failed (error " + std::to_string(GetLastError()) + ")");
}

bool write_trap::take_write() {
    const bool written = written_;
    written_ = false;
    arm();
    return written;
}

std::optional<std::function<void()>> write_trap::claim(const traps::fault_touch& touch) {
    const auto* address = reinterpret_cast<const uint8_t*>(touch.address);
    if (!touch.write || address < page_ || address >= page_ + size) return std::nullopt;
    DWORD before;
    if (!VirtualProtect(page_, size, PAGE_READWRITE, &before)) return std::nullopt;
    written_ = true;
    return std::function<void()>{};
}

}  // namespace standin
