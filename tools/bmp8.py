"""Writes 8-bit palettised Windows bitmaps."""

import struct

PIXELS_PER_METRE = 3780  # 96 dpi


def write_bmp(path, pixels, palette):
    """Writes rows of palette indices (top row first) as a bottom-up BMP.

    palette is a list of 256 (r, g, b) tuples.
    """
    height, width = len(pixels), len(pixels[0])
    stride = (width + 3) & ~3
    image = bytearray()
    for row in reversed(pixels):
        image += bytes(row) + bytes(stride - width)
    colour_table = b"".join(struct.pack("<4B", b, g, r, 0)
                            for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(image),
                       PIXELS_PER_METRE, PIXELS_PER_METRE, len(palette), 0)
    offset = 14 + len(info) + len(colour_table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    with open(path, "wb") as out:
        out.write(header + info + colour_table + image)
