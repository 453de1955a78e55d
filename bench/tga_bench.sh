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
IM=/usr/bin/convert   # ImageMagick itself, not a wrapper earlier on PATH
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
W=4000 H=3000
MP=$(python3 -c "print($W * $H / 1e6)")

# A photo-like image (smooth gradients with noise: mostly literal packets),
# coded by ImageMagick.
$IM -size ${W}x${H} -seed 7 plasma:fractal -type truecolor -compress RLE "$work/photo.tga"
tgatoppm "$work/photo.tga" > "$work/photo.ppm" 2>/dev/null
cat "$work/photo.tga" "$work/photo.ppm" > /dev/null  # cached

bench_report "24-bit Targa RLE decode, ${W}x${H}" "$(bench_time "$LUMACONV" info "$work/photo.tga")" \
  "ImageMagick convert=$(bench_time $IM "$work/photo.tga" null:)" \
  "GraphicsMagick gm=$(bench_time gm convert "$work/photo.tga" null:)" \
  "netpbm tgatoppm=$(bench_time tgatoppm "$work/photo.tga")"

bench_report "24-bit Targa RLE encode (read and write), ${W}x${H}" \
  "$(bench_time "$LUMACONV" convert "$work/photo.tga" "$work/out.tga" --compress)" \
  "ImageMagick convert=$(bench_time $IM "$work/photo.tga" -compress RLE "$work/im.tga")" \
  "GraphicsMagick gm=$(bench_time gm convert "$work/photo.tga" -compress RLE "$work/gm.tga")" \
  "netpbm pamtotga (from PPM)=$(bench_time sh -c "pamtotga -rgb '$work/photo.ppm' > '$work/pbm.tga'")"
