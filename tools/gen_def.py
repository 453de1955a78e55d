#!/usr/bin/env python3
"""Generate a DLL's module-definition file from its export list.

The export list (e.g. zynlib/exports.txt) has one export a line:
    ORDINAL NAME SLOTS        ('#' starts a comment)
where SLOTS is the number of 32-bit argument slots of the stdcall function.

  --arch x86_64   NAME @ORD
  --arch i686     NAME@BYTES @ORD   (stdcall decoration; link the DLL with
                                     -Wl,--kill-at so the exported names are
                                     undecorated, and rebuild the import
                                     library from this file with dlltool -k)
  --header FILE   also writes a C table {ordinal, "name"} of every export,
                  for tests that resolve each export by ordinal.
"""
import argparse
import re
import sys

from gen_common import write_if_changed

LINE = re.compile(r"^\s*(\d+)\s+([A-Za-z_][A-Za-z0-9_]*)\s+(\d+)\s*$")


def parse(path):
    exports, ords, names = [], {}, {}
    with open(path, encoding="utf-8") as f:
        for n, raw in enumerate(f, 1):
            line = raw.split("#", 1)[0]
            if not line.strip():
                continue
            m = LINE.match(line)
            if not m:
                sys.exit(f"{path}:{n}: cannot parse: {raw.rstrip()}")
            ordinal, name, slots = int(m.group(1)), m.group(2), int(m.group(3))
            if not 1 <= ordinal <= 65535:
                sys.exit(f"{path}:{n}: ordinal {ordinal} out of range")
            if ordinal in ords:
                sys.exit(f"{path}:{n}: ordinal {ordinal} already used by {ords[ordinal]}")
            if name in names:
                sys.exit(f"{path}:{n}: {name} already listed at line {names[name]}")
            ords[ordinal] = name
            names[name] = n
            exports.append((ordinal, name, slots))
    if not exports:
        sys.exit(f"{path}: no exports")
    return exports




def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("exports")
    ap.add_argument("--arch", choices=["x86_64", "i686"], required=True)
    ap.add_argument("--library", required=True, help="DLL file name, e.g. zynlib.dll")
    ap.add_argument("--def", dest="deffile", required=True)
    ap.add_argument("--header")
    a = ap.parse_args()
    exports = parse(a.exports)
    src = a.exports.replace("\\", "/").split("/")[-1]

    lines = [f"; Generated from {src}; do not edit.", f"LIBRARY {a.library}", "EXPORTS"]
    for ordinal, name, slots in sorted(exports):
        decorated = f"{name}@{slots * 4}" if a.arch == "i686" else name
        lines.append(f"    {decorated} @{ordinal}")
    write_if_changed(a.deffile, "\n".join(lines) + "\n")

    if a.header:
        h = [f"/* Generated from {src}; do not edit. */",
             "static const struct { unsigned ordinal; const char *name; } kExports[] = {"]
        h += [f'    {{{ordinal}, "{name}"}},' for ordinal, name, _ in sorted(exports)]
        h.append("};")
        write_if_changed(a.header, "\n".join(h) + "\n")


if __name__ == "__main__":
    main()
