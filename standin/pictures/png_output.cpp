#include "standin/pictures/png_output.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

namespace standin {

namespace {
constexpr uint8_t gap_shade = 48;   // dark grey between pictures

void paint(std::vector<uint8_t>& rgb, int image_width, const index_picture& picture, int scale,
           int left, int top) {
    for (int y = 0; y < picture.height * scale; ++y) {
        for (int x = 0; x < picture.width * scale; ++x) {
            const palette_entry& colour = picture.palette[picture.at(x / scale, y / scale)];
            uint8_t* pixel = &rgb[(static_cast<size_t>(top + y) * image_width + left + x) * 3];
            pixel[0] = colour.red;
            pixel[1] = colour.green;
            pixel[2] = colour.blue;
        }
    }
}
}  // namespace

void write_png_grid(const std::vector<std::vector<index_picture>>& rows, int scale, int gap,
                    const std::string& path) {
    if (scale < 1 || gap < 0) throw std::runtime_error("PNG scale must be 1 or more, gap 0 or more");
    int cell_width = 0, cell_height = 0;
    size_t columns = 0;
    for (const auto& row : rows) {
        columns = std::max(columns, row.size());
        for (const index_picture& picture : row) {
            cell_width = std::max(cell_width, picture.width * scale);
            cell_height = std::max(cell_height, picture.height * scale);
        }
    }
    if (columns == 0 || cell_width == 0) throw std::runtime_error("no picture to write to " + path);
    const int width = static_cast<int>(columns) * (cell_width + gap) - gap;
    const int height = static_cast<int>(rows.size()) * (cell_height + gap) - gap;
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3, gap_shade);
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            paint(rgb, width, rows[r][c], scale, static_cast<int>(c) * (cell_width + gap),
                  static_cast<int>(r) * (cell_height + gap));
    if (!stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3))
        throw std::runtime_error("cannot write " + path);
}

void write_png_row(const std::vector<index_picture>& pictures, int scale, int gap,
                   const std::string& path) {
    write_png_grid({pictures}, scale, gap, path);
}

void write_png(const index_picture& picture, int scale, const std::string& path) {
    write_png_grid({{picture}}, scale, 0, path);
}

}  // namespace standin
