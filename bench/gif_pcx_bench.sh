#!/usr/bin/env bash
# Whole-process decode and encode timings of the GIF and PCX codecs against
# their peers on one 12-megapixel image, single-threaded, in the same run.
# Decode: `lumaconv info FILE` against giftopnm / gif2rgb / pcxtoppm,
# ImageMagick and GraphicsMagick writing PPM to /dev/null.  Encode:
# `lumaconv convert` from a PCX of the same depth (a fast decode) against
# the peers' own conversions.  Each figure is the best of $RUNS runs.
# usage: bench/gif_pcx_bench.sh [build-dir (Release)] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build/gif-release}
RUNS=${2:-3}
LUMACONV=$PWD/$BUILD/tools/lumaconv/lumaconv
[ -x "$LUMACONV" ] || { echo "no lumaconv in $BUILD (configure with -DCMAKE_BUILD_TYPE=Release)"; exit 1; }
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1
W=4000 H=3000
MP=$(awk "BEGIN{print $W*$H/1e6}")
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
cd "$work"

echo "making a ${W}x${H} photo-like test image..."
convert -size ${W}x${H} -seed 7 plasma:fractal -blur 0x1 -attenuate 0.4 +noise Gaussian photo.ppm
convert photo.ppm -colors 256 photo8.ppm
"$LUMACONV" convert photo8.ppm photo8.pcx >/dev/null 2>&1 || ppmtopcx -8bit photo8.ppm > photo8.pcx 2>/dev/null
pamtogif photo8.ppm > photo.gif 2>/dev/null
ppmtopcx -24bit photo.ppm > photo24.pcx 2>/dev/null

best() { # command... -> best wall seconds
  local t best=
  for _ in $(seq "$RUNS"); do
    local s=$(date +%s.%N)
    "$@" >/dev/null 2>&1 || { echo "FAILED: $*" >&2; echo 0; return; }
    local e=$(date +%s.%N)
    t=$(awk "BEGIN{print $e-$s}")
    if [ -z "$best" ] || awk "BEGIN{exit !($t<$best)}"; then best=$t; fi
  done
  echo "$best"
}

report() { # title ours-seconds ours-with-huge-pages-seconds name=seconds...
  local title=$1 ours=$2 thp=$3; shift 3
  printf '\n%s (%s MP)\n' "$title" "$MP"
  printf '  %-16s %8.3f s %8.1f MP/s\n' lumaconv "$ours" "$(awk "BEGIN{print $MP/$ours}")"
  # For orientation only: the same run with glibc's malloc asking for huge
  # pages, which shows what page faults on fresh memory cost here.
  printf '  %-16s %8.3f s %8.1f MP/s\n' "lumaconv (THP)" "$thp" "$(awk "BEGIN{print $MP/$thp}")"
  local fastest=
  for pair in "$@"; do
    local name=${pair%%=*} t=${pair#*=}
    awk "BEGIN{exit !($t>0)}" || { printf '  %-16s   failed\n' "$name"; continue; }
    printf '  %-16s %8.3f s %8.1f MP/s   lumaconv is %.2fx\n' "$name" "$t" "$(awk "BEGIN{print $MP/$t}")" \
      "$(awk "BEGIN{print $t/$ours}")"
    if [ -z "$fastest" ] || awk "BEGIN{exit !($t<$fastest)}"; then fastest=$t; fi
  done
  printf '  ratio to the fastest peer: %.2fx\n' "$(awk "BEGIN{print $fastest/$ours}")"
}

sh_to_null() { sh -c "$1 > /dev/null"; }

report "GIF decode, 8 bits" "$(best "$LUMACONV" info photo.gif)" "$(best env GLIBC_TUNABLES=glibc.malloc.hugetlb=1 "$LUMACONV" info photo.gif)" \
  giftopnm="$(best giftopnm photo.gif)" \
  gif2rgb="$(best gif2rgb -1 -o "$work/rgb.out" photo.gif)" \
  imagemagick="$(best convert photo.gif ppm:/dev/null)" \
  graphicsmagick="$(best gm convert photo.gif ppm:/dev/null)"

report "PCX decode, 24 bits (3 planes)" "$(best "$LUMACONV" info photo24.pcx)" "$(best env GLIBC_TUNABLES=glibc.malloc.hugetlb=1 "$LUMACONV" info photo24.pcx)" \
  pcxtoppm="$(best pcxtoppm photo24.pcx)" \
  imagemagick="$(best convert photo24.pcx ppm:/dev/null)" \
  graphicsmagick="$(best gm convert photo24.pcx ppm:/dev/null)"

report "PCX decode, 8 bits" "$(best "$LUMACONV" info photo8.pcx)" "$(best env GLIBC_TUNABLES=glibc.malloc.hugetlb=1 "$LUMACONV" info photo8.pcx)" \
  pcxtoppm="$(best pcxtoppm photo8.pcx)" \
  imagemagick="$(best convert photo8.pcx ppm:/dev/null)" \
  graphicsmagick="$(best gm convert photo8.pcx ppm:/dev/null)"

report "GIF encode, 8 bits (from an 8-bit PCX)" "$(best "$LUMACONV" convert photo8.pcx out.gif)" "$(best env GLIBC_TUNABLES=glibc.malloc.hugetlb=1 "$LUMACONV" convert photo8.pcx out.gif)" \
  pamtogif="$(best sh_to_null "pamtogif photo8.ppm")" \
  imagemagick="$(best convert photo8.pcx out-im.gif)" \
  graphicsmagick="$(best gm convert photo8.pcx out-gm.gif)"

report "PCX encode, 24 bits (from a 24-bit PCX)" "$(best "$LUMACONV" convert photo24.pcx out.pcx)" "$(best env GLIBC_TUNABLES=glibc.malloc.hugetlb=1 "$LUMACONV" convert photo24.pcx out.pcx)" \
  ppmtopcx="$(best sh_to_null "ppmtopcx -24bit photo.ppm")" \
  imagemagick="$(best convert photo24.pcx out-im.pcx)" \
  graphicsmagick="$(best gm convert photo24.pcx out-gm.pcx)"
