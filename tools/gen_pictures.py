#!/usr/bin/env python3
"""Write the program's pictures, drawn from code so that no binary file
lives in the repository:

  logo.dib      the logo window's picture (resource "LUMACAST", type "HDIB"):
                a packed 24-bit DIB, 320 x 120
  card24.bmp    test cards for `make run` and the screenshots: colour bars,
  card8.bmp     gray and colour ramps and a circle, at 24 bits, at 8 bits
  card4.bmp     (a 6x6x6 colour cube and a gray ramp), at 4 bits (the
  card1.bmp     default 16 colours) and at 1 bit

Usage: gen_pictures.py OUTDIR
"""
import math
import os
import struct
import sys


def header(w, h, bits, colors):
    stride = (w * bits + 31) // 32 * 4
    return struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, stride * h, 2835, 2835, colors, colors), stride


def pack_rows(rows, w, bits, stride):
    """rows: top-down lists of indices (or BGR tuples for 24 bits)."""
    out = bytearray()
    for row in reversed(rows):  # DIB rows are stored bottom-up
        line = bytearray()
        if bits == 24:
            for b, g, r in row:
                line += bytes((b, g, r))
        else:
            per = 8 // bits
            for x in range(0, w, per):
                v = 0
                for k in range(per):
                    i = row[x + k] if x + k < w else 0
                    v |= i << (8 - bits * (k + 1))
                line.append(v)
        line += b"\0" * (stride - len(line))
        out += line
    return bytes(out)


def dib(w, h, bits, rows, palette=()):
    head, stride = header(w, h, bits, len(palette))
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return head + table + pack_rows(rows, w, bits, stride)


def bmp(data):
    offset = 14 + 40 + struct.unpack_from("<I", data, 32)[0] * 4
    return b"BM" + struct.pack("<IHHI", 14 + len(data), 0, 0, offset) + data


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t + 0.5) for i in range(3))


BARS = [(255, 255, 255), (255, 255, 0), (0, 255, 255), (0, 255, 0),
        (255, 0, 255), (255, 0, 0), (0, 0, 255), (0, 0, 0)]


def card_rgb(x, y, w, h):
    """Colour (r, g, b) of the test card at (x, y), y from the top."""
    cx, cy, rad = w / 2.0, h * 0.42, min(w, h) * 0.28
    d = math.hypot(x - cx, y - cy)
    if abs(d - rad) < max(1.5, w / 240.0):
        return (255, 255, 255)
    if y < h * 0.6:
        bar = BARS[min(7, x * 8 // w)]
        if d < rad:  # a hue wheel inside the circle
            a = (math.atan2(y - cy, x - cx) / (2 * math.pi)) % 1.0
            s = d / rad
            hue = [max(0.0, min(1.0, abs((a * 6 + o) % 6 - 3) - 1)) for o in (0, 4, 2)]
            return tuple(int(255 * ((1 - s) + s * c)) for c in hue)
        return bar
    if y < h * 0.8:  # gray ramp
        v = int(255 * x / max(1, w - 1))
        return (v, v, v)
    t = x / max(1, w - 1)  # red to green to blue
    return mix((255, 0, 0), (0, 255, 0), t * 2) if t < 0.5 else mix((0, 255, 0), (0, 0, 255), t * 2 - 1)


def nearest(palette, rgb):
    best, bi = None, 0
    for i, p in enumerate(palette):
        e = sum(abs(p[k] - rgb[k]) for k in range(3))
        if best is None or e < best:
            best, bi = e, i
            if e == 0:
                break
    return bi


def cube_palette():
    levels = [0, 51, 102, 153, 204, 255]
    pal = [(r, g, b) for r in levels for g in levels for b in levels]
    pal += [(v, v, v) for v in range(8, 248, 6)][: 256 - len(pal)]
    return pal


DEFAULT16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
             (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
             (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def card(w, h, bits):
    rgb = [[card_rgb(x, y, w, h) for x in range(w)] for y in range(h)]
    if bits == 24:
        return dib(w, h, 24, [[(b, g, r) for r, g, b in row] for row in rgb])
    if bits == 1:
        pal = [(0, 0, 0), (255, 255, 255)]
        order = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]
        rows = [[1 if (c[0] * 30 + c[1] * 59 + c[2] * 11) / 100 > order[y % 4][x % 4] * 16 + 8 else 0
                 for x, c in enumerate(row)] for y, row in enumerate(rgb)]
        return dib(w, h, 1, rows, pal)
    pal = cube_palette() if bits == 8 else DEFAULT16
    cache = {}
    rows = []
    for row in rgb:
        line = []
        for c in row:
            if c not in cache:
                cache[c] = nearest(pal, c)
            line.append(cache[c])
        rows.append(line)
    return dib(w, h, bits, rows, pal)


def logo(w=320, h=120):
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            t = y / (h - 1)
            c = mix((250, 200, 90), (40, 90, 190), t)  # dawn over a blue field
            # a lens at the left, light fanning out through it to the right
            d = math.hypot(x - 70, y - 60)
            if d < 44:
                c = mix(c, (255, 255, 255), 0.35 if d < 40 else 0.9)
            elif x > 110:
                a = (y - 60) / (x - 70.0)
                if abs(a) < 0.35:
                    band = int((a + 0.35) / 0.7 * 6)
                    spectrum = [(230, 40, 40), (250, 140, 30), (250, 230, 50), (60, 200, 80),
                                (50, 110, 230), (130, 60, 200)]
                    c = mix(c, spectrum[min(5, band)], 0.55)
            row.append((c[2], c[1], c[0]))
        rows.append(row)
    return dib(w, h, 24, rows)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "logo.dib"), "wb") as f:
        f.write(logo())
    for bits, size in ((24, (480, 360)), (8, (320, 240)), (4, (320, 240)), (1, (320, 240))):
        with open(os.path.join(out, "card%d.bmp" % bits), "wb") as f:
            f.write(bmp(card(size[0], size[1], bits)))


if __name__ == "__main__":
    main()
