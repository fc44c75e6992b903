// Picture elements as the host reads and writes them: a common 60-byte header,
// then the fields of a static image or of a multi-frame icon.
#pragma once
#include <cstddef>
#include <cstdint>

#include "host/module_variable.h"

struct gauge_header_record;
struct icon_record;

enum element_kind : uint32_t {
    element_static_image = 0,
    element_icon = 4,
};

#pragma pack(push, 4)
struct element_header {
    uint32_t kind;
    uint32_t resource_id;
    int32_t x;
    int32_t y;
    uint32_t host_words_16[4];
    gauge_header_record* gauge;
    uint32_t host_word_36;
    element_header** next_elements;   // null-terminated list, or null
    uint32_t host_word_44;
    uint32_t flags;
    uint32_t host_words_52[2];
};

// What the host's element install stores in a static image's image field.
struct pixel_size {
    int32_t width;
    int32_t height;
};

struct host_image_record {
    uint32_t host_word_0;
    pixel_size size;
};

struct static_image_record {
    element_header header;
    host_image_record* image;         // host-filled at element install
    uint32_t host_words_64[4];
};

using icon_value_callback = double(__stdcall*)(icon_record* icon);

struct icon_record {
    element_header header;
    module_variable source;           // unused: no host variable feeds the icon
    icon_value_callback value;
    uint32_t host_words_92[5];
    uint32_t frame_count;
    uint32_t host_words_116[4];
};
#pragma pack(pop)

static_assert(sizeof(element_header) == 60);
static_assert(offsetof(element_header, kind) == 0);
static_assert(offsetof(element_header, resource_id) == 4);
static_assert(offsetof(element_header, x) == 8);
static_assert(offsetof(element_header, y) == 12);
static_assert(offsetof(element_header, host_words_16) == 16);
static_assert(offsetof(element_header, gauge) == 32);
static_assert(offsetof(element_header, host_word_36) == 36);
static_assert(offsetof(element_header, next_elements) == 40);
static_assert(offsetof(element_header, host_word_44) == 44);
static_assert(offsetof(element_header, flags) == 48);
static_assert(offsetof(element_header, host_words_52) == 52);

static_assert(sizeof(pixel_size) == 8);
static_assert(offsetof(host_image_record, size) == 4);

static_assert(sizeof(static_image_record) == 80);
static_assert(offsetof(static_image_record, image) == 60);
static_assert(offsetof(static_image_record, host_words_64) == 64);

static_assert(sizeof(icon_record) == 132);
static_assert(offsetof(icon_record, source) == 60);
static_assert(offsetof(icon_record, source) + offsetof(module_variable, value) == 72);
static_assert(offsetof(icon_record, value) == 88);
static_assert(offsetof(icon_record, host_words_92) == 92);
static_assert(offsetof(icon_record, frame_count) == 112);
static_assert(offsetof(icon_record, host_words_116) == 116);
