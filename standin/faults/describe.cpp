#include "standin/faults/describe.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>

namespace faults {

std::string text(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0) std::vsnprintf(out.data(), out.size() + 1, format, again);
    va_end(again);
    return out;
}

std::string pointer_text(const void* p) {
    return p ? text("0x%lx", static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(p))) : std::string("null");
}

std::string code_address_text(const void* address) {
    HMODULE module = nullptr;
    char path[MAX_PATH];
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<const char*>(address), &module) ||
        !GetModuleFileNameA(module, path, sizeof path))
        return pointer_text(address);
    std::string name = path;
    name.erase(0, name.find_last_of("\\/") + 1);
    return name + text("+0x%lX", static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(address) -
                                                             reinterpret_cast<std::uintptr_t>(module)));
}

std::string exception_text(const EXCEPTION_RECORD& record) {
    switch (record.ExceptionCode) {
        case EXCEPTION_ACCESS_VIOLATION:
            if (record.NumberParameters < 2) return "access violation";
            return text("access violation %s 0x%08lX",
                        record.ExceptionInformation[0] == 1   ? "writing"
                        : record.ExceptionInformation[0] == 8 ? "executing"
                                                              : "reading",
                        static_cast<unsigned long>(record.ExceptionInformation[1]));
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
        default: return text("exception 0x%08lX", static_cast<unsigned long>(record.ExceptionCode));
    }
}

std::optional<std::string> read_string(const char* s) {
    // IsBadStringPtrA probes under an exception handler, as lstrcpyA itself does.
    if (!s || IsBadStringPtrA(s, UINT_MAX)) return std::nullopt;
    return std::string(s);
}

}  // namespace faults
