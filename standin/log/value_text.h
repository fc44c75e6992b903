// How numbers and addresses appear in the readable log.
#pragma once
#include <cstdint>
#include <string>

namespace standin {

// Shortest text that reads back as the same double: "1.0", "-2.5", "-0.0", "nan".
std::string number_text(double value);

// "0x000100D6": eight hex digits, for event codes, flags and addresses.
std::string hex_text(uintptr_t value);

// "null", or the address as hex_text writes it.
std::string pointer_text(const void* p);

// printf into a std::string.
std::string printf_text(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace standin
