#include "standin/pictures/dib_reader.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace standin {

namespace {
constexpr std::size_t info_header_size = 40;
constexpr std::size_t palette_bytes = 256 * 4;
}  // namespace

std::optional<index_picture> parse_dib(const uint8_t* data, std::size_t size, std::string& error) {
    BITMAPINFOHEADER header;
    static_assert(sizeof header == info_header_size);
    if (size < info_header_size + palette_bytes) {
        error = "bitmap of " + std::to_string(size) + " bytes is too short";
        return std::nullopt;
    }
    std::memcpy(&header, data, sizeof header);
    if (header.biSize != info_header_size) {
        error = "info header of " + std::to_string(header.biSize) + " bytes, not 40";
        return std::nullopt;
    }
    if (header.biBitCount != 8 || header.biPlanes != 1 || header.biCompression != BI_RGB) {
        error = "bitmap is not uncompressed 8 bits per pixel";
        return std::nullopt;
    }
    if (header.biClrUsed != 0 && header.biClrUsed != 256) {
        error = "palette of " + std::to_string(header.biClrUsed) + " colours, not 256";
        return std::nullopt;
    }
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biWidth > 4096 ||
        std::abs(header.biHeight) > 4096) {
        error = "bitmap size " + std::to_string(header.biWidth) + "x" +
                std::to_string(header.biHeight) + " out of range";
        return std::nullopt;
    }
    index_picture picture;
    picture.width = header.biWidth;
    picture.height = std::abs(header.biHeight);
    const std::size_t stride = (static_cast<std::size_t>(picture.width) + 3) & ~std::size_t{3};
    const std::size_t pixels_at = info_header_size + palette_bytes;
    if (size < pixels_at + stride * picture.height) {
        error = "bitmap of " + std::to_string(size) + " bytes is shorter than its pixels";
        return std::nullopt;
    }
    for (std::size_t i = 0; i < 256; ++i) {
        const uint8_t* quad = data + info_header_size + 4 * i;   // blue, green, red, reserved
        picture.palette[i] = {quad[2], quad[1], quad[0]};
    }
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
    const bool bottom_up = header.biHeight > 0;
    for (int row = 0; row < picture.height; ++row) {
        const int stored_row = bottom_up ? picture.height - 1 - row : row;
        std::memcpy(&picture.pixels[static_cast<std::size_t>(row) * picture.width],
                    data + pixels_at + stride * stored_row, picture.width);
    }
    return picture;
}

}  // namespace standin
