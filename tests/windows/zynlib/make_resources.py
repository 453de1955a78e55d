#!/usr/bin/env python3
"""Writes the test's resources: a 16-color bitmap (8 x 2 pixels, the default
16-color table, row 0 = indices 0..7 and row 1 = indices 8..15) and the .rc
that names it as bitmap 101."""
import struct
import sys

DEFAULT16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
             (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
             (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def bitmap():
    width, height = 8, 2
    rows = []
    for r in range(height):  # bottom-up: row 0 first
        idx = [r * 8 + x for x in range(width)]
        rows.append(bytes((idx[i] << 4) | idx[i + 1] for i in range(0, width, 2)))
    pixels = b"".join(rows)  # 4 bytes a row: already padded
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in DEFAULT16)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(pixels), 0, 0, 16, 0)
    off = 14 + len(info) + len(table)
    head = struct.pack("<2sIHHI", b"BM", off + len(pixels), 0, 0, off)
    return head + info + table + pixels


def main():
    bmp_path, rc_path = sys.argv[1], sys.argv[2]
    with open(bmp_path, "wb") as f:
        f.write(bitmap())
    with open(rc_path, "w") as f:
        f.write('101 BITMAP "%s"\n' % bmp_path.replace("\\", "/"))


if __name__ == "__main__":
    main()
