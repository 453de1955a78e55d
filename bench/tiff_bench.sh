#!/usr/bin/env bash
# Whole-process timing of the TIFF reader and writer against the peers, on
# the same 12-megapixel images in the same run, single-threaded:
#   PackBits: a 24-bit photo-like image;  Group 4: a bilevel one.
# Decode: `lumaconv info x.tif` / `convert x.tif null:` / `gm convert
#         x.tif null:` / `tiffcp -c none` (decode and a raw write).
# Encode: `lumaconv convert x.bmp y.tif --compress` (a BMP read and a coded
#         write) against the same conversion in each peer, and tiffcp from
#         an uncompressed TIFF.
# Times are processor time (user + system) of the whole process, the best
# of N runs: on a shared machine wall time mostly measures the neighbours.
# Prints megapixels per second, and for each test
# the ratio of our time to the fastest converting peer (ImageMagick or
# GraphicsMagick; the target is 0.5 or less) and to tiffcp (target 1.5 or
# less).
# usage: bench/tiff_bench.sh [lumaconv] [runs]
#   (a Release build: cmake -S . -B build/tiff-release -G Ninja
#    -DCMAKE_BUILD_TYPE=Release -DLC_BUILD_TESTS=OFF &&
#    cmake --build build/tiff-release --target lumaconv)
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/bench_lib.sh
LUMACONV=${1:-build/tiff-release/tools/lumaconv/lumaconv}
RUNS=${2:-5}
bench_start

# Photo-like colour (smooth gradients with noise) and a bilevel page of
# small blobs (about 0.5 MB in Group 4); each as BMP (the encoders' input), uncompressed TIFF
# (tiffcp's input) and coded TIFF (the decoders' input).
bench_photo BMP3:"$work/photo.bmp" -depth 8 -type truecolor
$IM -size ${W}x${H} -seed 3 xc:gray50 +noise Random -colorspace gray -blur 0x2 -threshold 50% -type bilevel BMP3:"$work/page.bmp"
$IM "$work/photo.bmp" -compress None "$work/photo_none.tif"
$IM "$work/page.bmp" -compress None "$work/page_none.tif"
tiffcp -c packbits "$work/photo_none.tif" "$work/photo.tif"
tiffcp -c g4 "$work/page_none.tif" "$work/page.tif"
cat "$work"/* > /dev/null  # cached

report() {  # title ours im gm tiffcp
  printf '%s\n' "$1"
  printf '  %-30s %8s MP/s\n' "lumaconv" "$(bench_rate "$2")" "ImageMagick convert" "$(bench_rate "$3")" \
    "GraphicsMagick gm" "$(bench_rate "$4")" "tiffcp" "$(bench_rate "$5")"
  local fastest; fastest=$(python3 -c "print(min($3, $4))")
  printf '  our time / fastest converter: %s   our time / tiffcp: %s\n' "$(bench_ratio "$2" "$fastest")" \
    "$(bench_ratio "$2" "$5")"
}

report "PackBits 24-bit decode, ${W}x${H}" \
  "$(bench_cpu "$LUMACONV" info "$work/photo.tif")" \
  "$(bench_cpu $IM "$work/photo.tif" null:)" \
  "$(bench_cpu gm convert "$work/photo.tif" null:)" \
  "$(bench_cpu tiffcp -c none "$work/photo.tif" "$work/tc.tif")"

report "Group 4 bilevel decode, ${W}x${H}" \
  "$(bench_cpu "$LUMACONV" info "$work/page.tif")" \
  "$(bench_cpu $IM "$work/page.tif" null:)" \
  "$(bench_cpu gm convert "$work/page.tif" null:)" \
  "$(bench_cpu tiffcp -c none "$work/page.tif" "$work/tc.tif")"

report "PackBits 24-bit encode (BMP in), ${W}x${H}" \
  "$(bench_cpu "$LUMACONV" convert "$work/photo.bmp" "$work/out.tif" --compress --set tif_24_bit_compression=1)" \
  "$(bench_cpu $IM "$work/photo.bmp" -compress RLE "$work/im.tif")" \
  "$(bench_cpu gm convert "$work/photo.bmp" -compress RLE "$work/gm.tif")" \
  "$(bench_cpu tiffcp -c packbits "$work/photo_none.tif" "$work/tc.tif")"

report "Group 4 bilevel encode (BMP in), ${W}x${H}" \
  "$(bench_cpu "$LUMACONV" convert "$work/page.bmp" "$work/out.tif" --compress --set tif_1_bit_compression=4)" \
  "$(bench_cpu $IM "$work/page.bmp" -compress Group4 "$work/im.tif")" \
  "$(bench_cpu gm convert "$work/page.bmp" -compress Group4 "$work/gm.tif")" \
  "$(bench_cpu tiffcp -c g4 "$work/page_none.tif" "$work/tc.tif")"
