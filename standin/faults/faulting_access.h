// The memory an x86 instruction touches, read from its bytes and the
// registers, for a fault that arrives without its address.
//
// Under a user-mode emulator (qemu running 32-bit Wine on a kernel that runs
// no 32-bit code), a fault on a no-access page reaches Wine with no trap
// number, and Wine raises it as an illegal instruction with no address. The
// page heap then works out from the faulting instruction what it touched.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

namespace faults {

struct memory_operand {
    std::uintptr_t address = 0;  // the first byte the instruction touches there
    bool write = false;
};

// The instruction's memory operands (a string instruction has two); empty
// when it has none, or is one this reader does not know, such as 16-bit
// addressing.
std::vector<memory_operand> memory_operands(const CONTEXT& context);

}  // namespace faults
