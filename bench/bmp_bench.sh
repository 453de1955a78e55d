#!/usr/bin/env bash
# Whole-process timing of the BMP reader and writer against the peers, on
# the same 12-megapixel 24-bit image in the same run, single-threaded.
# Decode: `lumaconv info` / `convert x.bmp null:` / `gm convert x.bmp null:`
#         / `bmptopnm`.  Encode: `lumaconv convert x.bmp y.bmp` (a decode and
# an encode) against the same round trip in each peer, and ppmtobmp from
# a PPM.  Prints the best of N runs and the ratio of ours to the fastest peer.
# usage: bench/bmp_bench.sh [lumaconv] [runs]
#   (lumaconv defaults to the one of $LC_BENCH_BUILD, else build/native-release)
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/bench_lib.sh
LUMACONV=${1:-$(bench_lumaconv build/native-release)}
RUNS=${2:-5}
bench_start

# The photo-like image at 24 bits.
bench_photo bmp3:"$work/photo.bmp" -type truecolor
bmptopnm "$work/photo.bmp" > "$work/photo.ppm" 2>/dev/null
cat "$work/photo.bmp" "$work/photo.ppm" > /dev/null  # cached

bench_decode "24-bit BMP decode, ${W}x${H}" "$work/photo.bmp" bmptopnm

bench_report "24-bit BMP encode (read and write), ${W}x${H}" \
  "$(bench_time "$LUMACONV" convert "$work/photo.bmp" "$work/out.bmp")" \
  "ImageMagick convert=$(bench_time convert "$work/photo.bmp" bmp3:"$work/im.bmp")" \
  "GraphicsMagick gm=$(bench_time gm convert "$work/photo.bmp" bmp3:"$work/gm.bmp")" \
  "netpbm ppmtobmp (from PPM)=$(bench_time sh -c "ppmtobmp -bpp=24 '$work/photo.ppm' > '$work/pbm.bmp'")"
