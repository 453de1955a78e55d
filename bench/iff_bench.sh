#!/usr/bin/env bash
# Whole-process timing of the ILBM reader and writer against the peers, on
# the same 12-megapixel deep (24-plane) image in the same run, single-
# threaded.  ImageMagick and GraphicsMagick read and write no ILBM, so the
# peers are netpbm's ilbmtoppm and ppmtoilbm.
# Decode: `lumaconv info` / `ilbmtoppm`, on a ByteRun1 file and a raw one.
# Encode: `lumaconv convert x.iff y.iff` (a decode and a write) against
# `ilbmtoppm | ppmtoilbm -24force -nocompress`, and ppmtoilbm from a PPM.
# Prints the best of N runs in megapixels per second and the ratio of ours
# to the fastest peer.
# usage: bench/iff_bench.sh [lumaconv] [runs]
#   (a Release build: cmake -S . -B build/iff-release -G Ninja
#    -DCMAKE_BUILD_TYPE=Release && cmake --build build/iff-release --target lumaconv)
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/bench_lib.sh
LUMACONV=${1:-build/iff-release/tools/lumaconv/lumaconv}
RUNS=${2:-5}
bench_start

# The photo-like image as deep ILBM files made by netpbm, coded and raw.
bench_photo "$work/photo.ppm" -depth 8
ppmtoilbm -24force -compress   "$work/photo.ppm" > "$work/rle.iff" 2>/dev/null
ppmtoilbm -24force -nocompress "$work/photo.ppm" > "$work/raw.iff" 2>/dev/null
cat "$work"/* > /dev/null  # cached

for kind in rle raw; do
  bench_report "Deep ILBM ($kind) decode, ${W}x${H}" "$(bench_time "$LUMACONV" info "$work/$kind.iff")" \
    "netpbm ilbmtoppm=$(bench_time ilbmtoppm "$work/$kind.iff")"
done

bench_report "Deep ILBM encode (read and write), ${W}x${H}" \
  "$(bench_time "$LUMACONV" convert "$work/rle.iff" "$work/out.iff")" \
  "netpbm ilbmtoppm | ppmtoilbm=$(bench_time sh -c "ilbmtoppm '$work/rle.iff' 2>/dev/null | ppmtoilbm -24force -nocompress > '$work/pbm.iff' 2>/dev/null")" \
  "netpbm ppmtoilbm (from PPM)=$(bench_time sh -c "ppmtoilbm -24force -nocompress '$work/photo.ppm' > '$work/pbm2.iff' 2>/dev/null")"
