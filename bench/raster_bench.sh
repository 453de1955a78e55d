#!/usr/bin/env bash
# Whole-process timing of the Sun raster, SGI and PPM codecs against the
# peers, on the same 12-megapixel photo-like image in the same run,
# single-threaded.
# Sun raster decode: `lumaconv info x.ras` / `convert x.ras null:` /
#   `gm convert x.ras null:` / `rasttopnm`, on a standard 24-bit raster and
#   a byte-encoded 8-bit one.
# SGI run-length decode: the same on a file from pnmtosgi.
# SGI run-length encode: `lumaconv convert x.rgb y.rgb` (a decode and a
#   coded write) against the same round trip in each peer, and pnmtosgi
#   from a PPM.
# PPM decode and encode (P6): the same pattern; netpbm's pnmtopnm both
#   reads and writes.
# Prints the best of N runs in megapixels per second and the ratio of ours
# to the fastest peer (above 1 is faster).
# usage: bench/raster_bench.sh [lumaconv] [runs]
#   (a Release build: cmake -S . -B build/raster-release -G Ninja
#    -DCMAKE_BUILD_TYPE=Release && cmake --build build/raster-release --target lumaconv)
set -euo pipefail
cd "$(dirname "$0")/.."
LUMACONV=${1:-build/raster-release/tools/lumaconv/lumaconv}
RUNS=${2:-5}
IM=/usr/bin/convert   # ImageMagick itself, not a wrapper earlier on PATH
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
W=4000 H=3000
MP=$(python3 -c "print($W * $H / 1e6)")

# A photo-like image (smooth gradients with noise), and from it the files
# each codec reads, written by netpbm.
$IM -size ${W}x${H} -seed 7 plasma:fractal -type truecolor -depth 8 "$work/photo.ppm"
pnmtorast -standard "$work/photo.ppm" > "$work/photo.ras" 2>/dev/null
ppmtopgm "$work/photo.ppm" | pnmtorast > "$work/gray.ras" 2>/dev/null
pnmtosgi -rle "$work/photo.ppm" > "$work/photo.rgb" 2>/dev/null
cat "$work"/photo.* "$work/gray.ras" > /dev/null  # cached

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

decode() {  # title file format-prefix netpbm-reader
  local title=$1 file=$2 prefix=$3 reader=$4
  report "$title" "$(best "$LUMACONV" info "$file")" \
    "ImageMagick convert" "$(best $IM "$prefix:$file" null:)" \
    "GraphicsMagick gm" "$(best gm convert "$prefix:$file" null:)" \
    "netpbm $reader" "$(best sh -c "$reader '$file' > /dev/null")"
}

decode "Sun raster 24-bit decode, ${W}x${H}" "$work/photo.ras" sun rasttopnm
decode "Sun raster 8-bit byte-encoded decode, ${W}x${H}" "$work/gray.ras" sun rasttopnm
decode "SGI run-length decode, ${W}x${H}" "$work/photo.rgb" sgi sgitopnm
decode "PPM (P6) decode, ${W}x${H}" "$work/photo.ppm" ppm pnmtopnm

report "SGI run-length encode (read and write), ${W}x${H}" \
  "$(best "$LUMACONV" convert "$work/photo.rgb" "$work/out.rgb")" \
  "ImageMagick convert" "$(best $IM "sgi:$work/photo.rgb" -compress RLE "sgi:$work/im.rgb")" \
  "GraphicsMagick gm" "$(best gm convert "sgi:$work/photo.rgb" -compress RLE "sgi:$work/gm.rgb")" \
  "netpbm pnmtosgi (from PPM)" "$(best sh -c "pnmtosgi -rle '$work/photo.ppm' > '$work/pbm.rgb'")"

report "PPM (P6) encode (read and write), ${W}x${H}" \
  "$(best "$LUMACONV" convert "$work/photo.ppm" "$work/out.ppm")" \
  "ImageMagick convert" "$(best $IM "$work/photo.ppm" "$work/im.ppm")" \
  "GraphicsMagick gm" "$(best gm convert "$work/photo.ppm" "$work/gm.ppm")" \
  "netpbm pnmtopnm" "$(best sh -c "pnmtopnm '$work/photo.ppm' > '$work/pbm.ppm'")"
