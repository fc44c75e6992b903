"""Draws a knob frame: a grey knob with a rounded, knurled rim, lit from the
upper left, and a white pointer line aimed at one detent mark."""

import math

from gauge_layout import KNOB_SIZE, WHITE, mark_direction

# Radii in frame pixels from the frame centre.
KNOB_RADIUS = 13.2
RIM_INNER = 10.4
GROOVE_INNER = 9.8
GROOVE_SHADE = 0.1
RIM_ROLL = 1.25  # radians the rim's surface turns away from the viewer
KNURL_RIDGES = 24
KNURL_DEPTH = 0.3  # tangential tilt of each ridge's normal
CAP_BULGE = 0.35  # how far the cap's normal leans out at its edge
CAP_ALBEDO = 0.5
RIM_ALBEDO = 0.5
POINTER_HALF_WIDTH = 0.85
POINTER_OUTLINE = 1.55
POINTER_INNER = 2.2
POINTER_OUTER = 12.9
LIGHT = (-0.55, -0.65, 0.85)  # towards the upper left and the viewer
SUBSAMPLES = 5  # per axis, for anti-aliasing against the black surround


def normalise(v):
    length = math.sqrt(sum(c * c for c in v))
    return tuple(c / length for c in v)


def lit(normal, albedo):
    light = normalise(LIGHT)
    diffuse = max(0.0, sum(n * l for n, l in zip(normal, light)))
    half = normalise((light[0], light[1], light[2] + 1))
    specular = max(0.0, sum(n * h for n, h in zip(normal, half))) ** 24
    return albedo * (0.22 + 0.78 * diffuse) + 0.35 * specular


def rim_normal(x, y, r):
    radial = (x / r, y / r)
    tangent = (-radial[1], radial[0])
    tilt = (r - RIM_INNER) / (KNOB_RADIUS - RIM_INNER) * RIM_ROLL
    ridge = KNURL_DEPTH * math.sin(KNURL_RIDGES * math.atan2(y, x))
    return normalise((radial[0] * math.sin(tilt) + tangent[0] * ridge,
                      radial[1] * math.sin(tilt) + tangent[1] * ridge,
                      math.cos(tilt)))


def knob_shade(x, y, pointer):
    """Brightness 0..1 at (x, y) from the knob axis; 0 outside the knob."""
    r = math.hypot(x, y)
    if r > KNOB_RADIUS:
        return 0.0
    along = x * pointer[0] + y * pointer[1]
    across = abs(x * pointer[1] - y * pointer[0])
    on_pointer = POINTER_INNER <= along <= POINTER_OUTER
    if on_pointer and across <= POINTER_HALF_WIDTH:
        return 1.0
    if r <= GROOVE_INNER:
        bulge = CAP_BULGE / GROOVE_INNER
        shade = lit(normalise((x * bulge, y * bulge, 1.0)), CAP_ALBEDO)
    elif r <= RIM_INNER:
        shade = GROOVE_SHADE
    else:
        shade = lit(rim_normal(x, y, r), RIM_ALBEDO)
    if on_pointer and across <= POINTER_OUTLINE:
        shade *= 0.3  # engraved edge that sets the line off on bright metal
    return min(1.0, shade)


def draw_knob(k):
    """Returns frame k as rows of palette indices, top row first."""
    pointer = mark_direction(k)
    centre = KNOB_SIZE / 2
    frame = []
    for j in range(KNOB_SIZE):
        row = []
        for i in range(KNOB_SIZE):
            total = 0.0
            for sj in range(SUBSAMPLES):
                for si in range(SUBSAMPLES):
                    x = i + (si + 0.5) / SUBSAMPLES - centre
                    y = j + (sj + 0.5) / SUBSAMPLES - centre
                    total += knob_shade(x, y, pointer)
            row.append(round(total / SUBSAMPLES ** 2 * WHITE))
        frame.append(row)
    return frame
