#!/usr/bin/env bash
# Whole-process timing of the BMP reader and writer against the peers, on
# the same 12-megapixel 24-bit image in the same run, single-threaded.
# Decode: `lumaconv info` / `convert x.bmp null:` / `gm convert x.bmp null:`
#         / `bmptopnm`.  Encode: `lumaconv convert x.bmp y.bmp` (a decode and
# an encode) against the same round trip in each peer, and ppmtobmp from
# a PPM.  Prints the best of N runs in megapixels per second and the ratio
# of ours to the fastest peer.
# usage: bench/bmp_bench.sh [lumaconv] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
LUMACONV=${1:-build/native-release/tools/lumaconv/lumaconv}
RUNS=${2:-5}
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
W=4000 H=3000
MP=$(python3 -c "print($W * $H / 1e6)")

# A photo-like 24-bit image: smooth gradients with noise.
convert -size ${W}x${H} -seed 7 plasma:fractal -type truecolor bmp3:"$work/photo.bmp"
bmptopnm "$work/photo.bmp" > "$work/photo.ppm" 2>/dev/null
cat "$work/photo.bmp" "$work/photo.ppm" > /dev/null  # cached

best() {  # best wall time of RUNS runs of "$@", in seconds
  python3 - "$RUNS" "$@" <<'PY'
import subprocess, sys, time
runs, cmd = int(sys.argv[1]), sys.argv[2:]
times = []
for _ in range(runs):
    t = time.perf_counter()
    subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    times.append(time.perf_counter() - t)
print("%.4f" % min(times))
PY
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

ours_dec=$(best "$LUMACONV" info "$work/photo.bmp")
im_dec=$(best convert "$work/photo.bmp" null:)
gm_dec=$(best gm convert "$work/photo.bmp" null:)
pbm_dec=$(best bmptopnm "$work/photo.bmp")
report "24-bit BMP decode, ${W}x${H}" "$ours_dec" "ImageMagick convert" "$im_dec" "GraphicsMagick gm" "$gm_dec" \
  "netpbm bmptopnm" "$pbm_dec"

ours_enc=$(best "$LUMACONV" convert "$work/photo.bmp" "$work/out.bmp")
im_enc=$(best convert "$work/photo.bmp" bmp3:"$work/im.bmp")
gm_enc=$(best gm convert "$work/photo.bmp" bmp3:"$work/gm.bmp")
pbm_enc=$(best sh -c "ppmtobmp -bpp=24 '$work/photo.ppm' > '$work/pbm.bmp'")
report "24-bit BMP encode (read and write), ${W}x${H}" "$ours_enc" "ImageMagick convert" "$im_enc" \
  "GraphicsMagick gm" "$gm_enc" "netpbm ppmtobmp (from PPM)" "$pbm_enc"
