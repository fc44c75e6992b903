// Writes composed pictures as PNG files, each pixel enlarged scale times.
#pragma once
#include <string>
#include <vector>

#include "standin/pictures/index_picture.h"

namespace standin {

// One picture. Throws std::runtime_error when the file can't be written.
void write_png(const index_picture& picture, int scale, const std::string& path);

// Pictures side by side, gap pixels apart (in output pixels).
void write_png_row(const std::vector<index_picture>& pictures, int scale, int gap,
                   const std::string& path);

// Rows of pictures, one below the other, gap pixels apart both ways.
void write_png_grid(const std::vector<std::vector<index_picture>>& rows, int scale, int gap,
                    const std::string& path);

}  // namespace standin
