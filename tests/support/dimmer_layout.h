// Where the seven detent marks sit on the 60x42 plate: the click box over
// each digit, and the knob axis the pointer turns about.
#pragma once
#include <array>

#include "gauge/knob_state.h"

struct mark_box {
    int x;
    int y;
    int width;
    int height;
};

constexpr std::array<mark_box, detent_count> mark_boxes = {{
    {8, 33, 11, 6}, {3, 21, 11, 6}, {7, 8, 11, 6}, {24, 1, 11, 6},
    {44, 9, 11, 6}, {44, 21, 11, 6}, {43, 32, 11, 6},
}};

constexpr double knob_axis_x = 29.5;
constexpr double knob_axis_y = 24.5;
