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

std::optional<std::string> read_string(const char* s) {
    // IsBadStringPtrA probes under an exception handler, as lstrcpyA itself does.
    if (!s || IsBadStringPtrA(s, UINT_MAX)) return std::nullopt;
    return std::string(s);
}

}  // namespace faults
