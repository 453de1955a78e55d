#!/usr/bin/env bash
# Whole-process timing of the JPEG plug-in (through lumaconv) against the
# peers, on the same 12-megapixel photo-like image in the same run,
# single-threaded.
# Decode: `lumaconv info x.jpg` / `djpeg x.jpg` / `convert x.jpg null:`
#         / `vips copy x.jpg x.v`.
# Encode: `lumaconv convert x.bmp y.jpg` (a BMP read and a JPEG write at
#         level 10) / `cjpeg` at the matching quality from a PPM /
#         `convert x.ppm y.jpg` / `vips copy x.ppm y.jpg`.
# Prints the best of N runs in megapixels per second and the ratio of our
# time to libjpeg-turbo's tools (goal: at most 1.25) and of ImageMagick's
# and vips' time to ours (goal: at least 3).
# usage: bench/jpeg_bench.sh [lumaconv] [runs]
#   (a Release build: cmake -S . -B build/jpeg-release -G Ninja
#    -DCMAKE_BUILD_TYPE=Release && cmake --build build/jpeg-release --target lumaconv)
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/bench_lib.sh
LUMACONV=${1:-build/jpeg-release/tools/lumaconv/lumaconv}
RUNS=${2:-5}
bench_start

bench_photo "$work/photo.ppm" -blur 0x1 -type truecolor
$IM "$work/photo.ppm" -type truecolor BMP3:"$work/photo.bmp"
# The photo as our level 10 codes it; the peers decode the same file.
"$LUMACONV" convert "$work/photo.bmp" "$work/photo.jpg" > /dev/null 2>&1
cat "$work/photo.ppm" "$work/photo.bmp" "$work/photo.jpg" > /dev/null  # cached

report() {  # title ours libjpeg-name libjpeg-time others...
  local title=$1 ours=$2 refname=$3 ref=$4; shift 4
  printf '%s\n  %-28s %8s MP/s\n  %-28s %8s MP/s\n' "$title" "lumaconv" "$(bench_rate "$ours")" "$refname" "$(bench_rate "$ref")"
  printf '  ours / %s: %s (goal <= 1.25)\n' "$refname" "$(bench_ratio "$ours" "$ref")"
  while [ $# -gt 0 ]; do
    printf '  %-28s %8s MP/s   %s / ours: %s (goal >= 3)\n' "$1" "$(bench_rate "$2")" "$1" "$(bench_ratio "$2" "$ours")"
    shift 2
  done
}

ours_dec=$(bench_wall "$LUMACONV" info "$work/photo.jpg")
djpeg_dec=$(bench_wall djpeg -outfile /dev/null "$work/photo.jpg")
im_dec=$(bench_wall $IM "$work/photo.jpg" null:)
vips_dec=$(bench_wall vips copy "$work/photo.jpg" "$work/photo.v")
report "JPEG decode (4:2:0, level 10), ${W}x${H}" "$ours_dec" "djpeg" "$djpeg_dec" \
  "ImageMagick convert" "$im_dec" "vips copy" "$vips_dec"

# Level 10 is luminance 34, chrominance 38 (x/40 of the standard tables),
# about what cjpeg -quality 57 gives.
ours_enc=$(bench_wall "$LUMACONV" convert "$work/photo.bmp" "$work/out.jpg")
cjpeg_enc=$(bench_wall cjpeg -quality 57 -outfile "$work/c.jpg" "$work/photo.ppm")
im_enc=$(bench_wall $IM "$work/photo.ppm" -quality 57 "$work/i.jpg")
vips_enc=$(bench_wall vips copy "$work/photo.ppm" "$work/v.jpg[Q=57]")
report "JPEG encode (read + code), ${W}x${H}" "$ours_enc" "cjpeg" "$cjpeg_enc" \
  "ImageMagick convert" "$im_enc" "vips copy" "$vips_enc"
ls -l "$work"/out.jpg "$work"/c.jpg | awk '{print "  " $5 " bytes  " $9}'
