#!/usr/bin/env python3
"""Writes the plug-in's icon "Orvanta" (32x32, 32 bits): a lens over a
gray square, drawn here so that no binary file lives in the tree.
Usage: kojpeg_icon.py OUT.ico"""
import struct
import sys

N = 32


def pixel(x, y):
    c = (N - 1) / 2.0
    d2 = (x - c) ** 2 + (y - c) ** 2
    if d2 < (N * 0.3) ** 2:
        return (40, 90, 200, 255)
    if d2 < (N * 0.42) ** 2:
        return (230, 180, 40, 255)
    return (120, 120, 120, 255) if 3 < x < N - 4 and 3 < y < N - 4 else (0, 0, 0, 0)


rows = b""
for y in reversed(range(N)):
    for x in range(N):
        r, g, b, a = pixel(x, y)
        rows += bytes((b, g, r, a))
mask = b"\0" * (4 * N)
image = struct.pack("<IiiHHIIiiII", 40, N, 2 * N, 1, 32, 0, len(rows) + len(mask), 0, 0, 0, 0) + rows + mask
header = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", N, N, 0, 0, 1, 32, len(image), 22)
with open(sys.argv[1], "wb") as f:
    f.write(header + image)
