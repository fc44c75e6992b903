// Paints a composed picture onto a device context, each gauge pixel an
// N × N square (nearest neighbour), its top-left pixel at (0, 0).
#pragma once
#include <windows.h>

#include "standin/pictures/index_picture.h"

namespace standin {

// False when the system refused to draw it.
bool paint_scaled(HDC dc, const index_picture& picture, int scale);

}  // namespace standin
