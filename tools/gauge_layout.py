"""Geometry and colours shared by the plate and the knob frames."""

import math

PLATE_SIZE = (60, 42)
KNOB_SIZE = 33  # the host puts the frame at plate (13, 8), centred on CENTRE
CENTRE = (29.5, 24.5)  # knob axis in plate pixels

# Click boxes of the seven detents (x, y, width, height); the digit for each
# detent is drawn centred in its box and the pointer aims at the box centre.
MARK_BOXES = [
    (8, 33, 11, 6), (3, 21, 11, 6), (7, 8, 11, 6), (24, 1, 11, 6),
    (44, 9, 11, 6), (44, 21, 11, 6), (43, 32, 11, 6),
]

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
