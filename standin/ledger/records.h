// What the ledger writes down about the module's calls to memory, registry,
// mmio, string and window functions. Every record carries the call's place in
// one sequence shared by all hooked calls, so tests can order calls of
// different families, and whether its failure was injected.
#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "standin/ledger/api.h"

namespace faults {

struct call_mark {
    std::uint64_t seq = 0;   // 1-based, across every hooked call
    bool injected = false;   // the ledger failed this call; the real API wasn't called
};

// What the module holds now. All zero after the module's kill means it leaked
// nothing.
struct held_resources {
    std::size_t blocks = 0;   // GlobalAlloc'd and not freed
    std::size_t bytes = 0;    // their requested sizes
    std::size_t locks = 0;    // GlobalLock counts outstanding on live blocks
    std::size_t keys = 0;     // registry keys opened and not closed
    std::size_t files = 0;    // mmio handles open
    std::size_t devices = 0;  // DirectSound devices with references
    std::size_t buffers = 0;  // DirectSound buffers with references
    bool operator==(const held_resources&) const = default;
    bool none() const { return *this == held_resources{}; }
};
// "{blocks 1, bytes 260, locks 0, keys 0, files 0, devices 1, buffers 1}"
std::string held_text(const held_resources& held);
std::ostream& operator<<(std::ostream& out, const held_resources& held);

struct global_alloc_call : call_mark {
    UINT flags = 0;
    SIZE_T bytes = 0;
    HGLOBAL result = nullptr;
};

struct live_block {
    UINT flags = 0;
    SIZE_T bytes = 0;
    unsigned locks = 0;
};

struct memory_log {
    std::vector<global_alloc_call> allocs;
    std::map<HGLOBAL, live_block> live;
};

struct reg_open_call : call_mark {
    HKEY root = nullptr;
    std::optional<std::string> subkey;  // nullopt: null pointer passed
    DWORD options = 0;
    REGSAM access = 0;
    LSTATUS result = 0;
};

struct reg_query_call : call_mark {
    HKEY key = nullptr;
    std::optional<std::string> value;    // nullopt: null name (the default value)
    bool data_given = false;             // false: a size query
    std::optional<DWORD> size_in;        // *lpcbData on entry; nullopt: no size pointer
    LSTATUS result = 0;
};

struct registry_log {
    std::vector<reg_open_call> opens;
    std::vector<reg_query_call> queries;
    std::set<HKEY> open_keys;
};

struct mmio_open_call : call_mark {
    std::optional<std::string> file;  // nullopt: null name
    DWORD flags = 0;
    bool info_given = false;
    HMMIO result = nullptr;
};

struct mmio_descend_call : call_mark {
    HMMIO file = nullptr;
    UINT flags = 0;                   // MMIO_FINDCHUNK, MMIO_FINDRIFF, MMIO_FINDLIST or 0
    FOURCC searched = 0;              // ckid for FINDCHUNK, fccType for FINDRIFF/FINDLIST
    bool parent_given = false;
    MMRESULT result = 0;
};

struct mmio_read_call : call_mark {
    HMMIO file = nullptr;
    LONG requested = 0;
    LONG result = 0;
};

struct mmio_log {
    std::vector<mmio_open_call> opens;
    std::vector<mmio_descend_call> descends;
    std::vector<mmio_read_call> reads;
    std::set<HMMIO> open_files;
};

// lstrcpyA and lstrcatA: the strings as they were, to see the paths built.
struct string_call : call_mark {
    api which = api::lstrcpyA;
    std::optional<std::string> source;       // nullopt: null or unreadable
    std::optional<std::string> result;       // destination after a real call
};

struct find_window_call : call_mark {
    std::optional<std::string> class_name;  // nullopt: null, or an atom
    std::optional<std::string> title;
    HWND result = nullptr;
};

}  // namespace faults
