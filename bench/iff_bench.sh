#!/usr/bin/env bash
# Whole-process timing of the ILBM reader and writer against the peers, on
# the same 12-megapixel deep (24-plane) image in the same run, single-
# threaded.  ImageMagick and GraphicsMagick read and write no ILBM, so the
# peers are netpbm's ilbmtoppm and ppmtoilbm.
# Decode: `lumaconv info` / `ilbmtoppm`, on a ByteRun1 file and a raw one.
# Encode: `lumaconv convert x.iff y.iff` (a decode and a write) against
# `ilbmtoppm | ppmtoilbm -24force -nocompress`, and ppmtoilbm from a PPM.
# Prints the best of N runs in megapixels per second and the ratio of ours
# to the fastest peer.
# usage: bench/iff_bench.sh [lumaconv] [runs]
#   (a Release build: cmake -S . -B build/iff-release -G Ninja
#    -DCMAKE_BUILD_TYPE=Release && cmake --build build/iff-release --target lumaconv)
set -euo pipefail
cd "$(dirname "$0")/.."
LUMACONV=${1:-build/iff-release/tools/lumaconv/lumaconv}
RUNS=${2:-5}
IM=/usr/bin/convert   # ImageMagick itself, not a wrapper earlier on PATH
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
W=4000 H=3000
MP=$(python3 -c "print($W * $H / 1e6)")

# A photo-like image (smooth gradients with noise), as deep ILBM files made
# by netpbm, coded and raw.
$IM -size ${W}x${H} -seed 7 plasma:fractal -depth 8 "$work/photo.ppm"
ppmtoilbm -24force -compress   "$work/photo.ppm" > "$work/rle.iff" 2>/dev/null
ppmtoilbm -24force -nocompress "$work/photo.ppm" > "$work/raw.iff" 2>/dev/null
cat "$work"/* > /dev/null  # cached

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
  printf '%s\n  %-40s %8s MP/s\n' "$title" "lumaconv" "$(rate "$ours")"
  local fastest=999
  while [ $# -gt 0 ]; do
    printf '  %-40s %8s MP/s\n' "$1" "$(rate "$2")"
    fastest=$(python3 -c "print(min($fastest, $2))"); shift 2
  done
  printf '  ratio to the fastest peer: %s\n' "$(python3 -c "print('%.2f' % ($fastest / max($ours, 0.001)))")"
}

for kind in rle raw; do
  ours=$(best "$LUMACONV" info "$work/$kind.iff")
  peer=$(best ilbmtoppm "$work/$kind.iff")
  report "Deep ILBM ($kind) decode, ${W}x${H}" "$ours" "netpbm ilbmtoppm" "$peer"
done

ours_enc=$(best "$LUMACONV" convert "$work/rle.iff" "$work/out.iff")
pbm_trip=$(best sh -c "ilbmtoppm '$work/rle.iff' 2>/dev/null | ppmtoilbm -24force -nocompress > '$work/pbm.iff' 2>/dev/null")
pbm_enc=$(best sh -c "ppmtoilbm -24force -nocompress '$work/photo.ppm' > '$work/pbm2.iff' 2>/dev/null")
report "Deep ILBM encode (read and write), ${W}x${H}" "$ours_enc" "netpbm ilbmtoppm | ppmtoilbm" "$pbm_trip" \
  "netpbm ppmtoilbm (from PPM)" "$pbm_enc"
