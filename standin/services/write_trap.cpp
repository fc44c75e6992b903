#include "standin/services/write_trap.h"

#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "standin/faults/fault_address.h"

namespace standin {

namespace {

// Every live trap, for the process-wide fault handler to find its page.
std::mutex traps_lock;
std::vector<write_trap*> traps;

}  // namespace

write_trap::write_trap()
    : page_(static_cast<uint8_t*>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))),
      handler_(nullptr) {
    if (!page_) throw std::runtime_error("VirtualAlloc failed (error " + std::to_string(GetLastError()) + ")");
    handler_ = AddVectoredExceptionHandler(1, on_exception);
    if (!handler_) {
        VirtualFree(page_, 0, MEM_RELEASE);
        throw std::runtime_error("AddVectoredExceptionHandler failed");
    }
    std::lock_guard<std::mutex> hold(traps_lock);
    traps.push_back(this);
}

write_trap::~write_trap() {
    {
        std::lock_guard<std::mutex> hold(traps_lock);
        std::erase(traps, this);
    }
    RemoveVectoredExceptionHandler(handler_);
    VirtualFree(page_, 0, MEM_RELEASE);
}

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

LONG CALLBACK write_trap::on_exception(EXCEPTION_POINTERS* info) {
    const std::optional<faults::memory_access> access = faults::faulting_access(*info);
    if (!access || !access->write) return EXCEPTION_CONTINUE_SEARCH;
    const auto* address = reinterpret_cast<const uint8_t*>(access->address);
    std::lock_guard<std::mutex> hold(traps_lock);
    for (write_trap* trap : traps) {
        if (address < trap->page_ || address >= trap->page_ + size) continue;
        DWORD before;
        if (!VirtualProtect(trap->page_, size, PAGE_READWRITE, &before)) return EXCEPTION_CONTINUE_SEARCH;
        trap->written_ = true;
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace standin
