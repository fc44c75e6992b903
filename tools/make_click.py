#!/usr/bin/env python3
"""Synthesises the knob's detent click.

Usage: make_click.py OUTPUT_WAV
Writes a 45 ms mono 16-bit 22050 Hz PCM WAV: the strike of the detent ball,
its ring in the knob body and a weaker second tap as the ball settles.
"""

import math
import struct
import sys

RATE = 22050
LENGTH_S = 0.045
PEAK = 10 ** (-3 / 20)  # -3 dBFS
FADE_S = 0.012
NOISE_SEED = 0x5EED1234

# (frequency Hz, amplitude, decay time constant s) of the body's ring.
RESONANCES = [
    (2870.0, 0.55, 0.0040),
    (1630.0, 0.35, 0.0075),
    (5150.0, 0.30, 0.0018),
    (430.0, 0.18, 0.0095),
]
# (onset s, strength) of each tap: the strike, then the ball settling.
TAPS = [(0.0, 1.0), (0.0068, 0.35)]
NOISE_DECAY_S = 0.0025
STRIKE_TAU_S = 0.00006
STRIKE_LEVEL = 0.9
NOISE_LEVEL = 0.5


def noise(seed, count):
    """Uniform noise in -1..1 from a 32-bit xorshift generator."""
    state = seed
    values = []
    for _ in range(count):
        state ^= (state << 13) & 0xFFFFFFFF
        state ^= state >> 17
        state ^= (state << 5) & 0xFFFFFFFF
        values.append(state / 0x80000000 - 1.0)
    return values


def tap(t):
    """One tap t seconds after its onset (0 before it)."""
    if t < 0:
        return 0.0
    ring = sum(amp * math.exp(-t / tau) * math.sin(2 * math.pi * freq * t)
               for freq, amp, tau in RESONANCES)
    # A doublet a few samples long gives the strike its edge without a
    # one-sided thump (it integrates to zero).
    edge = t / STRIKE_TAU_S
    strike = (1 - edge) * math.exp(-edge)
    return ring + STRIKE_LEVEL * strike


def synthesise():
    count = round(RATE * LENGTH_S)
    grain = noise(NOISE_SEED, count + 1)
    samples = []
    for n in range(count):
        t = n / RATE
        value = sum(strength * tap(t - onset) for onset, strength in TAPS)
        # First difference keeps the noise bright and free of rumble.
        hiss = (grain[n + 1] - grain[n]) / 2
        value += NOISE_LEVEL * math.exp(-t / NOISE_DECAY_S) * hiss
        samples.append(value)
    fade_len = round(RATE * FADE_S)
    window = [1.0] * count
    for n in range(fade_len):
        window[count - fade_len + n] = 0.5 + 0.5 * math.cos(
            math.pi * (n + 1) / fade_len)
    window[0] = 0.0  # the strike starts from silence
    # Removing the mean in proportion to the window keeps both ends at zero.
    offset = sum(s * w for s, w in zip(samples, window)) / sum(window)
    shaped = [(s - offset) * w for s, w in zip(samples, window)]
    scale = PEAK * 32767 / max(abs(s) for s in shaped)
    return [round(s * scale) for s in shaped]


def write_wav(path, samples):
    data = struct.pack(f"<{len(samples)}h", *samples)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    riff = (b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
            + b"data" + struct.pack("<I", len(data)) + data)
    with open(path, "wb") as out:
        out.write(b"RIFF" + struct.pack("<I", len(riff)) + riff)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_click.py OUTPUT_WAV")
    write_wav(sys.argv[1], synthesise())


if __name__ == "__main__":
    main()
