// The host's variable record: a host variable (by number) or a variable
// another gauge published by name, filled in by the host's variable services.
#pragma once
#include <cstddef>
#include <cstdint>

#pragma pack(push, 4)
struct module_variable {
    uint32_t number;        // host variable number; 0 for a by-name variable
    void* storage;          // host-filled address of the variable's storage
    uint32_t word;          // host's own
    double value;           // current value, host-filled
    uint8_t further[8];     // host's own
};
#pragma pack(pop)

static_assert(sizeof(module_variable) == 28);
static_assert(offsetof(module_variable, number) == 0);
static_assert(offsetof(module_variable, storage) == 4);
static_assert(offsetof(module_variable, word) == 8);
static_assert(offsetof(module_variable, value) == 12);
static_assert(offsetof(module_variable, further) == 20);
