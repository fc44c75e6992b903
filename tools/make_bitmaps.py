#!/usr/bin/env python3
"""Writes the dimmer gauge's bitmaps.

Usage: make_bitmaps.py OUTPUT_DIR
Writes plate.bmp (60x42) and knob0.bmp .. knob6.bmp (33x33), 8-bit BMPs
sharing one palette. Frame k's pointer aims at detent mark k.
"""

import os
import sys

from bmp8 import write_bmp
from gauge_layout import MARK_BOXES, palette
from knob_art import draw_knob
from plate_art import draw_plate


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_bitmaps.py OUTPUT_DIR")
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    colours = palette()
    write_bmp(os.path.join(out_dir, "plate.bmp"), draw_plate(), colours)
    for k in range(len(MARK_BOXES)):
        write_bmp(os.path.join(out_dir, f"knob{k}.bmp"), draw_knob(k), colours)


if __name__ == "__main__":
    main()
