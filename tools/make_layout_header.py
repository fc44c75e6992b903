#!/usr/bin/env python3
"""Writes gauge_layout.h, the gauge's geometry and bitmap ids for C++ and
for the resource script, from gauge/layout.json (through gauge_layout).

Usage: make_layout_header.py OUTPUT_FILE
The resource script sees only the bitmap ids (windres defines RC_INVOKED).
"""

import sys

from gauge_layout import LAYOUT


def knob_frame_ids():
    knob = LAYOUT["knob"]
    return [knob["first_bitmap"] + k * knob["bitmap_step"]
            for k in range(len(LAYOUT["hot_spots"]))]


def header_text():
    plate, knob, boxes = LAYOUT["plate"], LAYOUT["knob"], LAYOUT["hot_spots"]
    lines = [
        "// Generated from gauge/layout.json by tools/make_layout_header.py.",
        "#pragma once",
        "",
        f"#define PLATE_BITMAP_ID {plate['bitmap']}",
    ]
    lines += [f"#define KNOB_FRAME_{k}_BITMAP_ID {frame_id}"
              for k, frame_id in enumerate(knob_frame_ids())]
    lines += [
        "",
        "#ifndef RC_INVOKED",
        "#include <cstdint>",
        "",
        "inline constexpr uint32_t plate_bitmap = PLATE_BITMAP_ID;",
        f"inline constexpr int32_t plate_width = {plate['width']};",
        f"inline constexpr int32_t plate_height = {plate['height']};",
        "",
        "// The host shows frame k of the knob from bitmap first_knob_bitmap + "
        f"{knob['bitmap_step']}k.",
        "inline constexpr uint32_t first_knob_bitmap = KNOB_FRAME_0_BITMAP_ID;",
        f"inline constexpr int32_t knob_x = {knob['x']};",
        f"inline constexpr int32_t knob_y = {knob['y']};",
        "",
        f"inline constexpr uint8_t detent_count = {len(boxes)};",
        "",
        "struct layout_box {",
        "    int32_t x;",
        "    int32_t y;",
        "    int32_t width;",
        "    int32_t height;",
        "};",
        "",
        "// The click box of each detent, over its digit on the plate.",
        "inline constexpr layout_box hot_spot_boxes[detent_count] = {",
    ]
    lines += ["    {" + ", ".join(str(v) for v in box) + "}," for box in boxes]
    lines += ["};", "#endif", ""]
    return "\n".join(lines)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_layout_header.py OUTPUT_FILE")
    text = header_text()
    # Rewritten only when it changes, so that the gauge is not rebuilt for nothing.
    try:
        with open(sys.argv[1], encoding="utf-8") as existing:
            if existing.read() == text:
                return
    except FileNotFoundError:
        pass
    with open(sys.argv[1], "w", encoding="utf-8", newline="\n") as out:
        out.write(text)


if __name__ == "__main__":
    main()
