#!/usr/bin/env python3
"""Draw image.dll's icon and cursor, so that no binary file lives in the tree.

  image.ico  icon group 600: a picture card with a turn arrow
             (16x16 and 32x32, 32 bits per pixel)
  move.cur   cursor 400: the Crop preview's mover, a four-way arrow over a
             small box (32x32, monochrome, hot spot in the middle)
Usage: image_icons.py OUTDIR
"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..", "tools"))
from gen_icons import ico, write_if_changed  # noqa: E402


def icon_pixel(x, y, n):
    """RGBA at (x, y), y from the top: a picture card with a turn arrow."""
    s = n / 32.0
    u, v = (x + 0.5) / s, (y + 0.5) / s
    # the turn arrow over the top right corner, its head pointing down
    d = math.hypot(u - 22, v - 10)
    angle = math.degrees(math.atan2(v - 10, u - 22))
    if 5 <= d <= 8.5 and -180 <= angle <= 20:
        return (210, 40, 40, 255)
    if 25 <= u <= 33 and 12 <= v <= 17 and abs(u - 29) <= (17 - v) * 0.9:
        return (210, 40, 40, 255)
    if 2 <= u <= 24 and 11 <= v <= 30:
        if u < 4 or u > 22 or v < 13 or v > 28:
            return (35, 35, 35, 255)
        if math.hypot(u - 17, v - 17) < 2.6:
            return (250, 210, 50, 255)
        if v > 23 - 2.5 * math.sin(u / 3.0):
            return (50, 140, 60, 255)
        return (120, 180, 240, 255)
    return (0, 0, 0, 0)


def move_shape(x, y):
    """0 outside, 1 the white rim, 2 the black arrow."""
    c = 15.5
    dx, dy = abs(x - c), abs(y - c)

    def arrow(a, b):
        # a along the arm, b across it: the shaft, then a head at the tip
        if a > 13:
            return False
        if a > 8:
            return b <= 13 - a
        return b <= 1.0

    core = arrow(dx, dy) or arrow(dy, dx) or (dx <= 3 and dy <= 3)
    if core:
        return 2
    for ox in (-1, 0, 1):
        for oy in (-1, 0, 1):
            ex, ey = abs(x + ox - c), abs(y + oy - c)
            if arrow(ex, ey) or arrow(ey, ex) or (ex <= 3 and ey <= 3):
                return 1
    return 0


def cursor():
    n = 32
    stride = 4
    xor_rows, and_rows = [], []
    for y in range(n - 1, -1, -1):
        xor, mask = bytearray(stride), bytearray(stride)
        for x in range(n):
            shape = move_shape(x, y)
            bit = 0x80 >> (x % 8)
            if shape == 0:
                mask[x // 8] |= bit
            elif shape == 1:
                xor[x // 8] |= bit
        xor_rows.append(bytes(xor))
        and_rows.append(bytes(mask))
    head = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = head + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 2, 1) + struct.pack("<BBBBHHII", n, n, 2, 0, 16, 16, len(image), 22)
    return directory + image


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_if_changed(os.path.join(out, "image.ico"), ico(icon_pixel))
    write_if_changed(os.path.join(out, "move.cur"), cursor())


if __name__ == "__main__":
    main()
