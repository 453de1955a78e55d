#!/usr/bin/env python3
"""Checks that every DLL exports each function of its exports.txt at its
ordinal, under its undecorated name.

usage: check_ordinals.py BUILD_DIR
Each <module>/exports.txt (zynlib/, plugins/<name>/, outside/<name>/)
belongs to <name>.dll (any case: outside/tavn13 is TAVN13.DLL).
"""
import glob
import os
import re
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def expected_exports(path):
    out = {}
    with open(path) as f:
        for line in f:
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            tokens = line.split()
            ordinal = next(int(t) for t in tokens if t.isdigit())
            name = next(t for t in tokens if re.match(r"^[A-Za-z_]\w*$", t))
            out[ordinal] = name
    return out


def actual_exports(dll):
    # this objdump reads both pei-i386 and pei-x86-64
    text = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", dll], capture_output=True, text=True, check=True).stdout
    base = int(re.search(r"Ordinal Base (\d+)", text).group(1))
    table = text.split("[Ordinal/Name Pointer] Table", 1)[1]
    names = {}
    for m in re.finditer(r"^\s*\[\s*(\d+)\]\s+(\S+)\s*$", table, re.M):
        names[base + int(m.group(1))] = m.group(2)
    return names


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build/win32"
    lists = glob.glob(os.path.join(ROOT, "zynlib", "exports.txt")) + glob.glob(os.path.join(ROOT, "plugins", "*", "exports.txt")) \
        + glob.glob(os.path.join(ROOT, "outside", "*", "exports.txt"))
    if not lists:
        sys.exit("no exports.txt found")
    bad = 0
    for lst in lists:
        module = os.path.basename(os.path.dirname(lst))
        dlls = [p for p in glob.glob(os.path.join(build, "**", "*.[dD][lL][lL]"), recursive=True)
                if os.path.basename(p).lower() == module.lower() + ".dll"]
        if not dlls:
            print(f"{module}.dll: not built in {build}")
            bad += 1
            continue
        # a build dir may hold stale copies from older layouts: take the newest
        newest = max(dlls, key=os.path.getmtime)
        want, have = expected_exports(lst), actual_exports(newest)
        for ordinal, name in sorted(want.items()):
            if have.get(ordinal) != name:
                print(f"{module}.dll: ordinal {ordinal} should be {name}, is {have.get(ordinal)}")
                bad += 1
        print(f"{module}.dll: {len(want)} exports checked")
    sys.exit(1 if bad else 0)


if __name__ == "__main__":
    main()
