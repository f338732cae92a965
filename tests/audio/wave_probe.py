# SPDX-License-Identifier: GPL-3.0-or-later
"""Reads a wave file with Python's own reader and prints its format and strongest frequency."""
import math
import sys
import wave


def samples(reader):
    width = reader.getsampwidth()
    channels = reader.getnchannels()
    raw = reader.readframes(reader.getnframes())
    step = width * channels
    values = []
    for i in range(0, len(raw) - step + 1, step):
        if width == 1:
            values.append(raw[i] - 128)
        else:
            values.append(int.from_bytes(raw[i:i + 2], "little", signed=True))
    return values


def strongest(values, rate):
    best, best_power = 0, -1.0
    for hz in range(50, 2001, 10):
        w = 2 * math.pi * hz / rate
        re = sum(v * math.cos(w * n) for n, v in enumerate(values))
        im = sum(v * math.sin(w * n) for n, v in enumerate(values))
        if re * re + im * im > best_power:
            best, best_power = hz, re * re + im * im
    return best


with wave.open(sys.argv[1], "rb") as r:
    values = samples(r)
    print(r.getnchannels(), r.getsampwidth() * 8, r.getframerate(), r.getnframes(),
          strongest(values[:4800], r.getframerate()))
