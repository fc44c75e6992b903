// The module links no C library, yet the compiler may emit calls to these
// for block copies and fills; they must exist in any freestanding program.
#include <cstddef>

extern "C" {

void* memcpy(void* destination, const void* source, size_t count) {
    auto* to = static_cast<unsigned char*>(destination);
    const auto* from = static_cast<const unsigned char*>(source);
    while (count--) *to++ = *from++;
    return destination;
}

void* memset(void* destination, int value, size_t count) {
    auto* to = static_cast<unsigned char*>(destination);
    while (count--) *to++ = static_cast<unsigned char>(value);
    return destination;
}

}
