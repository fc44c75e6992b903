"""Geometry and colours shared by the plate and the knob frames.

The geometry is the gauge's own, read from gauge/layout.json: the plate's
size and bitmap id; where the host puts the knob frame on the plate, its
size and the bitmap ids of its frames (frame k at first_bitmap + k *
bitmap_step); the click box of each detent as [x, y, width, height]. The
gauge compiles against the same numbers (make_layout_header.py).
"""

import json
import math
import os

LAYOUT_FILE = os.path.join(os.path.dirname(__file__), os.pardir, "gauge",
                           "layout.json")

with open(LAYOUT_FILE, encoding="utf-8") as layout_file:
    LAYOUT = json.load(layout_file)

PLATE_SIZE = (LAYOUT["plate"]["width"], LAYOUT["plate"]["height"])
KNOB_SIZE = LAYOUT["knob"]["size"]
# The knob axis in plate pixels: the centre of the knob frame.
CENTRE = (LAYOUT["knob"]["x"] + KNOB_SIZE / 2, LAYOUT["knob"]["y"] + KNOB_SIZE / 2)

# Click boxes of the detents (x, y, width, height); the digit for each detent
# is drawn centred in its box and the pointer aims at the box centre.
MARK_BOXES = [tuple(box) for box in LAYOUT["hot_spots"]]

BLACK = 0  # transparent when the host draws the knob over the plate
WHITE = 120  # indices BLACK..WHITE form the grey ramp the art is drawn in


def mark_direction(k):
    """Unit vector (screen axes, y down) from the knob axis to mark k."""
    x, y, w, h = MARK_BOXES[k]
    dx, dy = x + w / 2 - CENTRE[0], y + h / 2 - CENTRE[1]
    length = math.hypot(dx, dy)
    return dx / length, dy / length


def palette():
    """256 (r, g, b): the ramp, blue-grey in the darks, then marker colours."""
    colours = []
    for i in range(WHITE + 1):
        t = i / WHITE
        tint = 6.75 * t * (1 - t) ** 2  # peaks at a third of the way up
        level = 255 * t
        colours.append(tuple(min(255, max(0, round(level + shift * tint)))
                             for shift in (-16, -6, 14)))
    colours += [(255, 255, 0), (150, 200, 255), (0, 200, 0)]
    colours += [(255, 255, 255)] * (256 - len(colours))
    return colours
