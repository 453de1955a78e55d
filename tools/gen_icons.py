#!/usr/bin/env python3
"""Write the program's two icons (.ico, 16x16 and 32x32, 32 bits per pixel).

Drawn from code so that no binary file lives in the repository:
  lumacast_frame.ico  resource 400, the frame window (a lens over a picture)
  lumacast_image.ico  resource 401, image windows (a small landscape)
Usage: gen_icons.py OUTDIR
"""
import os
import struct
import sys


def frame_pixel(x, y, n):
    """RGBA of the frame icon at (x, y), y from the top, size n."""
    c = (n - 1) / 2.0
    r = n * 0.45
    d2 = (x - c) ** 2 + (y - c) ** 2
    if d2 > r * r:
        return (0, 0, 0, 0)
    if d2 > (r - max(1.5, n / 12.0)) ** 2:
        return (20, 40, 110, 255)            # rim
    t = y / float(n - 1)
    top = (250, 200, 60)                     # warm light at the top
    bottom = (40, 110, 220)                  # cool blue below
    rgb = tuple(int(top[i] * (1 - t) + bottom[i] * t) for i in range(3))
    if abs(x - y) < n / 10.0 and x < c:      # a glint
        rgb = (255, 255, 255)
    return rgb + (255,)


def image_pixel(x, y, n):
    """RGBA of the image-window icon: sky, sun, hill, dark border."""
    if x == 0 or y == 0 or x == n - 1 or y == n - 1:
        return (30, 30, 30, 255)
    sun = ((x - n * 0.7) ** 2 + (y - n * 0.3) ** 2) < (n * 0.12) ** 2
    hill = y > n * 0.6 + (n * 0.15) * ((x / float(n)) - 0.5) ** 2 * 4 - n * 0.1
    if sun:
        return (255, 220, 40, 255)
    if hill:
        return (40, 150, 60, 255)
    return (120, 180, 240, 255)


def dib(n, pixel):
    """One icon image: BITMAPINFOHEADER (double height), BGRA rows bottom-up,
    then the 1-bit AND mask (rows padded to 4 bytes)."""
    head = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = []
    mask_rows = []
    stride = ((n + 31) // 32) * 4
    for y in range(n - 1, -1, -1):
        row = bytearray()
        bits = bytearray(stride)
        for x in range(n):
            r, g, b, a = pixel(x, y, n)
            row += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        rows.append(bytes(row))
        mask_rows.append(bytes(bits))
    return head + b"".join(rows) + b"".join(mask_rows)


def ico(pixel, sizes=(16, 32)):
    images = [dib(n, pixel) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


def write_if_changed(path, data):
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except OSError:
        pass
    with open(path, "wb") as f:
        f.write(data)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: gen_icons.py OUTDIR")
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_if_changed(os.path.join(out, "lumacast_frame.ico"), ico(frame_pixel))
    write_if_changed(os.path.join(out, "lumacast_image.ico"), ico(image_pixel))


if __name__ == "__main__":
    main()
