// A full page heap for the module's GlobalAlloc blocks and the fake sound
// device's buffers. Each block has pages of its own, set against a
// no-access page: after its end (overrun layout) or before its start
// (underrun layout). A freed block's pages are decommitted and stay reserved
// for a while. So an access one byte past a block, before it, or after its
// free faults at once, where under the platform's heap the neighbouring
// bytes would read and write as if nothing were wrong.
//
// The fault is a finding, not a crash (see guarded_pages.h): the page heap
// names the block and the access, makes the touched pages accessible and
// lets the module carry on, so that a run reports it and goes on to its end.
//
// GlobalAlloc, GlobalLock, GlobalUnlock and GlobalFree keep the platform's
// meaning: fixed blocks are their own handle, moveable ones a handle of the
// page heap's that GlobalLock turns into the address; GMEM_ZEROINIT blocks
// read as zero, others as a fill pattern. A 0-byte request, and any handle
// the page heap did not hand out, go to the platform.
#pragma once
#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "standin/traps/guarded_pages.h"

namespace traps {

enum class heap_layout {
    platform,      // the module's blocks come from the platform's heap
    guard_after,   // overrun: each block ends at the end of a page, a no-access page after it
    guard_before,  // underrun: each block starts at a page, a no-access page before it
};

const char* layout_name(heap_layout layout);

struct guard_fault {
    enum class touch { past_end, before_start, after_free };
    touch what = touch::past_end;
    const char* access = "read";  // "read" or "write"
    const char* block = "";       // "GlobalAlloc block", "sound buffer"
    SIZE_T size = 0;
    std::int64_t offset = 0;      // of the touched byte from the block's first byte
    std::string where;            // the host call in progress, when the ledger knows it
};

// "write before the start of a 24-byte GlobalAlloc block, at offset -1, during initialize"
std::string guard_fault_text(const guard_fault& fault);

class page_heap : private page_watcher {
public:
    // `found` gets each fault on a guard page, on the faulting thread.
    explicit page_heap(std::function<void(guard_fault)> found);
    ~page_heap();  // releases every block's pages, held or freed
    page_heap(const page_heap&) = delete;
    page_heap& operator=(const page_heap&) = delete;

    // Applies to GlobalAlloc requests from now on; blocks already handed out keep theirs.
    void set_layout(heap_layout layout);
    heap_layout layout() const;

    // What the hooks call. alloc: null with the last error set when it fails;
    // nullopt from the others: the handle is not the page heap's, ask the platform.
    bool takes(SIZE_T bytes) const;  // the page heap serves this GlobalAlloc request
    HGLOBAL alloc(UINT flags, SIZE_T bytes);
    std::optional<void*> lock(HGLOBAL handle);
    std::optional<BOOL> unlock(HGLOBAL handle);
    std::optional<HGLOBAL> free(HGLOBAL handle);

    // Memory for a sound buffer, ending at a no-access page whatever the
    // layout, filled with `fill`; null when it can't be had.
    std::uint8_t* buffer_memory(SIZE_T bytes, std::uint8_t fill);
    void free_buffer_memory(std::uint8_t* memory);

private:
    // A touch of a block's no-access page: the block's pages made accessible,
    // and the finding reported once the registry's lock is let go.
    std::optional<std::function<void()>> claim(const fault_touch& touch) override;

    struct block {
        std::uint8_t* reservation = nullptr;
        SIZE_T reserved = 0;
        std::uint8_t* data = nullptr;
        SIZE_T size = 0;
        std::uint8_t* pages = nullptr;    // the committed pages holding the block
        SIZE_T page_bytes = 0;
        std::uint8_t* guard = nullptr;    // its no-access page
        bool opened = false;              // made accessible after a finding
        HGLOBAL handle = nullptr;
        const char* kind = "";
        bool moveable = false;
        unsigned locks = 0;
        bool freed = false;
    };

    block* place(SIZE_T bytes, heap_layout layout, const char* kind, std::uint8_t fill);
    block* find_handle(HGLOBAL handle);
    block* block_at(std::uintptr_t address);
    void retire(block& b);  // decommits, keeps reserved, releases the oldest past the quarantine

    std::function<void(guard_fault)> found_;
    mutable std::recursive_mutex mutex_;
    heap_layout layout_ = heap_layout::platform;
    std::map<std::uintptr_t, block> blocks_;           // by reservation address
    std::map<HGLOBAL, std::uintptr_t> handles_;        // held and freed blocks' handles
    std::deque<std::uintptr_t> quarantine_;            // freed blocks, oldest first
    watch_registration registration_{*this};  // last: made once the rest is ready
};

}  // namespace traps
