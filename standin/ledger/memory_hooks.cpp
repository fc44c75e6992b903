// GlobalAlloc, GlobalLock, GlobalUnlock, GlobalFree: counted, failable, and
// tracked per block so the ledger knows what the module still holds. The
// blocks come from the platform's heap or the ledger's page heap; the page
// heap answers for the handles it handed out, the platform for the rest.
#include "standin/ledger/hooked_call.h"
#include "standin/ledger/hooks.h"
#include "standin/log/value_text.h"

namespace faults {

HGLOBAL WINAPI hook_GlobalAlloc(UINT flags, SIZE_T bytes) {
    hooked_call call(api::GlobalAlloc);
    HGLOBAL block = nullptr;
    if (call.failing())
        call.fail_in_last_error();
    else if (call.owner().page_heap().takes(bytes))
        block = call.from_page_heap([&](traps::page_heap& heap) { return heap.alloc(flags, bytes); });
    else
        block = call.real<decltype(GlobalAlloc)>(flags, bytes);
    memory_log& m = call.state().memory;
    m.allocs.push_back({call.mark(), flags, bytes, block});
    if (block) m.live[block] = {flags, bytes, 0};
    return block;
}

LPVOID WINAPI hook_GlobalLock(HGLOBAL block) {
    hooked_call call(api::GlobalLock);
    if (call.failing()) {
        call.fail_in_last_error();
        return nullptr;
    }
    const std::optional<void*> own = call.from_page_heap([&](traps::page_heap& heap) { return heap.lock(block); });
    void* p = own ? *own : call.real<decltype(GlobalLock)>(block);
    auto live = call.state().memory.live.find(block);
    if (p && live != call.state().memory.live.end()) ++live->second.locks;
    return p;
}

BOOL WINAPI hook_GlobalUnlock(HGLOBAL block) {
    hooked_call call(api::GlobalUnlock);
    if (call.failing()) {
        call.fail_in_last_error();
        return FALSE;
    }
    const std::optional<BOOL> own = call.from_page_heap([&](traps::page_heap& heap) { return heap.unlock(block); });
    const BOOL still_locked = own ? *own : call.real<decltype(GlobalUnlock)>(block);
    auto live = call.state().memory.live.find(block);
    if (live == call.state().memory.live.end())
        call.owner().problem("GlobalUnlock(" + standin::pointer_text(block) + "): not a block the module holds");
    else if (live->second.locks == 0)
        call.owner().problem("GlobalUnlock(" + standin::pointer_text(block) + "): block is not locked");
    else
        --live->second.locks;
    return still_locked;
}

HGLOBAL WINAPI hook_GlobalFree(HGLOBAL block) {
    hooked_call call(api::GlobalFree);
    if (call.failing()) {
        call.fail_in_last_error();
        return block;
    }
    const std::optional<HGLOBAL> own = call.from_page_heap([&](traps::page_heap& heap) { return heap.free(block); });
    const HGLOBAL left = own ? *own : call.real<decltype(GlobalFree)>(block);
    memory_log& m = call.state().memory;
    auto live = m.live.find(block);
    if (live == m.live.end()) {
        call.owner().problem("GlobalFree(" + standin::pointer_text(block) + "): not a block the module holds");
    } else if (!left) {
        m.live.erase(live);
    }
    return left;
}

}  // namespace faults
