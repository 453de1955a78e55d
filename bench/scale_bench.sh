#!/usr/bin/env bash
# Whole-process timing of scaling against the peers, on the same
# 12-megapixel 24-bit BMP in the same run, single-threaded: read, scale,
# write a BMP.
#   half and double, nearest neighbour: `lumaconv convert --scale 50%|200%`
#     against ImageMagick `-sample`;
#   half, averaging 2 x 2: `lumaconv convert --scale average-half` against
#     ImageMagick `-scale 50%` and `vips resize 0.5`.
# Prints the best of N runs in source megapixels per second and the ratio of
# ours to the fastest peer.
# usage: bench/scale_bench.sh [lumaconv] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/bench_lib.sh
LUMACONV=${1:-build/native-release/tools/lumaconv/lumaconv}
RUNS=${2:-5}
bench_start

bench_photo bmp3:"$work/photo.bmp" -type truecolor
cat "$work/photo.bmp" > /dev/null  # cached

# The results must agree with the peer's point sampling before timing.
# Rows are stored bottom-up, so halving keeps the odd rows counted from the
# top: ImageMagick's -sample of the flipped image picks the same pixels.
check() {  # name ours.bmp peer.bmp
  local ae
  ae=$(compare -metric AE "$2" "$3" null: 2>&1 || true)
  [ "$ae" = 0 ] || { echo "$1: results differ from the peer in $ae pixels" >&2; exit 1; }
}
"$IM" -size 400x300 -seed 3 plasma:fractal -type truecolor bmp3:"$work/small.bmp"
"$LUMACONV" convert "$work/small.bmp" "$work/ours.bmp" --scale 50% > /dev/null
"$IM" "$work/small.bmp" -flip -sample 50% -flip bmp3:"$work/peer.bmp"
check "half size" "$work/ours.bmp" "$work/peer.bmp"
"$LUMACONV" convert "$work/small.bmp" "$work/ours.bmp" --scale 200% > /dev/null
"$IM" "$work/small.bmp" -sample 200% bmp3:"$work/peer.bmp"
check "double size" "$work/ours.bmp" "$work/peer.bmp"
rm -f "$work/ours.bmp" "$work/peer.bmp"

bench_report "Half size, nearest neighbour, ${W}x${H} 24-bit BMP" \
  "$(bench_time "$LUMACONV" convert "$work/photo.bmp" "$work/o.bmp" --scale 50%)" \
  "ImageMagick -sample 50%=$(bench_time "$IM" "$work/photo.bmp" -sample 50% bmp3:"$work/i.bmp")"

bench_report "Double size, nearest neighbour, ${W}x${H} 24-bit BMP" \
  "$(bench_time "$LUMACONV" convert "$work/photo.bmp" "$work/o.bmp" --scale 200%)" \
  "ImageMagick -sample 200%=$(bench_time "$IM" "$work/photo.bmp" -sample 200% bmp3:"$work/i.bmp")"

bench_report "Half size, averaging, ${W}x${H} 24-bit BMP" \
  "$(bench_time "$LUMACONV" convert "$work/photo.bmp" "$work/o.bmp" --scale average-half)" \
  "ImageMagick -scale 50%=$(bench_time "$IM" "$work/photo.bmp" -scale 50% bmp3:"$work/i.bmp")" \
  "vips resize 0.5=$(bench_time vips resize "$work/photo.bmp" "$work/v.bmp" 0.5)"
