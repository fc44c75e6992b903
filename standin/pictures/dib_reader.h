// Reads a bitmap resource as the host accepts it: a 40-byte info header,
// 8 bits per pixel, a 256-entry palette, rows padded to four bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "standin/pictures/index_picture.h"

namespace standin {

// The picture, or nullopt with the reason in error.
std::optional<index_picture> parse_dib(const uint8_t* data, std::size_t size, std::string& error);

}  // namespace standin
