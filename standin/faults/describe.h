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

// "panel_dimmer.gau+0x1585": an address in code as its module's file name
// and the offset from the module's base; "0x1234abcd" outside any module.
std::string code_address_text(const void* address);

// "illegal instruction", "access violation writing 0x00000010", ...
std::string exception_text(const EXCEPTION_RECORD& record);

// The string a pointer points at, or nullopt when it is null or unreadable.
std::optional<std::string> read_string(const char* s);

}  // namespace faults
