#include "standin/faults/faulting_access.h"

#include <cstring>

namespace faults {
namespace {

// A ModRM byte's register field, in the instruction set's numbering.
DWORD register_value(const CONTEXT& c, unsigned number) {
    const DWORD registers[] = {c.Eax, c.Ecx, c.Edx, c.Ebx, c.Esp, c.Ebp, c.Esi, c.Edi};
    return registers[number & 7];
}

bool is_prefix(std::uint8_t b) {
    switch (b) {
        case 0x26: case 0x2E: case 0x36: case 0x3E: case 0x64: case 0x65:
        case 0x66: case 0x67: case 0xF0: case 0xF2: case 0xF3:
            return true;
        default:
            return false;
    }
}

bool one_byte_has_modrm(std::uint8_t op) {
    if (op < 0x40) return (op & 7) < 4;
    switch (op) {
        case 0x62: case 0x63: case 0x69: case 0x6B:
        case 0xC0: case 0xC1: case 0xC4: case 0xC5: case 0xC6: case 0xC7:
        case 0xD0: case 0xD1: case 0xD2: case 0xD3: case 0xF6: case 0xF7: case 0xFE: case 0xFF:
            return true;
        default:
            return (op >= 0x80 && op <= 0x8F) || (op >= 0xD8 && op <= 0xDF);
    }
}

bool two_byte_has_modrm(std::uint8_t op) {
    if ((op >= 0x80 && op <= 0x8F) || (op >= 0xC8 && op <= 0xCF) || (op >= 0x30 && op <= 0x37) ||
        (op >= 0x05 && op <= 0x0B))
        return false;
    switch (op) {
        case 0x77: case 0xA0: case 0xA1: case 0xA2: case 0xA8: case 0xA9:
            return false;
        default:
            return true;
    }
}

// Whether the instruction writes its ModRM memory operand (a read-modify-write counts as a write).
bool writes_modrm_operand(bool two_byte, std::uint8_t op, unsigned reg) {
    if (two_byte) return op == 0x11 || op == 0x29 || op == 0x7F || op == 0xAB || op == 0xB3 || op == 0xBB ||
                         op == 0xC0 || op == 0xC1 || op == 0xB0 || op == 0xB1 || (op >= 0x90 && op <= 0x9F);
    if (op < 0x40) return (op & 2) == 0 && (op & 0x38) != 0x38;  // the r/m-destination forms, cmp excepted
    switch (op) {
        case 0x80: case 0x81: case 0x83: return reg != 7;
        case 0x86: case 0x87: case 0x88: case 0x89: case 0x8C: case 0x8F:
        case 0xC0: case 0xC1: case 0xC6: case 0xC7: case 0xD0: case 0xD1: case 0xD2: case 0xD3:
            return true;
        case 0xF6: case 0xF7: return reg == 2 || reg == 3;
        case 0xFE: case 0xFF: return reg <= 1;
        default: return false;
    }
}

}  // namespace

std::vector<memory_operand> memory_operands(const CONTEXT& context) {
    const auto* code = reinterpret_cast<const std::uint8_t*>(static_cast<std::uintptr_t>(context.Eip));
    if (IsBadReadPtr(code, 16)) return {};
    std::size_t at = 0;
    bool address_16 = false;
    while (at < 15 && is_prefix(code[at])) address_16 |= code[at++] == 0x67;
    if (address_16) return {};
    std::uint8_t op = code[at++];
    // String instructions: the source at esi, the destination at edi.
    switch (op) {
        case 0xA4: case 0xA5: return {{context.Esi, false}, {context.Edi, true}};
        case 0xA6: case 0xA7: return {{context.Esi, false}, {context.Edi, false}};
        case 0xAA: case 0xAB: return {{context.Edi, true}};
        case 0xAC: case 0xAD: return {{context.Esi, false}};
        case 0xAE: case 0xAF: return {{context.Edi, false}};
        case 0xA0: case 0xA1: case 0xA2: case 0xA3: {
            DWORD offset;
            std::memcpy(&offset, code + at, sizeof offset);
            return {{offset, op >= 0xA2}};
        }
        default: break;
    }
    const bool two_byte = op == 0x0F;
    if (two_byte) {
        op = code[at++];
        if (op == 0x38 || op == 0x3A) op = code[at++];  // three-byte opcodes all have a ModRM byte
        else if (!two_byte_has_modrm(op)) return {};
    } else if (!one_byte_has_modrm(op)) {
        return {};
    }
    const std::uint8_t modrm = code[at++];
    const unsigned mod = modrm >> 6, reg = (modrm >> 3) & 7, rm = modrm & 7;
    if (mod == 3) return {};
    DWORD address = 0;
    bool bare_displacement = mod == 0 && rm == 5;
    if (rm == 4) {
        const std::uint8_t sib = code[at++];
        const unsigned scale = sib >> 6, index = (sib >> 3) & 7, base = sib & 7;
        if (index != 4) address += register_value(context, index) << scale;
        if (base == 5 && mod == 0) bare_displacement = true;
        else address += register_value(context, base);
    } else if (!bare_displacement) {
        address += register_value(context, rm);
    }
    if (mod == 1) {
        address += static_cast<DWORD>(static_cast<std::int8_t>(code[at]));
    } else if (mod == 2 || bare_displacement) {
        DWORD displacement;
        std::memcpy(&displacement, code + at, sizeof displacement);
        address += displacement;
    }
    return {{address, writes_modrm_operand(two_byte, op, reg)}};
}

}  // namespace faults
