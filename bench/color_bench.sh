#!/usr/bin/env bash
# Whole-process timings of the colour reductions against their peers on one
# 12-megapixel photo-like image, single-threaded, in the same run:
#  - median cut to 256 colours with Floyd-Steinberg, written as GIF
#  - median cut to 16 colours with Floyd-Steinberg, written as GIF
#  - flat cut to the 3-3-2 palette with Floyd-Steinberg, written as GIF
# lumaconv reads a 24-bit BMP, the peers the same pixels as PPM (both are
# raw formats).  Each figure is the best of $RUNS runs.
# A peer still running after $PEER_LIMIT seconds (default 120) is stopped
# and counted as slower than that.
# usage: bench/color_bench.sh [build-dir (Release)] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/bench_lib.sh
LUMACONV=$(LC_BENCH_BUILD=${1:-${LC_BENCH_BUILD:-}} bench_lumaconv build/flat-release)
RUNS=${2:-3}
PEER_LIMIT=${PEER_LIMIT:-120}
bench_start
cd "$work"

echo "making a ${W}x${H} photo-like test image..."
bench_photo photo.ppm -blur 0x1 -attenuate 0.4 +noise Gaussian
convert photo.ppm -type TrueColor BMP3:photo.bmp
# The 3-3-2 palette as a 256-pixel map image for the peers' remapping.
awk 'BEGIN { print "P3 256 1 255"; for (i = 0; i < 256; i++) { r = i % 8; g = int(i / 8) % 8; b = int(i / 64);
             print r * 36 + int(r / 2), g * 36 + int(g / 2), b * 85 } }' > map332.ppm

best() { # command... -> best wall seconds; -1 when stopped at the limit
  local t best=
  for _ in $(seq "$RUNS"); do
    local s=$(date +%s.%N) rc=0
    timeout "$PEER_LIMIT" "$@" >/dev/null 2>&1 || rc=$?
    [ "$rc" = 124 ] && { echo -1; return; }
    [ "$rc" = 0 ] || { echo "FAILED: $*" >&2; echo 0; return; }
    local e=$(date +%s.%N)
    t=$(awk "BEGIN{print $e-$s}")
    if [ -z "$best" ] || awk "BEGIN{exit !($t<$best)}"; then best=$t; fi
  done
  echo "$best"
}

report() { # title target ours-seconds name=seconds...
  local title=$1 target=$2 ours=$3; shift 3
  printf '\n%s (%s MP, target %sx)\n' "$title" "$MP" "$target"
  printf '  %-16s %8.3f s %8.1f MP/s\n' lumaconv "$ours" "$(awk "BEGIN{print $MP/$ours}")"
  local fastest=
  for pair in "$@"; do
    local name=${pair%%=*} t=${pair#*=}
    if [ "$t" = -1 ]; then printf '  %-16s > %5d s (stopped)   lumaconv is > %.0fx\n' "$name" "$PEER_LIMIT" \
      "$(awk "BEGIN{print $PEER_LIMIT/$ours}")"; continue; fi
    awk "BEGIN{exit !($t>0)}" || { printf '  %-16s   failed\n' "$name"; continue; }
    printf '  %-16s %8.3f s %8.1f MP/s   lumaconv is %.2fx\n' "$name" "$t" "$(awk "BEGIN{print $MP/$t}")" \
      "$(awk "BEGIN{print $t/$ours}")"
    if [ -z "$fastest" ] || awk "BEGIN{exit !($t<$fastest)}"; then fastest=$t; fi
  done
  printf '  ratio to the fastest peer: %.2fx\n' "$(awk "BEGIN{print $fastest/$ours}")"
}


report "Median cut, 256 colours, Floyd-Steinberg, to GIF" 4 \
  "$(best "$LUMACONV" convert photo.bmp out.gif --depth 8 --cut optimized --dither fs)" \
  imagemagick="$(best convert photo.ppm -colors 256 -dither FloydSteinberg out-im.gif)" \
  graphicsmagick="$(best gm convert photo.ppm -colors 256 -dither out-gm.gif)" \
  netpbm="$(best sh -c "pnmcolormap 256 photo.ppm > map.ppm && pnmremap -floyd -mapfile=map.ppm photo.ppm | pamtogif > out-np.gif")"

report "Median cut, 16 colours, Floyd-Steinberg, to GIF" 2 \
  "$(best "$LUMACONV" convert photo.bmp out16.gif --depth 4 --cut optimized --dither fs)" \
  imagemagick="$(best convert photo.ppm -colors 16 -dither FloydSteinberg out-im16.gif)" \
  graphicsmagick="$(best gm convert photo.ppm -colors 16 -dither out-gm16.gif)" \
  netpbm="$(best sh -c "pnmcolormap 16 photo.ppm > map16.ppm && pnmremap -floyd -mapfile=map16.ppm photo.ppm | pamtogif > out-np16.gif")"

report "Flat cut to 3-3-2, Floyd-Steinberg, to GIF" 2 \
  "$(best "$LUMACONV" convert photo.bmp flat.gif --depth 8 --cut flat --dither fs)" \
  imagemagick="$(best convert photo.ppm -dither FloydSteinberg -remap map332.ppm flat-im.gif)" \
  graphicsmagick="$(best gm convert photo.ppm -dither -map map332.ppm flat-gm.gif)" \
  netpbm="$(best sh -c "pnmremap -floyd -mapfile=map332.ppm photo.ppm | pamtogif > flat-np.gif")"
