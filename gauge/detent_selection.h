// What a click on one of the seven marks does.
#pragma once
#include <cstdint>

#include "host/mouse_record.h"

constexpr uint32_t event_if_lit = 0x000100D6;
constexpr uint32_t event_if_unlit = 0x00010208;

// A parent area over the plate holding a hot spot for each detent.
extern mouse_record detent_mouse_table[];
