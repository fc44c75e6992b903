// One record of a gauge's mouse table: a parent area, a hot spot, or a marker.
#pragma once
#include <cstddef>
#include <cstdint>

enum mouse_record_kind : uint32_t {
    mouse_end_of_table = 0,
    mouse_parent_area = 1,
    mouse_hot_spot = 2,
    mouse_end_of_parent = 3,
};

using mouse_handler = uint32_t(__stdcall*)(void* point, uint32_t flags);

#pragma pack(push, 4)
struct mouse_record {
    uint32_t kind;
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
    int32_t cursor;
    uint32_t help_id;
    uint32_t event_mask;
    uint32_t event_id;
    mouse_handler handler;
    uint32_t handler_data;
};
#pragma pack(pop)

static_assert(sizeof(mouse_record) == 44);
static_assert(offsetof(mouse_record, kind) == 0);
static_assert(offsetof(mouse_record, x) == 4);
static_assert(offsetof(mouse_record, y) == 8);
static_assert(offsetof(mouse_record, width) == 12);
static_assert(offsetof(mouse_record, height) == 16);
static_assert(offsetof(mouse_record, cursor) == 20);
static_assert(offsetof(mouse_record, help_id) == 24);
static_assert(offsetof(mouse_record, event_mask) == 28);
static_assert(offsetof(mouse_record, event_id) == 32);
static_assert(offsetof(mouse_record, handler) == 36);
static_assert(offsetof(mouse_record, handler_data) == 40);

// Host codes the module hands over as plain numbers.
constexpr int32_t cursor_none = -1;
constexpr int32_t cursor_hand = 5;
constexpr uint32_t mouse_left_single = 0x20000000;
