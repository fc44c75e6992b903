// GlobalAlloc, GlobalLock, GlobalUnlock, GlobalFree: counted, failable, and
// tracked per block so the ledger knows what the module still holds.
#include "standin/faults/describe.h"
#include "standin/faults/hook_table.h"
#include "standin/faults/ledger.h"

namespace faults {
namespace {

HGLOBAL WINAPI hook_GlobalAlloc(UINT flags, SIZE_T bytes) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::GlobalAlloc);
    HGLOBAL block = nullptr;
    if (v.fail) {
        error.set(v.code);
    } else {
        block = l.real<decltype(&GlobalAlloc)>(api::GlobalAlloc)(flags, bytes);
        error.capture();
    }
    memory_log& m = l.state().memory;
    m.allocs.push_back({{v.seq, v.fail}, flags, bytes, block});
    if (block) m.live[block] = {flags, bytes, 0, (flags & GMEM_MOVEABLE) ? nullptr : block, v.seq};
    return block;
}

LPVOID WINAPI hook_GlobalLock(HGLOBAL block) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::GlobalLock);
    if (v.fail) {
        error.set(v.code);
        return nullptr;
    }
    void* p = l.real<decltype(&GlobalLock)>(api::GlobalLock)(block);
    error.capture();
    auto live = l.state().memory.live.find(block);
    if (p && live != l.state().memory.live.end()) {
        ++live->second.locks;
        live->second.base = p;
    }
    return p;
}

BOOL WINAPI hook_GlobalUnlock(HGLOBAL block) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::GlobalUnlock);
    if (v.fail) {
        error.set(v.code);
        return FALSE;
    }
    BOOL still_locked = l.real<decltype(&GlobalUnlock)>(api::GlobalUnlock)(block);
    error.capture();
    auto live = l.state().memory.live.find(block);
    if (live == l.state().memory.live.end())
        l.problem("GlobalUnlock(" + pointer_text(block) + "): not a block the module holds");
    else if (live->second.locks == 0)
        l.problem("GlobalUnlock(" + pointer_text(block) + "): block is not locked");
    else
        --live->second.locks;
    return still_locked;
}

HGLOBAL WINAPI hook_GlobalFree(HGLOBAL block) {
    last_error_keeper error;
    ledger& l = hooked_ledger();
    auto guard = l.lock();
    verdict v = l.enter(api::GlobalFree);
    if (v.fail) {
        error.set(v.code);
        return block;
    }
    HGLOBAL left = l.real<decltype(&GlobalFree)>(api::GlobalFree)(block);
    error.capture();
    memory_log& m = l.state().memory;
    auto live = m.live.find(block);
    if (live == m.live.end()) {
        l.problem("GlobalFree(" + pointer_text(block) + "): not a block the module holds");
    } else if (!left) {
        if (live->second.locks) m.locked_frees.push_back({v.seq, block, live->second.locks});
        m.live.erase(live);
    }
    return left;
}

const hook_entry table[] = {
    {api::GlobalAlloc, {"kernel32.dll", "GlobalAlloc"}, reinterpret_cast<void*>(hook_GlobalAlloc), true},
    {api::GlobalLock, {"kernel32.dll", "GlobalLock"}, reinterpret_cast<void*>(hook_GlobalLock), true},
    {api::GlobalUnlock, {"kernel32.dll", "GlobalUnlock"}, reinterpret_cast<void*>(hook_GlobalUnlock), true},
    {api::GlobalFree, {"kernel32.dll", "GlobalFree"}, reinterpret_cast<void*>(hook_GlobalFree), true},
};

}  // namespace

std::span<const hook_entry> memory_hooks() { return table; }

}  // namespace faults
