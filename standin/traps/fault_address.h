// The address that a faulting memory access touched.
//
// Windows puts it in an access violation's exception record. Wine running
// under qemu's user-mode emulator cannot tell a page fault from any other
// trap (it logs "Got unexpected trap -1") and raises an illegal instruction
// with no address instead; there the address is worked out from the
// faulting instruction's memory operand and the thread's registers. Only the
// instructions a compiler uses to load or store memory are decoded.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>

namespace traps {

struct memory_access {
    uintptr_t address;       // where the faulting operand starts
    bool write;              // false: a read, or not known
};

// Nullopt for an exception that is no memory access this can place.
std::optional<memory_access> faulting_access(const EXCEPTION_POINTERS& info);

}  // namespace traps
