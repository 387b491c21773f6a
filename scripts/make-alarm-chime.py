#!/usr/bin/env python3
"""Writes the alarm chime shipped as resources/sounds/alarm.wav: two soft bell strokes
(a falling major third) with a few partials and an exponential fade. Standard library only;
run it again to remake the file."""
import math
import struct
import sys
import wave

RATE = 16000
STROKES = [(0.0, 880.0), (0.42, 698.46)]  # start in seconds, fundamental in Hz
LENGTH = 1.6
PARTIALS = [(1.0, 1.0), (2.0, 0.35), (3.0, 0.12), (4.2, 0.06)]  # ratio, weight


def sample(t):
    v = 0.0
    for start, f0 in STROKES:
        u = t - start
        if u < 0:
            continue
        attack = min(1.0, u / 0.005)
        for ratio, weight in PARTIALS:
            decay = math.exp(-u * (3.0 + 1.5 * ratio))
            v += weight * attack * decay * math.sin(2 * math.pi * f0 * ratio * u)
    return v


def main(path):
    frames = [sample(i / RATE) for i in range(int(RATE * LENGTH))]
    peak = max(abs(x) for x in frames)
    scale = 0.6 * 32767 / peak
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(x * scale)) for x in frames))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/sounds/alarm.wav")
