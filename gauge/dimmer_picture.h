// The gauge's two picture elements: the plate and, on it, the knob icon
// whose frame follows the knob's detent.
#pragma once
#include "host/element_records.h"

extern element_header* element_list[2];
extern static_image_record background_image;
extern icon_record knob_icon;

double __stdcall knob_value(icon_record* icon);

// The plate's size in pixels, as its bitmap gives it.
inline constexpr pixel_size plate_size = {60, 42};
