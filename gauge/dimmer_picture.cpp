#include "gauge/dimmer_picture.h"

#include "gauge/gauge_header.h"
#include "gauge/knob_state.h"

namespace {
constexpr uint32_t plate_bitmap = 0x1000;
constexpr uint32_t first_knob_bitmap = 0x2000;  // frame k is first_knob_bitmap + 3k
constexpr uint32_t element_flags = 0x00004003;

element_header* knob_elements[2] = {&knob_icon.header, nullptr};
}  // namespace

constinit element_header* element_list[2] = {&background_image.header, nullptr};

constinit static_image_record background_image = {
    .header = {
        .kind = element_static_image,
        .resource_id = plate_bitmap,
        .x = 0,
        .y = 0,
        .host_words_16 = {},
        .gauge = &gauge_header,
        .host_word_36 = 0,
        .next_elements = knob_elements,
        .host_word_44 = 0,
        .flags = element_flags,
        .host_words_52 = {},
    },
    .image = nullptr,
    .host_words_64 = {},
};

constinit icon_record knob_icon = {
    .header = {
        .kind = element_icon,
        .resource_id = first_knob_bitmap,
        .x = 13,
        .y = 8,
        .host_words_16 = {},
        .gauge = &gauge_header,
        .host_word_36 = 0,
        .next_elements = nullptr,
        .host_word_44 = 0,
        .flags = element_flags,
        .host_words_52 = {},
    },
    .source = {},
    .value = knob_value,
    .host_words_92 = {},
    .frame_count = detent_count,
    .host_words_116 = {},
};

double __stdcall knob_value(icon_record*) { return knob_state.knob_position; }
