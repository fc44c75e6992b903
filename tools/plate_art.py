"""Draws the scale plate: an arc with a tick and a digit at each detent."""

import math

from gauge_layout import BLACK, CENTRE, MARK_BOXES, PLATE_SIZE, WHITE, \
    mark_direction

# Between the knob (radius 13.2) and the digits; digit 0 sits closest.
ARC_RADIUS = 15.0
TICK_END_RADIUS = 17.0
ARC_STEPS = 400

DIGITS = {
    "0": [".#.", "#.#", "#.#", "#.#", ".#."],
    "1": [".#.", "##.", ".#.", ".#.", "###"],
    "2": ["##.", "..#", ".#.", "#..", "###"],
    "3": ["###", "..#", ".##", "..#", "###"],
    "4": ["#.#", "#.#", "###", "..#", "..#"],
    "5": ["###", "#..", "##.", "..#", "##."],
    "6": [".##", "#..", "###", "#.#", "###"],
}


def draw_plate():
    """Returns the plate as rows of palette indices, top row first."""
    width, height = PLATE_SIZE
    plate = [[BLACK] * width for _ in range(height)]
    draw_arc(plate)
    for k in range(len(MARK_BOXES)):
        draw_tick(plate, k)
        draw_digit(plate, k)
    return plate


def draw_arc(plate):
    """Runs clockwise from mark 0 over the top to the last mark."""
    def clockwise_from_up(dx, dy):
        return math.atan2(dx, -dy)

    start = clockwise_from_up(*mark_direction(0))
    end = clockwise_from_up(*mark_direction(len(MARK_BOXES) - 1))
    for s in range(ARC_STEPS + 1):
        a = start + (end - start) * s / ARC_STEPS
        x = CENTRE[0] + ARC_RADIUS * math.sin(a)
        y = CENTRE[1] - ARC_RADIUS * math.cos(a)
        plate[int(y)][int(x)] = WHITE


def draw_tick(plate, k):
    """Lights the pixels whose centres lie on the outward stub at mark k."""
    dx, dy = mark_direction(k)
    for j, row in enumerate(plate):
        for i in range(len(row)):
            x, y = i + 0.5 - CENTRE[0], j + 0.5 - CENTRE[1]
            along, across = x * dx + y * dy, abs(x * dy - y * dx)
            if ARC_RADIUS <= along <= TICK_END_RADIUS and across <= 0.5:
                row[i] = WHITE


def draw_digit(plate, k):
    glyph = DIGITS[str(k)]
    x, y, w, h = MARK_BOXES[k]
    left = x + (w - len(glyph[0])) // 2
    # With an odd slack the glyph sits on the side away from the knob.
    slack = h - len(glyph)
    below_axis = y + h / 2 > CENTRE[1]
    top = y + ((slack + 1) // 2 if below_axis else slack // 2)
    for row, line in enumerate(glyph):
        for col, cell in enumerate(line):
            if cell == "#":
                plate[top + row][left + col] = WHITE
