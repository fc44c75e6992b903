#include "standin/pictures/index_picture.h"

namespace standin {

void draw_onto(index_picture& canvas, const index_picture& image, int x, int y,
               bool zero_transparent) {
    for (int row = 0; row < image.height; ++row) {
        const int to_y = y + row;
        if (to_y < 0 || to_y >= canvas.height) continue;
        for (int column = 0; column < image.width; ++column) {
            const int to_x = x + column;
            if (to_x < 0 || to_x >= canvas.width) continue;
            const uint8_t index = image.at(column, row);
            if (zero_transparent && index == 0) continue;
            canvas.pixels[static_cast<size_t>(to_y) * canvas.width + to_x] = index;
        }
    }
}

}  // namespace standin
