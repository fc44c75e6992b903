// Reads a bitmap resource's bytes out of a loaded module, as the host does
// for every picture element.
#pragma once
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standin {

// The raw bytes of RT_BITMAP resource id in module, or nullopt with the reason.
std::optional<std::vector<uint8_t>> read_bitmap_resource(HMODULE module, uint32_t id,
                                                         std::string& error);

}  // namespace standin
