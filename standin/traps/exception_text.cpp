#include "standin/traps/exception_text.h"

#include <cstdint>

#include "standin/log/value_text.h"

namespace traps {

std::string exception_text(const EXCEPTION_RECORD& record) {
    switch (record.ExceptionCode) {
        case EXCEPTION_ACCESS_VIOLATION:
            if (record.NumberParameters < 2) return "access violation";
            return std::string("access violation ") +
                   (record.ExceptionInformation[0] == 1   ? "writing "
                    : record.ExceptionInformation[0] == 8 ? "executing "
                                                          : "reading ") +
                   standin::hex_text(record.ExceptionInformation[1]);
        case EXCEPTION_ILLEGAL_INSTRUCTION: return "illegal instruction";
        case EXCEPTION_PRIV_INSTRUCTION: return "privileged instruction";
        case EXCEPTION_INT_DIVIDE_BY_ZERO: return "integer division by zero";
        case EXCEPTION_INT_OVERFLOW: return "integer overflow";
        case EXCEPTION_STACK_OVERFLOW: return "stack overflow";
        case EXCEPTION_BREAKPOINT: return "breakpoint";
        case EXCEPTION_DATATYPE_MISALIGNMENT: return "misaligned data";
        case EXCEPTION_IN_PAGE_ERROR: return "in-page error";
        case EXCEPTION_FLT_DIVIDE_BY_ZERO: return "floating-point division by zero";
        case EXCEPTION_FLT_INVALID_OPERATION: return "invalid floating-point operation";
        case EXCEPTION_FLT_OVERFLOW: return "floating-point overflow";
        case EXCEPTION_FLT_STACK_CHECK: return "floating-point stack fault";
        default: return "exception " + standin::hex_text(record.ExceptionCode);
    }
}

std::string code_address_text(const void* address) {
    HMODULE module = nullptr;
    char path[MAX_PATH];
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<const char*>(address), &module) ||
        !GetModuleFileNameA(module, path, sizeof path))
        return standin::hex_text(reinterpret_cast<std::uintptr_t>(address));
    std::string name = path;
    name.erase(0, name.find_last_of("\\/") + 1);
    // The offset as a disassembler lists it, without leading zeros.
    return name + standin::printf_text("+0x%lX", static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(address) -
                                                                          reinterpret_cast<std::uintptr_t>(module)));
}

}  // namespace traps
