#!/usr/bin/env bash
# Whole-process timing of the Sun raster, SGI and PPM codecs against the
# peers, on the same 12-megapixel photo-like image in the same run,
# single-threaded.
# Sun raster decode: `lumaconv info x.ras` / `convert x.ras null:` /
#   `gm convert x.ras null:` / `rasttopnm`, on a standard 24-bit raster and
#   a byte-encoded 8-bit one.
# SGI run-length decode: the same on a file from pnmtosgi.
# SGI run-length encode: `lumaconv convert x.rgb y.rgb` (a decode and a
#   coded write) against the same round trip in each peer, and pnmtosgi
#   from a PPM.
# PPM decode and encode (P6): the same pattern; netpbm's pnmtopnm both
#   reads and writes.
# Prints the best of N runs in megapixels per second and the ratio of ours
# to the fastest peer (above 1 is faster).
# usage: bench/raster_bench.sh [lumaconv] [runs]
#   (a Release build: cmake -S . -B build/raster-release -G Ninja
#    -DCMAKE_BUILD_TYPE=Release && cmake --build build/raster-release --target lumaconv)
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/bench_lib.sh
LUMACONV=${1:-build/raster-release/tools/lumaconv/lumaconv}
RUNS=${2:-5}
bench_start

# The photo-like image, and from it the files each codec reads, written by
# netpbm.
bench_photo "$work/photo.ppm" -type truecolor -depth 8
pnmtorast -standard "$work/photo.ppm" > "$work/photo.ras" 2>/dev/null
ppmtopgm "$work/photo.ppm" | pnmtorast > "$work/gray.ras" 2>/dev/null
pnmtosgi -rle "$work/photo.ppm" > "$work/photo.rgb" 2>/dev/null
cat "$work"/photo.* "$work/gray.ras" > /dev/null  # cached

bench_decode "Sun raster 24-bit decode, ${W}x${H}" "$work/photo.ras" rasttopnm sun
bench_decode "Sun raster 8-bit byte-encoded decode, ${W}x${H}" "$work/gray.ras" rasttopnm sun
bench_decode "SGI run-length decode, ${W}x${H}" "$work/photo.rgb" sgitopnm sgi
bench_decode "PPM (P6) decode, ${W}x${H}" "$work/photo.ppm" pnmtopnm ppm

bench_report "SGI run-length encode (read and write), ${W}x${H}" \
  "$(bench_time "$LUMACONV" convert "$work/photo.rgb" "$work/out.rgb")" \
  "ImageMagick convert=$(bench_time $IM "sgi:$work/photo.rgb" -compress RLE "sgi:$work/im.rgb")" \
  "GraphicsMagick gm=$(bench_time gm convert "sgi:$work/photo.rgb" -compress RLE "sgi:$work/gm.rgb")" \
  "netpbm pnmtosgi (from PPM)=$(bench_time sh -c "pnmtosgi -rle '$work/photo.ppm' > '$work/pbm.rgb'")"

bench_report "PPM (P6) encode (read and write), ${W}x${H}" \
  "$(bench_time "$LUMACONV" convert "$work/photo.ppm" "$work/out.ppm")" \
  "ImageMagick convert=$(bench_time $IM "$work/photo.ppm" "$work/im.ppm")" \
  "GraphicsMagick gm=$(bench_time gm convert "$work/photo.ppm" "$work/gm.ppm")" \
  "netpbm pnmtopnm=$(bench_time sh -c "pnmtopnm '$work/photo.ppm' > '$work/pbm.ppm'")"
