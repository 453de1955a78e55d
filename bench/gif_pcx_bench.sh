#!/usr/bin/env bash
# Whole-process decode and encode timings of the GIF and PCX codecs against
# their peers on one 12-megapixel image, single-threaded, in the same run.
# Decode: `lumaconv info FILE` against giftopnm / gif2rgb / pcxtoppm,
# ImageMagick and GraphicsMagick writing PPM to /dev/null.  Encode:
# `lumaconv convert` from a PCX of the same depth (a fast decode) against
# the peers' own conversions.  Each figure is the best of $RUNS runs.
# usage: bench/gif_pcx_bench.sh [build-dir (Release)] [runs]
#   (build-dir defaults to $LC_BENCH_BUILD, else build/gif-release)
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/bench_lib.sh
LUMACONV=$(LC_BENCH_BUILD=${1:-${LC_BENCH_BUILD:-}} bench_lumaconv build/gif-release)
RUNS=${2:-3}
bench_start
cd "$work"

echo "making a ${W}x${H} photo-like test image..."
bench_photo photo.ppm -blur 0x1 -attenuate 0.4 +noise Gaussian
convert photo.ppm -colors 256 photo8.ppm
"$LUMACONV" convert photo8.ppm photo8.pcx >/dev/null 2>&1 || ppmtopcx -8bit photo8.ppm > photo8.pcx 2>/dev/null
pamtogif photo8.ppm > photo.gif 2>/dev/null
ppmtopcx -24bit photo.ppm > photo24.pcx 2>/dev/null

bench_report "GIF decode, 8 bits" "$(bench_time "$LUMACONV" info photo.gif)" \
  "giftopnm=$(bench_time giftopnm photo.gif)" \
  "gif2rgb=$(bench_time gif2rgb -1 -o "$work/rgb.out" photo.gif)" \
  "imagemagick=$(bench_time convert photo.gif ppm:/dev/null)" \
  "graphicsmagick=$(bench_time gm convert photo.gif ppm:/dev/null)"

bench_report "PCX decode, 24 bits (3 planes)" "$(bench_time "$LUMACONV" info photo24.pcx)" \
  "pcxtoppm=$(bench_time pcxtoppm photo24.pcx)" \
  "imagemagick=$(bench_time convert photo24.pcx ppm:/dev/null)" \
  "graphicsmagick=$(bench_time gm convert photo24.pcx ppm:/dev/null)"

bench_report "PCX decode, 8 bits" "$(bench_time "$LUMACONV" info photo8.pcx)" \
  "pcxtoppm=$(bench_time pcxtoppm photo8.pcx)" \
  "imagemagick=$(bench_time convert photo8.pcx ppm:/dev/null)" \
  "graphicsmagick=$(bench_time gm convert photo8.pcx ppm:/dev/null)"

bench_report "GIF encode, 8 bits (from an 8-bit PCX)" "$(bench_time "$LUMACONV" convert photo8.pcx out.gif)" \
  "pamtogif=$(bench_time sh -c "pamtogif photo8.ppm > /dev/null")" \
  "imagemagick=$(bench_time convert photo8.pcx out-im.gif)" \
  "graphicsmagick=$(bench_time gm convert photo8.pcx out-gm.gif)"

bench_report "PCX encode, 24 bits (from a 24-bit PCX)" "$(bench_time "$LUMACONV" convert photo24.pcx out.pcx)" \
  "ppmtopcx=$(bench_time sh -c "ppmtopcx -24bit photo.ppm > /dev/null")" \
  "imagemagick=$(bench_time convert photo24.pcx out-im.pcx)" \
  "graphicsmagick=$(bench_time gm convert photo24.pcx out-gm.pcx)"
