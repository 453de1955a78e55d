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
LUMACONV=${1:-build/tiff-release/tools/lumaconv/lumaconv}
RUNS=${2:-5}
IM=/usr/bin/convert   # ImageMagick itself, not a wrapper earlier on PATH
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
W=4000 H=3000
MP=$(python3 -c "print($W * $H / 1e6)")

# Photo-like colour (smooth gradients with noise) and a bilevel page of
# small blobs (about 0.5 MB in Group 4); each as BMP (the encoders' input), uncompressed TIFF
# (tiffcp's input) and coded TIFF (the decoders' input).
$IM -size ${W}x${H} -seed 7 plasma:fractal -depth 8 -type truecolor BMP3:"$work/photo.bmp"
$IM -size ${W}x${H} -seed 3 xc:gray50 +noise Random -colorspace gray -blur 0x2 -threshold 50% -type bilevel BMP3:"$work/page.bmp"
$IM "$work/photo.bmp" -compress None "$work/photo_none.tif"
$IM "$work/page.bmp" -compress None "$work/page_none.tif"
tiffcp -c packbits "$work/photo_none.tif" "$work/photo.tif"
tiffcp -c g4 "$work/page_none.tif" "$work/page.tif"
cat "$work"/* > /dev/null  # cached

best() {  # best processor time of RUNS runs of "$@", in seconds
  local t best=999
  for _ in $(seq "$RUNS"); do
    /usr/bin/time -f '%U + %S' -o "$work/time" "$@" > /dev/null 2>&1
    t=$(python3 -c "print($(tail -n 1 "$work/time"))")
    best=$(python3 -c "print(min($best, $t))")
  done
  echo "$best"
}

rate() { python3 -c "print('%.1f' % ($MP / max($1, 0.001)))"; }
ratio() { python3 -c "print('%.2f' % (max($1, 0.001) / max($2, 0.001)))"; }

report() {  # title ours im gm tiffcp
  printf '%s\n' "$1"
  printf '  %-30s %8s MP/s\n' "lumaconv" "$(rate "$2")" "ImageMagick convert" "$(rate "$3")" \
    "GraphicsMagick gm" "$(rate "$4")" "tiffcp" "$(rate "$5")"
  local fastest; fastest=$(python3 -c "print(min($3, $4))")
  printf '  our time / fastest converter: %s   our time / tiffcp: %s\n' "$(ratio "$2" "$fastest")" "$(ratio "$2" "$5")"
}

report "PackBits 24-bit decode, ${W}x${H}" \
  "$(best "$LUMACONV" info "$work/photo.tif")" \
  "$(best $IM "$work/photo.tif" null:)" \
  "$(best gm convert "$work/photo.tif" null:)" \
  "$(best tiffcp -c none "$work/photo.tif" "$work/tc.tif")"

report "Group 4 bilevel decode, ${W}x${H}" \
  "$(best "$LUMACONV" info "$work/page.tif")" \
  "$(best $IM "$work/page.tif" null:)" \
  "$(best gm convert "$work/page.tif" null:)" \
  "$(best tiffcp -c none "$work/page.tif" "$work/tc.tif")"

report "PackBits 24-bit encode (BMP in), ${W}x${H}" \
  "$(best "$LUMACONV" convert "$work/photo.bmp" "$work/out.tif" --compress --set tif_24_bit_compression=1)" \
  "$(best $IM "$work/photo.bmp" -compress RLE "$work/im.tif")" \
  "$(best gm convert "$work/photo.bmp" -compress RLE "$work/gm.tif")" \
  "$(best tiffcp -c packbits "$work/photo_none.tif" "$work/tc.tif")"

report "Group 4 bilevel encode (BMP in), ${W}x${H}" \
  "$(best "$LUMACONV" convert "$work/page.bmp" "$work/out.tif" --compress --set tif_1_bit_compression=4)" \
  "$(best $IM "$work/page.bmp" -compress Group4 "$work/im.tif")" \
  "$(best gm convert "$work/page.bmp" -compress Group4 "$work/gm.tif")" \
  "$(best tiffcp -c g4 "$work/page_none.tif" "$work/tc.tif")"
