#!/usr/bin/env bash
# Whole-process timing of the image operations against the peers, on the
# same 12-megapixel photo in the same run, single-threaded: read, operate,
# write.  lumaconv reads and writes a 24-bit BMP, netpbm and vips a PPM
# (both raw formats), ImageMagick the PPM too.
#   invert, flip, mirror, quarter turn, crop, tile 2 x 2, frame of 20:
#     netpbm (pnminvert, pamflip, pamcut, pnmtile, pnmpad) and vips;
#   free rotation by 30 degrees (high quality) and half size (high
#     quality, area averaging): vips rotate / vips resize and ImageMagick.
# Prints the best of N runs in source megapixels per second and the ratio of
# ours to the fastest peer, wall clock and CPU.
# usage: bench/image_ops_bench.sh [lumaconv] [runs]
#   (lumaconv defaults to the one of $LC_BENCH_BUILD, else build/native-release)
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/bench_lib.sh
LUMACONV=${1:-$(bench_lumaconv build/native-release)}
RUNS=${2:-5}
bench_start

bench_photo bmp3:"$work/photo.bmp" -type truecolor
bmptopnm "$work/photo.bmp" > "$work/photo.ppm" 2>/dev/null
cat "$work/photo.bmp" "$work/photo.ppm" > /dev/null  # cached

# Where a peer computes the same pixels, ours must agree before timing.
"$IM" -size 301x203 -seed 3 plasma:fractal -type truecolor bmp3:"$work/small.bmp"
bmptopnm "$work/small.bmp" > "$work/small.ppm" 2>/dev/null
check() {  # name "lumaconv options" "peer command writing $work/peer.ppm"
  "$LUMACONV" convert "$work/small.bmp" "$work/ours.bmp" $2 > /dev/null
  sh -c "$3"
  local ae
  ae=$(compare -metric AE "$work/ours.bmp" "$work/peer.ppm" null: 2>&1 || true)
  [ "$ae" = 0 ] || { echo "$1: results differ from the peer in $ae pixels" >&2; exit 1; }
}
s=$work/small.ppm p=$work/peer.ppm
check invert "--invert" "pnminvert $s > $p"
check flip "--flip" "pamflip -tb $s > $p"
check mirror "--mirror" "pamflip -lr $s > $p"
check "quarter turn" "--rotate 90" "pamflip -cw $s > $p"
check crop "--crop 10,10,10,10" "pamcut -left 10 -top 10 -width 281 -height 183 $s > $p"
check tile "--tile 2x2" "pnmtile 602 406 $s > $p"
check frame "--frame 20,20,20,20 --frame-fill 0,0,0" "pnmpad -black -left 20 -right 20 -top 20 -bottom 20 $s > $p"
rm -f "$work/ours.bmp" "$p"

in=$work/photo.bmp ppm=$work/photo.ppm o=$work/o.bmp n=$work/n.ppm v=$work/v.ppm
ours() { bench_time "$LUMACONV" convert "$in" "$o" "$@"; }
netpbm() { bench_time sh -c "$1 > '$n'"; }

bench_report "Invert, ${W}x${H} 24-bit" "$(ours --invert)" \
  "netpbm pnminvert=$(netpbm "pnminvert $ppm")" \
  "vips invert=$(bench_time vips invert "$ppm" "$v")"

bench_report "Flip, ${W}x${H} 24-bit" "$(ours --flip)" \
  "netpbm pamflip -tb=$(netpbm "pamflip -tb $ppm")" \
  "vips flip vertical=$(bench_time vips flip "$ppm" "$v" vertical)"

bench_report "Mirror, ${W}x${H} 24-bit" "$(ours --mirror)" \
  "netpbm pamflip -lr=$(netpbm "pamflip -lr $ppm")" \
  "vips flip horizontal=$(bench_time vips flip "$ppm" "$v" horizontal)"

bench_report "Quarter turn clockwise, ${W}x${H} 24-bit" "$(ours --rotate 90)" \
  "netpbm pamflip -cw=$(netpbm "pamflip -cw $ppm")" \
  "vips rot d90=$(bench_time vips rot "$ppm" "$v" d90)"

cw=$((W - 200)) ch=$((H - 200))
bench_report "Crop 100 all round, ${W}x${H} 24-bit" "$(ours --crop 100,100,100,100)" \
  "netpbm pamcut=$(netpbm "pamcut -left 100 -top 100 -width $cw -height $ch $ppm")" \
  "vips extract_area=$(bench_time vips extract_area "$ppm" "$v" 100 100 $cw $ch)"

bench_report "Tile 2 x 2, ${W}x${H} 24-bit" "$(ours --tile 2x2)" \
  "netpbm pnmtile=$(netpbm "pnmtile $((2 * W)) $((2 * H)) $ppm")" \
  "vips replicate=$(bench_time vips replicate "$ppm" "$v" 2 2)"

bench_report "Frame of 20 all round, ${W}x${H} 24-bit" "$(ours --frame 20,20,20,20)" \
  "netpbm pnmpad=$(netpbm "pnmpad -black -left 20 -right 20 -top 20 -bottom 20 $ppm")" \
  "vips embed=$(bench_time vips embed "$ppm" "$v" 20 20 $((W + 40)) $((H + 40)))"

bench_report "Free rotation 30 degrees, high quality, ${W}x${H} 24-bit" "$(ours --rotate 30 --rotate-quality high)" \
  "vips rotate 30=$(bench_time vips rotate "$ppm" "$v" 30)" \
  "ImageMagick -rotate 30=$(bench_time "$IM" "$ppm" -rotate 30 "$v")"

bench_report "Half size, high quality, ${W}x${H} 24-bit" "$(ours --scale 50% --scale-quality high)" \
  "vips resize 0.5=$(bench_time vips resize "$ppm" "$v" 0.5)" \
  "ImageMagick -scale 50%=$(bench_time "$IM" "$ppm" -scale 50% "$v")"
