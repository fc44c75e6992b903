#include "standin/traps/page_heap.h"

#include <cstring>
#include <limits>
#include <utility>

#include "standin/log/value_text.h"

namespace traps {
namespace {

// What a block not asked to be zeroed holds until the module writes it, so
// that a read of bytes never written does not pass for zeros.
constexpr std::uint8_t unwritten_fill = 0xC0;
// Freed blocks stay reserved, their pages decommitted, until this many
// newer ones have been freed.
constexpr std::size_t quarantine_blocks = 64;

SIZE_T page_size() {
    static const SIZE_T size = [] {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        return static_cast<SIZE_T>(info.dwPageSize);
    }();
    return size;
}

// What GlobalUnlock answers for a fixed block, asked once of the platform
// itself: fixed blocks have no lock count, and the answer is the platform's.
struct fixed_unlock_answer {
    BOOL result;
    DWORD error;
};
const fixed_unlock_answer& fixed_unlock() {
    static const fixed_unlock_answer answer = [] {
        fixed_unlock_answer a{FALSE, ERROR_NOT_LOCKED};
        HGLOBAL block = GlobalAlloc(GMEM_FIXED, 1);
        if (!block) return a;
        SetLastError(NO_ERROR);
        a.result = GlobalUnlock(block);
        a.error = GetLastError();
        GlobalFree(block);
        return a;
    }();
    return answer;
}

}  // namespace

const char* layout_name(heap_layout layout) {
    switch (layout) {
        case heap_layout::guard_after: return "page heap, guard page after each block";
        case heap_layout::guard_before: return "page heap, guard page before each block";
        default: return "platform heap";
    }
}

std::string guard_fault_text(const guard_fault& fault) {
    const char* touched = fault.what == guard_fault::touch::past_end       ? "past the end of"
                          : fault.what == guard_fault::touch::before_start ? "before the start of"
                                                                           : "after the free of";
    std::string line = standin::printf_text("%s %s a %lu-byte %s, at offset %lld", fault.access, touched,
                            static_cast<unsigned long>(fault.size), fault.block,
                            static_cast<long long>(fault.offset));
    if (!fault.where.empty()) line += ", during " + fault.where;
    return line;
}

page_heap::page_heap(std::function<void(guard_fault)> found) : found_(std::move(found)) {}

page_heap::~page_heap() {
    for (const auto& [reservation, b] : blocks_) VirtualFree(b.reservation, 0, MEM_RELEASE);
}

void page_heap::set_layout(heap_layout layout) {
    std::lock_guard hold(mutex_);
    layout_ = layout;
}

heap_layout page_heap::layout() const {
    std::lock_guard hold(mutex_);
    return layout_;
}

bool page_heap::takes(SIZE_T bytes) const {
    // Without the fault handler the page heap would turn findings into crashes.
    return registration_.active() && bytes > 0 && layout() != heap_layout::platform;
}

page_heap::block* page_heap::place(SIZE_T bytes, heap_layout layout, const char* kind, std::uint8_t fill) {
    const SIZE_T page = page_size();
    if (bytes > std::numeric_limits<SIZE_T>::max() / 2) return nullptr;
    const SIZE_T page_bytes = (bytes + page - 1) / page * page;
    const SIZE_T reserved = page_bytes + page;
    auto* reservation = static_cast<std::uint8_t*>(VirtualAlloc(nullptr, reserved, MEM_RESERVE, PAGE_NOACCESS));
    if (!reservation) return nullptr;
    const bool guard_first = layout == heap_layout::guard_before;
    std::uint8_t* pages = guard_first ? reservation + page : reservation;
    std::uint8_t* guard = guard_first ? reservation : reservation + page_bytes;
    if (!VirtualAlloc(pages, page_bytes, MEM_COMMIT, PAGE_READWRITE) ||
        !VirtualAlloc(guard, page, MEM_COMMIT, PAGE_NOACCESS)) {
        VirtualFree(reservation, 0, MEM_RELEASE);
        return nullptr;
    }
    block b;
    b.reservation = reservation;
    b.reserved = reserved;
    b.pages = pages;
    b.page_bytes = page_bytes;
    b.size = bytes;
    b.guard = guard;
    b.data = guard_first ? pages : pages + page_bytes - bytes;
    b.kind = kind;
    // Committed pages read as zero; only the block's own bytes get the fill.
    if (fill) std::memset(b.data, fill, bytes);
    std::lock_guard hold(mutex_);
    return &blocks_.emplace(reinterpret_cast<std::uintptr_t>(reservation), b).first->second;
}

HGLOBAL page_heap::alloc(UINT flags, SIZE_T bytes) {
    std::lock_guard hold(mutex_);
    block* b = place(bytes, layout_, "GlobalAlloc block", (flags & GMEM_ZEROINIT) ? 0 : unwritten_fill);
    if (!b) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    b->moveable = flags & GMEM_MOVEABLE;
    // A moveable block's handle is an address in its no-access page: unique
    // while the block is reserved, and a fault if used as the block's address.
    b->handle = b->moveable ? static_cast<HGLOBAL>(b->guard + 8) : static_cast<HGLOBAL>(b->data);
    handles_[b->handle] = reinterpret_cast<std::uintptr_t>(b->reservation);
    return b->handle;
}

page_heap::block* page_heap::find_handle(HGLOBAL handle) {
    const auto found = handles_.find(handle);
    return found == handles_.end() ? nullptr : &blocks_.at(found->second);
}

std::optional<void*> page_heap::lock(HGLOBAL handle) {
    std::lock_guard hold(mutex_);
    block* b = find_handle(handle);
    if (!b) return std::nullopt;
    // The platform hands a fixed block's address back unlooked-at, freed or not.
    if (!b->moveable) return b->data;
    if (b->freed) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    ++b->locks;
    return b->data;
}

std::optional<BOOL> page_heap::unlock(HGLOBAL handle) {
    std::lock_guard hold(mutex_);
    block* b = find_handle(handle);
    if (!b) return std::nullopt;
    if (b->freed) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!b->moveable) {
        SetLastError(fixed_unlock().error);
        return fixed_unlock().result;
    }
    if (b->locks == 0) {
        SetLastError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    if (--b->locks == 0) SetLastError(NO_ERROR);
    return b->locks != 0;
}

std::optional<HGLOBAL> page_heap::free(HGLOBAL handle) {
    std::lock_guard hold(mutex_);
    block* b = find_handle(handle);
    if (!b) return std::nullopt;
    if (b->freed) {
        SetLastError(ERROR_INVALID_HANDLE);
        return handle;
    }
    retire(*b);
    return nullptr;
}

std::uint8_t* page_heap::buffer_memory(SIZE_T bytes, std::uint8_t fill) {
    if (!registration_.active() || bytes == 0) return nullptr;
    std::lock_guard hold(mutex_);
    block* b = place(bytes, heap_layout::guard_after, "sound buffer", fill);
    return b ? b->data : nullptr;
}

void page_heap::free_buffer_memory(std::uint8_t* memory) {
    std::lock_guard hold(mutex_);
    auto at = blocks_.upper_bound(reinterpret_cast<std::uintptr_t>(memory));
    if (at == blocks_.begin()) return;
    --at;
    if (at->second.data == memory && !at->second.freed) retire(at->second);
}

void page_heap::retire(block& b) {
    b.freed = true;
    // Decommitted pages fault on any access; if the platform will not
    // decommit them, they are released at once.
    if (!VirtualFree(b.pages, b.page_bytes, MEM_DECOMMIT)) {
        VirtualFree(b.reservation, 0, MEM_RELEASE);
        handles_.erase(b.handle);
        blocks_.erase(reinterpret_cast<std::uintptr_t>(b.reservation));
        return;
    }
    quarantine_.push_back(reinterpret_cast<std::uintptr_t>(b.reservation));
    if (quarantine_.size() <= quarantine_blocks) return;
    block& oldest = blocks_.at(quarantine_.front());
    quarantine_.pop_front();
    VirtualFree(oldest.reservation, 0, MEM_RELEASE);
    if (oldest.handle) handles_.erase(oldest.handle);
    blocks_.erase(reinterpret_cast<std::uintptr_t>(oldest.reservation));
}

page_heap::block* page_heap::block_at(std::uintptr_t address) {
    auto at = blocks_.upper_bound(address);
    if (at == blocks_.begin()) return nullptr;
    block& b = (--at)->second;
    return address < reinterpret_cast<std::uintptr_t>(b.reservation) + b.reserved ? &b : nullptr;
}

std::optional<std::function<void()>> page_heap::claim(const fault_touch& touch) {
    std::lock_guard hold(mutex_);
    const std::uintptr_t address = touch.address;
    const std::uintptr_t page = page_size();
    const std::uintptr_t next_page = (address / page + 1) * page;
    for (const std::uintptr_t touched : {address, next_page}) {
        if (touched != address && touched - address >= touch.span) break;
        block* b = block_at(touched);
        if (!b || b->opened) continue;
        const auto guard = reinterpret_cast<std::uintptr_t>(b->guard);
        if (!b->freed && (touched < guard || touched >= guard + page)) continue;
        const auto start = reinterpret_cast<std::uintptr_t>(b->data);
        guard_fault fault;
        fault.access = touch.write ? "write" : "read";
        fault.block = b->kind;
        fault.size = b->size;
        fault.offset = static_cast<std::int64_t>(touched) - static_cast<std::int64_t>(start);
        fault.what = b->freed         ? guard_fault::touch::after_free
                     : touched < start ? guard_fault::touch::before_start
                                       : guard_fault::touch::past_end;
        // The block's pages become ordinary memory, so the module carries on
        // and the run reaches its end; this block reports no second fault.
        DWORD before = 0;
        if (!VirtualAlloc(b->reservation, b->reserved, MEM_COMMIT, PAGE_READWRITE) ||
            !VirtualProtect(b->reservation, b->reserved, PAGE_READWRITE, &before))
            return std::nullopt;
        b->opened = true;
        // Reported outside the page heap's locks: the report takes the ledger's.
        return [this, fault = std::move(fault)] { found_(fault); };
    }
    return std::nullopt;
}

}  // namespace traps
