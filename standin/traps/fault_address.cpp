#include "standin/traps/fault_address.h"

#include <array>
#include <cstddef>

namespace traps {

namespace {

// Copies the instruction's bytes without faulting where the code ends early.
std::size_t instruction_bytes(uintptr_t at, std::array<uint8_t, 16>& bytes) {
    for (std::size_t size = bytes.size(); size > 0; --size) {
        SIZE_T read = 0;
        if (ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<const void*>(at), bytes.data(), size, &read) &&
            read == size)
            return size;
    }
    return 0;
}

uint32_t register_value(const CONTEXT& context, unsigned number) {
    const DWORD values[8] = {context.Eax, context.Ecx, context.Edx, context.Ebx,
                             context.Esp, context.Ebp, context.Esi, context.Edi};
    return values[number & 7];
}

// What a one-byte opcode does with its ModRM memory operand; nullopt: it has none.
std::optional<bool> one_byte_writes(uint8_t op) {
    if (op < 0x40 && (op & 7) < 4) {          // add, or, adc, sbb, and, sub, xor, cmp
        const bool compare = (op & 0xF8) == 0x38;
        return !compare && (op & 2) == 0;     // direction bit clear: the memory operand is the destination
    }
    switch (op) {
    case 0x69: case 0x6B: case 0x8A: case 0x8B: case 0x84: case 0x85:
        return false;
    case 0x86: case 0x87: case 0x88: case 0x89: case 0x8F: case 0xC6: case 0xC7:
    case 0x80: case 0x81: case 0x83: case 0xC0: case 0xC1: case 0xD0: case 0xD1: case 0xD2: case 0xD3:
    case 0xFE:
        return true;
    case 0xF6: case 0xF7: case 0xFF: case 0xD8: case 0xD9: case 0xDA: case 0xDB:
    case 0xDC: case 0xDD: case 0xDE: case 0xDF:
        return false;                         // mostly reads; a store among them is placed all the same
    default:
        break;
    }
    return std::nullopt;
}

std::optional<bool> two_byte_writes(uint8_t op) {
    switch (op) {
    case 0xB6: case 0xB7: case 0xBE: case 0xBF: case 0xAF: case 0x10: case 0x12: case 0x16:
    case 0x28: case 0x2E: case 0x2F: case 0x6E: case 0x6F: case 0xA3:
        return false;
    case 0x11: case 0x13: case 0x17: case 0x29: case 0x2B: case 0x7E: case 0x7F: case 0xD6:
    case 0xB0: case 0xB1: case 0xC0: case 0xC1: case 0xAB: case 0xB3: case 0xBB:
        return true;
    default:
        break;
    }
    if (op >= 0x40 && op <= 0x4F) return false;   // cmovcc
    if (op >= 0x90 && op <= 0x9F) return true;    // setcc
    return std::nullopt;
}

// The effective address of a ModRM memory operand at `modrm`; nullopt for a register operand.
std::optional<uintptr_t> operand_address(const uint8_t* modrm, std::size_t left, const CONTEXT& context) {
    if (left < 1) return std::nullopt;
    const unsigned mod = modrm[0] >> 6, rm = modrm[0] & 7;
    if (mod == 3) return std::nullopt;
    std::size_t at = 1;
    uint32_t address = 0;
    bool base_is_disp32 = false;
    if (rm == 4) {
        if (left < 2) return std::nullopt;
        const uint8_t sib = modrm[1];
        at = 2;
        const unsigned scale = sib >> 6, index = (sib >> 3) & 7, base = sib & 7;
        if (index != 4) address += register_value(context, index) << scale;
        if (base == 5 && mod == 0) base_is_disp32 = true;
        else address += register_value(context, base);
    } else if (rm == 5 && mod == 0) {
        base_is_disp32 = true;
    } else {
        address += register_value(context, rm);
    }
    const std::size_t disp_size = base_is_disp32 || mod == 2 ? 4 : mod == 1 ? 1 : 0;
    if (left < at + disp_size) return std::nullopt;
    if (disp_size == 1) address += static_cast<uint32_t>(static_cast<int8_t>(modrm[at]));
    if (disp_size == 4) address += modrm[at] | modrm[at + 1] << 8 | modrm[at + 2] << 16 | uint32_t{modrm[at + 3]} << 24;
    return address;
}

std::optional<memory_access> decoded_access(const CONTEXT& context) {
    std::array<uint8_t, 16> bytes{};
    const std::size_t size = instruction_bytes(context.Eip, bytes);
    std::size_t at = 0;
    // Operand-size, repeat, lock and the flat segments' prefixes; fs, gs and
    // 16-bit addressing are not placed.
    while (at < size && (bytes[at] == 0x66 || bytes[at] == 0xF2 || bytes[at] == 0xF3 || bytes[at] == 0xF0 ||
                         bytes[at] == 0x2E || bytes[at] == 0x36 || bytes[at] == 0x3E || bytes[at] == 0x26))
        ++at;
    if (at >= size) return std::nullopt;
    const uint8_t op = bytes[at];
    // String instructions: the source at esi, the destination at edi.
    if (op == 0xAA || op == 0xAB) return memory_access{context.Edi, true};
    if (op == 0xAC || op == 0xAD) return memory_access{context.Esi, false};
    if (op == 0xA4 || op == 0xA5) return memory_access{context.Esi, false};   // the read comes first
    if (op == 0xAE || op == 0xAF) return memory_access{context.Edi, false};
    if (op >= 0xA0 && op <= 0xA3 && size >= at + 5) {   // mov between eax and an absolute address
        const uint32_t address = bytes[at + 1] | bytes[at + 2] << 8 | bytes[at + 3] << 16 | uint32_t{bytes[at + 4]} << 24;
        return memory_access{address, op >= 0xA2};
    }
    std::optional<bool> writes;
    std::size_t modrm = at + 1;
    if (op == 0x0F && at + 1 < size) {
        writes = two_byte_writes(bytes[at + 1]);
        modrm = at + 2;
    } else {
        writes = one_byte_writes(op);
    }
    if (!writes || modrm >= size) return std::nullopt;
    const std::optional<uintptr_t> address = operand_address(&bytes[modrm], size - modrm, context);
    if (!address) return std::nullopt;
    return memory_access{*address, *writes};
}

}  // namespace

std::optional<memory_access> faulting_access(const EXCEPTION_POINTERS& info) {
    const EXCEPTION_RECORD& record = *info.ExceptionRecord;
    // An access violation's first parameter is 1 for a write, its second the address.
    if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2)
        return memory_access{record.ExceptionInformation[1], record.ExceptionInformation[0] == 1};
    if (record.ExceptionCode == EXCEPTION_ILLEGAL_INSTRUCTION && record.NumberParameters == 0 && info.ContextRecord)
        return decoded_access(*info.ContextRecord);
    return std::nullopt;
}

}  // namespace traps
