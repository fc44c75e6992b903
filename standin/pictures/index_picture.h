// A picture of palette indices with its 256-colour palette: what a bitmap
// resource holds once parsed, and what the host composes the gauge into.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace standin {

struct palette_entry {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

struct index_picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;                 // width*height indices, top row first
    std::array<palette_entry, 256> palette{};

    uint8_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Copies image's indices onto canvas with image's top-left at (x, y), clipped
// to the canvas. With zero_transparent, index 0 leaves the canvas as it was.
void draw_onto(index_picture& canvas, const index_picture& image, int x, int y,
               bool zero_transparent);

}  // namespace standin
