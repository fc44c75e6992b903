// Length of a text that may lack its terminator within `limit` bytes.
#pragma once
#include <cstdint>

inline uint32_t bounded_length(const char* text, uint32_t limit) {
    uint32_t length = 0;
    while (length < limit && text[length]) ++length;
    return length;
}
