#!/usr/bin/env python3
"""Write the 17 mask shapes of the image plug-in as Windows metafiles.

Each shape is a standard metafile in memory form (type 1, header of 9
words, version 0x0300): window origin 0,0 and extent 1000 x 1000 (y down),
a polygon fill mode, a solid black brush, a null pen, then polygons and
poly-polygons.  Drawn from code so that no binary file lives in the tree.

Outputs: OUTDIR/<name>.wmf for each shape, mask_shapes.rc (resources of
type "MASK", ids 100 to 116, for the plug-in DLL) and mask_shape_data.cpp
(the same bytes for the portable code).
Usage: gen_masks.py OUTDIR
"""
import math
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "..", "tools"))
from gen_common import write_if_changed  # noqa: E402

ALTERNATE, WINDING = 1, 2


def circle(cx, cy, r, n=96, start=0.0):
    return [(cx + r * math.cos(start + 2 * math.pi * i / n), cy + r * math.sin(start + 2 * math.pi * i / n))
            for i in range(n)]


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def heart(cx, cy, size, flip=False, n=120):
    pts = []
    for i in range(n):
        t = 2 * math.pi * i / n
        x = 16 * math.sin(t) ** 3
        y = 13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t)
        pts.append((cx + x * size, cy + (y if flip else -y) * size))
    return pts


def inside(p, c, r):
    return (p[0] - c[0]) ** 2 + (p[1] - c[1]) ** 2 < r * r


def arc_outside(points, test):
    """The contiguous run of points for which test holds, in order."""
    n = len(points)
    start = next(i for i in range(n) if not test(points[i]) and test(points[(i + 1) % n]))
    run = []
    i = (start + 1) % n
    while test(points[i]):
        run.append(points[i])
        i = (i + 1) % n
    return run


def moon():
    outer_c, outer_r = (500, 500), 480
    inner_c, inner_r = (680, 400), 400
    outer = arc_outside(circle(*outer_c, outer_r, 240), lambda p: not inside(p, inner_c, inner_r))
    inner = arc_outside(circle(*inner_c, inner_r, 240), lambda p: inside(p, outer_c, outer_r))
    return outer + inner[::-1]


def arrow(turn):
    """The down arrow turned by quarter turns clockwise (y down)."""
    pts = [(350, 0), (650, 0), (650, 500), (920, 500), (500, 1000), (80, 500), (350, 500)]
    for _ in range(turn):
        pts = [(1000 - y, x) for x, y in pts]
    return pts


def star():
    """A pentagram drawn point to second point: solid only by the winding rule."""
    tips = [(500 + 500 * math.sin(2 * math.pi * k / 5), 520 - 500 * math.cos(2 * math.pi * k / 5)) for k in range(5)]
    return [tips[(2 * k) % 5] for k in range(5)]


PROFILE = [(520, 60), (640, 50), (760, 100), (850, 200), (890, 320), (880, 450), (840, 560), (790, 640),
           (780, 740), (820, 1000), (330, 1000), (400, 840), (430, 780), (370, 770), (330, 750), (310, 720),
           (320, 690), (290, 670), (300, 645), (280, 620), (300, 600), (290, 580), (260, 555), (235, 520),
           (280, 490), (310, 470), (315, 420), (330, 380), (320, 320), (340, 240), (380, 160), (440, 100)]

# (id, file name, fill mode, records); a record is a list of polygons:
# one polygon makes a POLYGON record, several a POLYPOLYGON.
SHAPES = [
    (100, "checkers", ALTERNATE,
     [[rect(250 * i, 250 * j, 250 * i + 250, 250 * j + 250) for j in range(4) for i in range(4) if (i + j) % 2 == 0]]),
    (101, "circle", ALTERNATE, [[circle(500, 500, 500)]]),
    (102, "clover", ALTERNATE,
     [[circle(500 + dx, 400 + dy, 190)] for dx, dy in ((0, -185), (185, 0), (0, 185), (-185, 0))] +
     [[[(480, 560), (540, 560), (640, 990), (590, 1000)]]]),
    (103, "club", ALTERNATE,
     [[circle(500, 230, 200)], [circle(280, 550, 200)], [circle(720, 550, 200)], [circle(500, 480, 160)],
      [[(450, 560), (550, 560), (720, 1000), (280, 1000)]]]),
    (104, "computer", ALTERNATE,
     [[rect(100, 40, 900, 640), rect(170, 100, 830, 580)], [rect(440, 640, 560, 740)], [rect(300, 740, 700, 790)],
      [[(130, 840), (870, 840), (970, 980), (30, 980)]]]),
    (105, "downarrow", ALTERNATE, [[arrow(0)]]),
    (106, "diamond", ALTERNATE, [[[(500, 0), (1000, 500), (500, 1000), (0, 500)]]]),
    (107, "heart", ALTERNATE, [[heart(500, 450, 31)]]),
    (108, "keyhole", ALTERNATE, [[circle(500, 300, 260)], [[(390, 430), (610, 430), (720, 980), (280, 980)]]]),
    (109, "leftarrow", ALTERNATE, [[arrow(1)]]),
    (110, "moon", ALTERNATE, [[moon()]]),
    (111, "profile", ALTERNATE, [[PROFILE]]),
    (112, "rightarrow", ALTERNATE, [[arrow(3)]]),
    (113, "spade", ALTERNATE,
     [[heart(500, 420, 27, flip=True)], [[(470, 480), (530, 480), (720, 1000), (280, 1000)]]]),
    (114, "star", WINDING, [[star()]]),
    (115, "triangle", ALTERNATE, [[[(500, 20), (980, 960), (20, 960)]]]),
    (116, "uparrow", ALTERNATE, [[arrow(2)]]),
]


def record(function, words):
    return struct.pack("<IH", 3 + len(words), function) + struct.pack("<%dh" % len(words), *words)


def point_words(polygon):
    out = []
    for x, y in polygon:
        out += [int(round(x)), int(round(y))]
    return out


def metafile(mode, records):
    body = [
        record(0x020B, [0, 0]),            # SetWindowOrg (y, x)
        record(0x020C, [1000, 1000]),      # SetWindowExt (y, x)
        record(0x0106, [mode]),            # SetPolyFillMode
        record(0x02FC, [0, 0, 0, 0]),      # CreateBrushIndirect: solid, black
        record(0x012D, [0]),               # SelectObject
        record(0x02FA, [5, 0, 0, 0, 0]),   # CreatePenIndirect: PS_NULL
        record(0x012D, [1]),
    ]
    for polygons in records:
        if len(polygons) == 1:
            body.append(record(0x0324, [len(polygons[0])] + point_words(polygons[0])))
        else:
            words = [len(polygons)] + [len(p) for p in polygons]
            for p in polygons:
                words += point_words(p)
            body.append(record(0x0538, words))
    body += [record(0x01F0, [0]), record(0x01F0, [1]), record(0x0000, [])]
    data = b"".join(body)
    largest = max(struct.unpack_from("<I", r)[0] for r in body)
    total = 9 + len(data) // 2
    return struct.pack("<HHHIHIH", 1, 9, 0x0300, total, 2, largest, 0) + data


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    rc = ["/* Generated by gen_masks.py; do not edit. */"]
    cpp = ["/* Generated by gen_masks.py; do not edit. */", '#include "mask_shape_data.h"', ""]
    table = []
    for ident, name, mode, records in SHAPES:
        data = metafile(mode, records)
        path = os.path.join(out, name + ".wmf")
        try:
            with open(path, "rb") as f:
                same = f.read() == data
        except OSError:
            same = False
        if not same:
            with open(path, "wb") as f:
                f.write(data)
        rc.append('%d MASK "%s"' % (ident, path.replace("\\", "/")))
        body = ",".join(str(b) for b in data)
        cpp.append("static const unsigned char shape_%d[%d] = {%s};" % (ident, len(data), body))
        table.append("    {%d, shape_%d, sizeof shape_%d}," % (ident, ident, ident))
    cpp += ["", 'extern "C" const ImgShapeData img_shape_data[IMG_MASK_SHAPES] = {'] + table + ["};"]
    write_if_changed(os.path.join(out, "mask_shapes.rc"), "\n".join(rc) + "\n")
    write_if_changed(os.path.join(out, "mask_shape_data.cpp"), "\n".join(cpp) + "\n")


if __name__ == "__main__":
    main()
