#!/usr/bin/env bash
# Whole-process timing of the Targa reader and writer against the peers, on
# the same 12-megapixel 24-bit run-length coded image in the same run,
# single-threaded.
# Decode: `lumaconv info` / `convert x.tga null:` / `gm convert x.tga null:`
#         / `tgatoppm`.  Encode: `lumaconv convert x.tga y.tga --compress`
# (a decode and a coded write) against the same round trip in each peer, and
# pamtotga from a PPM.  Prints the best of N runs in megapixels per second
# and the ratio of ours to the fastest peer.
# usage: bench/tga_bench.sh [lumaconv] [runs]
#   (a Release build: cmake -S . -B build/tga-release -G Ninja
#    -DCMAKE_BUILD_TYPE=Release && cmake --build build/tga-release --target lumaconv)
set -euo pipefail
cd "$(dirname "$0")/.."
LUMACONV=${1:-build/tga-release/tools/lumaconv/lumaconv}
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

best() {  # best wall time of RUNS runs of "$@", in seconds
  local t best=999
  for _ in $(seq "$RUNS"); do
    /usr/bin/time -f %e -o "$work/time" "$@" > /dev/null 2>&1
    t=$(tail -n 1 "$work/time")
    best=$(python3 -c "print(min($best, $t))")
  done
  echo "$best"
}

rate() { python3 -c "print('%.1f' % ($MP / max($1, 0.001)))"; }

report() {  # title ours peers...
  local title=$1 ours=$2; shift 2
  printf '%s\n  %-34s %8s MP/s\n' "$title" "lumaconv" "$(rate "$ours")"
  local fastest=999
  while [ $# -gt 0 ]; do
    printf '  %-34s %8s MP/s\n' "$1" "$(rate "$2")"
    fastest=$(python3 -c "print(min($fastest, $2))"); shift 2
  done
  printf '  ratio to the fastest peer: %s\n' "$(python3 -c "print('%.2f' % ($fastest / max($ours, 0.001)))")"
}

ours_dec=$(best "$LUMACONV" info "$work/photo.tga")
im_dec=$(best $IM "$work/photo.tga" null:)
gm_dec=$(best gm convert "$work/photo.tga" null:)
pbm_dec=$(best tgatoppm "$work/photo.tga")
report "24-bit Targa RLE decode, ${W}x${H}" "$ours_dec" "ImageMagick convert" "$im_dec" "GraphicsMagick gm" "$gm_dec" \
  "netpbm tgatoppm" "$pbm_dec"

ours_enc=$(best "$LUMACONV" convert "$work/photo.tga" "$work/out.tga" --compress)
im_enc=$(best $IM "$work/photo.tga" -compress RLE "$work/im.tga")
gm_enc=$(best gm convert "$work/photo.tga" -compress RLE "$work/gm.tga")
pbm_enc=$(best sh -c "pamtotga -rgb '$work/photo.ppm' > '$work/pbm.tga'")
report "24-bit Targa RLE encode (read and write), ${W}x${H}" "$ours_enc" "ImageMagick convert" "$im_enc" \
  "GraphicsMagick gm" "$gm_enc" "netpbm pamtotga (from PPM)" "$pbm_enc"
