#!/usr/bin/env bash
# Whole-process timing of the Targa reader and writer against the peers, on
# the same 12-megapixel 24-bit run-length coded image in the same run,
# single-threaded.
# Decode: `lumaconv info` / `convert x.tga null:` / `gm convert x.tga null:`
#         / `tgatoppm`.  Encode: `lumaconv convert x.tga y.tga --compress`
# (a decode and a coded write) against the same round trip in each peer, and
# pamtotga from a PPM.  Prints the best of N runs and the ratio of ours to
# the fastest peer.
# usage: bench/tga_bench.sh [lumaconv] [runs]
#   (lumaconv defaults to the one of $LC_BENCH_BUILD, else build/tga-release:
#    cmake -S . -B build/tga-release -G Ninja -DCMAKE_BUILD_TYPE=Release &&
#    cmake --build build/tga-release --target lumaconv)
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/bench_lib.sh
LUMACONV=${1:-$(bench_lumaconv build/tga-release)}
RUNS=${2:-5}
bench_start

# The photo-like image (mostly literal packets), coded by ImageMagick.
bench_photo "$work/photo.tga" -type truecolor -compress RLE
tgatoppm "$work/photo.tga" > "$work/photo.ppm" 2>/dev/null
cat "$work/photo.tga" "$work/photo.ppm" > /dev/null  # cached

bench_decode "24-bit Targa RLE decode, ${W}x${H}" "$work/photo.tga" tgatoppm

bench_report "24-bit Targa RLE encode (read and write), ${W}x${H}" \
  "$(bench_time "$LUMACONV" convert "$work/photo.tga" "$work/out.tga" --compress)" \
  "ImageMagick convert=$(bench_time $IM "$work/photo.tga" -compress RLE "$work/im.tga")" \
  "GraphicsMagick gm=$(bench_time gm convert "$work/photo.tga" -compress RLE "$work/gm.tga")" \
  "netpbm pamtotga (from PPM)=$(bench_time sh -c "pamtotga -rgb '$work/photo.ppm' > '$work/pbm.tga'")"
