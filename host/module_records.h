// The two records a module exports by name: the linkage the host reads and
// the import table into which the host writes its service table.
#pragma once
#include <cstddef>
#include <cstdint>

#include "host/gauge_header_record.h"

constexpr uint32_t linkage_identifier = 0x13;
constexpr uint32_t service_table_identifier = 0x0F;

#pragma pack(push, 4)
struct linkage_record {
    uint32_t identifier;
    void(__stdcall* module_init)();
    void(__stdcall* module_deinit)();
    uint32_t host_words_12[3];
    gauge_header_record* gauges[2];   // null-terminated gauge table
};

struct import_table_record {
    uint32_t identifier;
    void* const* services;            // host-filled: the host's service table
    uint32_t end_identifier;
    void* end_address;
};
#pragma pack(pop)

static_assert(sizeof(linkage_record) == 32);
static_assert(offsetof(linkage_record, identifier) == 0);
static_assert(offsetof(linkage_record, module_init) == 4);
static_assert(offsetof(linkage_record, module_deinit) == 8);
static_assert(offsetof(linkage_record, host_words_12) == 12);
static_assert(offsetof(linkage_record, gauges) == 24);

static_assert(sizeof(import_table_record) == 16);
static_assert(offsetof(import_table_record, identifier) == 0);
static_assert(offsetof(import_table_record, services) == 4);
static_assert(offsetof(import_table_record, end_identifier) == 8);
static_assert(offsetof(import_table_record, end_address) == 12);
