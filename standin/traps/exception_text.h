// The words for an exception and for an address in code, in crash lines.
#pragma once
#include <windows.h>

#include <string>

namespace traps {

// "illegal instruction", "access violation writing 0x00000010", ...
std::string exception_text(const EXCEPTION_RECORD& record);

// "panel_dimmer.gau+0x1585": an address in code as its module's file name
// and the offset from the module's base; "0x1234ABCD" outside any module.
std::string code_address_text(const void* address);

}  // namespace traps
