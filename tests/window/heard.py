#!/usr/bin/env python3
"""heard.py CAPTURE.wav: exit 0 when the WAVE file that ALSA's file plugin
wrote of the sound card's output holds a sound louder than 1% of full scale.
The data chunk's size may still be unset: its samples run to the end of the file."""
import struct
import sys

AUDIBLE = 0.01


def loudest(path):
    data = open(path, "rb").read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise SystemExit(f"{path}: not a WAVE file")
    at, bits = 12, None
    while at + 8 <= len(data):
        kind, size = struct.unpack("<4sI", data[at:at + 8])
        if kind == b"fmt ":
            bits = struct.unpack("<H", data[at + 22:at + 24])[0]
        elif kind == b"data":
            if bits not in (16, 32):
                raise SystemExit(f"{path}: {bits}-bit samples are not read")
            samples = data[at + 8:]
            samples = samples[:len(samples) - len(samples) % (bits // 8)]
            values = struct.unpack(f"<{len(samples) // (bits // 8)}{'h' if bits == 16 else 'i'}", samples)
            return max((abs(v) for v in values), default=0) / float(1 << (bits - 1))
        at += 8 + size + (size & 1)
    return 0.0


if __name__ == "__main__":
    level = loudest(sys.argv[1])
    print(f"loudest sample: {level:.3f} of full scale")
    sys.exit(0 if level >= AUDIBLE else 1)
