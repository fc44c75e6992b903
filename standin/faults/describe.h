// Text for the call logs and problem reports.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace faults {

// printf into a std::string.
std::string text(const char* format, ...) __attribute__((format(printf, 1, 2)));

// "null" or "0x1234abcd".
std::string pointer_text(const void* p);

// The string a pointer points at, or nullopt when it is null or unreadable.
std::optional<std::string> read_string(const char* s);

}  // namespace faults
