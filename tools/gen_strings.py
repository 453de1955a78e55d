#!/usr/bin/env python3
"""Generate a module's string table from its .strings source.

Source lines:  NAME = ID "text"   (C escapes in text; '#' starts a comment)
Outputs: a header of #defines, a Windows STRINGTABLE (.rc) and the native
table (.cpp) that compat's LoadStringA reads.
"""
import argparse
import re
import sys

from gen_common import write_if_changed

LINE = re.compile(r'^\s*([A-Za-z_][A-Za-z0-9_]*)\s*=\s*(\d+)\s+"((?:[^"\\]|\\.)*)"\s*$')


def parse(path):
    entries = []
    seen_ids, seen_names = {}, set()
    with open(path, encoding="utf-8") as f:
        for n, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            m = LINE.match(line)
            if not m:
                sys.exit(f"{path}:{n}: cannot parse: {line}")
            name, ident, text = m.group(1), int(m.group(2)), m.group(3)
            if ident in seen_ids:
                sys.exit(f"{path}:{n}: id {ident} already used by {seen_ids[ident]}")
            if name in seen_names:
                sys.exit(f"{path}:{n}: name {name} used twice")
            if ident > 65535:
                sys.exit(f"{path}:{n}: id {ident} out of range")
            seen_ids[ident] = name
            seen_names.add(name)
            entries.append((name, ident, text))
    return entries




def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("source")
    ap.add_argument("--symbol", required=True, help="C name of the native table record")
    ap.add_argument("--header", required=True)
    ap.add_argument("--rc", required=True)
    ap.add_argument("--cpp", required=True)
    a = ap.parse_args()
    entries = parse(a.source)
    guard = re.sub(r"\W", "_", a.symbol.upper()) + "_H"

    h = [f"/* Generated from {a.source.split('/')[-1]}; do not edit. */",
         f"#ifndef {guard}", f"#define {guard}", ""]
    h += [f"#define {name} {ident}" for name, ident, _ in entries]
    h += ["", "#ifndef RC_INVOKED", "#ifndef _WIN32", '#include "platform.h"',
          '#ifdef __cplusplus', 'extern "C"', '#endif',
          f"const CompatStringModule {a.symbol};", "#endif", "#endif", "", f"#endif"]
    write_if_changed(a.header, "\n".join(h) + "\n")

    rc = [f"/* Generated from {a.source.split('/')[-1]}; do not edit. */", "STRINGTABLE", "BEGIN"]
    for _, ident, text in sorted(entries, key=lambda e: e[1]):
        rc.append(f'    {ident}, "{text.replace(chr(92) + chr(34), chr(34) + chr(34))}"')
    rc.append("END")
    write_if_changed(a.rc, "\n".join(rc) + "\n")

    cpp = [f"/* Generated from {a.source.split('/')[-1]}; do not edit. */",
           '#include "platform.h"', "", "static const CompatStringEntry entries[] = {"]
    for _, ident, text in sorted(entries, key=lambda e: e[1]):
        cpp.append(f'    {{{ident}, "{text}"}},')
    cpp += ["};", "", 'extern "C" const CompatStringModule ' + a.symbol + " = {",
            f'    "{a.symbol}", entries, {len(entries)}u', "};"]
    write_if_changed(a.cpp, "\n".join(cpp) + "\n")


if __name__ == "__main__":
    main()
