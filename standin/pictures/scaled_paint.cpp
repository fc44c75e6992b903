#include "standin/pictures/scaled_paint.h"

#include <cstring>
#include <vector>

namespace standin {

bool paint_scaled(HDC dc, const index_picture& picture, int scale) {
    if (picture.width == 0 || picture.height == 0) return true;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = picture.width;
    info.header.biHeight = -picture.height;   // top row first, as the picture keeps it
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 256;
    for (size_t i = 0; i < 256; ++i)
        info.colours[i] = {picture.palette[i].blue, picture.palette[i].green, picture.palette[i].red, 0};
    const size_t stride = (static_cast<size_t>(picture.width) + 3) & ~size_t{3};
    std::vector<uint8_t> rows(stride * picture.height);
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(&rows[stride * y], &picture.pixels[static_cast<size_t>(y) * picture.width], picture.width);
    SetStretchBltMode(dc, COLORONCOLOR);
    return StretchDIBits(dc, 0, 0, picture.width * scale, picture.height * scale, 0, 0, picture.width,
                         picture.height, rows.data(), reinterpret_cast<const BITMAPINFO*>(&info),
                         DIB_RGB_COLORS, SRCCOPY) != 0;
}

}  // namespace standin
