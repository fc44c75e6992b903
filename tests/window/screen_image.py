#!/usr/bin/env python3
"""Reads a screen dump made by xwd and the stand-in's PNG pictures (standard
library only), and compares or saves part of the screen:

  screen_image.py compare SCREEN.xwd X Y PICTURE.png   exit 0 when the screen's
      rectangle at (X, Y) the size of PICTURE.png holds exactly its pixels
  screen_image.py save SCREEN.xwd X Y WIDTH HEIGHT OUT.png
"""
import struct
import sys
import zlib


def read_xwd(path):
    """(width, height, rows of (r, g, b) tuples) of a true-colour ZPixmap dump."""
    data = open(path, "rb").read()
    fields = struct.unpack(">25I", data[:100])
    header_size, _, pixmap_format, _, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    masks = fields[14:17]
    colours = fields[19]
    size = bits_per_pixel // 8
    if pixmap_format != 2 or size not in (3, 4):
        raise SystemExit(f"{path}: only true-colour ZPixmap dumps are read")
    pixels = header_size + 12 * colours
    order = "little" if byte_order == 0 else "big"
    shifts = [(mask & -mask).bit_length() - 1 for mask in masks]
    rows = []
    for y in range(height):
        line = data[pixels + y * bytes_per_line:pixels + y * bytes_per_line + width * size]
        words = [int.from_bytes(line[x:x + size], order) for x in range(0, width * size, size)]
        rows.append([tuple((w & m) >> s for m, s in zip(masks, shifts)) for w in words])
    return width, height, rows


def unfilter(kind, line, previous, step):
    out = bytearray(line)
    for i in range(len(out)):
        left = out[i - step] if i >= step else 0
        up = previous[i]
        corner = previous[i - step] if i >= step else 0
        if kind == 1:
            out[i] = (out[i] + left) & 255
        elif kind == 2:
            out[i] = (out[i] + up) & 255
        elif kind == 3:
            out[i] = (out[i] + (left + up) // 2) & 255
        elif kind == 4:
            p = left + up - corner
            pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
            out[i] = (out[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
    return out


def read_png(path):
    """(width, height, rows of (r, g, b) tuples) of an 8-bit RGB or RGBA PNG."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit(f"{path}: not a PNG file")
    at, packed = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour_type, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour_type not in (2, 6) or interlace:
                raise SystemExit(f"{path}: only 8-bit RGB(A) PNGs without interlace are read")
            step = 3 if colour_type == 2 else 4
        elif kind == b"IDAT":
            packed += body
        at += 12 + length
    raw = zlib.decompress(packed)
    stride = width * step
    rows, previous = [], bytearray(stride)
    for y in range(height):
        start = y * (stride + 1)
        line = unfilter(raw[start], raw[start + 1:start + 1 + stride], previous, step)
        rows.append([tuple(line[x * step:x * step + 3]) for x in range(width)])
        previous = line
    return width, height, rows


def write_png(path, rows):
    width, height = len(rows[0]), len(rows)
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                  + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def region(screen, x, y, width, height):
    screen_width, screen_height, rows = screen
    if x < 0 or y < 0 or x + width > screen_width or y + height > screen_height:
        raise SystemExit(f"the rectangle {width}x{height} at {x},{y} is off the {screen_width}x{screen_height} screen")
    return [row[x:x + width] for row in rows[y:y + height]]


def main(args):
    if len(args) == 5 and args[0] == "compare":
        width, height, picture = read_png(args[4])
        shown = region(read_xwd(args[1]), int(args[2]), int(args[3]), width, height)
        differing = [(px, py) for py in range(height) for px in range(width) if shown[py][px] != picture[py][px]]
        if differing:
            px, py = differing[0]
            print(f"{len(differing)} of {width * height} pixels differ; first at {px},{py}: "
                  f"screen {shown[py][px]}, picture {picture[py][px]}")
            return 1
        return 0
    if len(args) == 7 and args[0] == "save":
        write_png(args[6], region(read_xwd(args[1]), *map(int, args[2:6])))
        return 0
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
