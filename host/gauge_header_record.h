// The record by which the host knows one gauge: title, elements, lifecycle.
#pragma once
#include <cstddef>
#include <cstdint>

#include "host/element_records.h"

constexpr uint32_t gauge_header_version = 610;

#pragma pack(push, 4)
struct gauge_header_record {
    uint32_t version;
    const char* title;
    element_header** elements;        // null-terminated list
    void(__stdcall* query)();
    void(__stdcall* install)(uint32_t resource_file);
    void(__stdcall* initialize)();
    void(__stdcall* update)();
    void(__stdcall* generate)(uint32_t phase);
    void(__stdcall* draw)();
    void(__stdcall* kill)();
    uint32_t host_word_40;
    uint32_t default_size;
    uint32_t host_words_48[10];
};
#pragma pack(pop)

static_assert(sizeof(gauge_header_record) == 88);
static_assert(offsetof(gauge_header_record, version) == 0);
static_assert(offsetof(gauge_header_record, title) == 4);
static_assert(offsetof(gauge_header_record, elements) == 8);
static_assert(offsetof(gauge_header_record, query) == 12);
static_assert(offsetof(gauge_header_record, install) == 16);
static_assert(offsetof(gauge_header_record, initialize) == 20);
static_assert(offsetof(gauge_header_record, update) == 24);
static_assert(offsetof(gauge_header_record, generate) == 28);
static_assert(offsetof(gauge_header_record, draw) == 32);
static_assert(offsetof(gauge_header_record, kill) == 36);
static_assert(offsetof(gauge_header_record, host_word_40) == 40);
static_assert(offsetof(gauge_header_record, default_size) == 44);
static_assert(offsetof(gauge_header_record, host_words_48) == 48);
