#!/usr/bin/env bash
# Whole-process timing of scaling against the peers, on the same
# 12-megapixel 24-bit BMP in the same run, single-threaded: read, scale,
# write a BMP.
#   half and double, nearest neighbour: `lumaconv convert --scale 50%|200%`
#     against ImageMagick `-sample`;
#   half, averaging 2 x 2: `lumaconv convert --scale average-half` against
#     ImageMagick `-scale 50%` and `vips resize 0.5`.
# Prints the best of N runs in source megapixels per second and the ratio of
# ours to the fastest peer.
# usage: bench/scale_bench.sh [lumaconv] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
LUMACONV=${1:-build/native-release/tools/lumaconv/lumaconv}
RUNS=${2:-5}
export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1 VIPS_CONCURRENCY=1
# ImageMagick itself, not a wrapper that may stand before it on the PATH.
IM=/usr/bin/convert
[ -x "$IM" ] || IM=convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
W=4000 H=3000
MP=$(python3 -c "print($W * $H / 1e6)")

"$IM" -size ${W}x${H} -seed 7 plasma:fractal -type truecolor bmp3:"$work/photo.bmp"
cat "$work/photo.bmp" > /dev/null  # cached

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

# The results must agree with the peer's point sampling before timing.
# Rows are stored bottom-up, so halving keeps the odd rows counted from the
# top: ImageMagick's -sample of the flipped image picks the same pixels.
check() {  # name ours.bmp peer.bmp
  local ae
  ae=$(compare -metric AE "$2" "$3" null: 2>&1 || true)
  [ "$ae" = 0 ] || { echo "$1: results differ from the peer in $ae pixels" >&2; exit 1; }
}
"$IM" -size 400x300 -seed 3 plasma:fractal -type truecolor bmp3:"$work/small.bmp"
"$LUMACONV" convert "$work/small.bmp" "$work/ours.bmp" --scale 50% > /dev/null
"$IM" "$work/small.bmp" -flip -sample 50% -flip bmp3:"$work/peer.bmp"
check "half size" "$work/ours.bmp" "$work/peer.bmp"
"$LUMACONV" convert "$work/small.bmp" "$work/ours.bmp" --scale 200% > /dev/null
"$IM" "$work/small.bmp" -sample 200% bmp3:"$work/peer.bmp"
check "double size" "$work/ours.bmp" "$work/peer.bmp"
rm -f "$work/ours.bmp" "$work/peer.bmp"

ours=$(best "$LUMACONV" convert "$work/photo.bmp" "$work/o.bmp" --scale 50%)
im=$(best "$IM" "$work/photo.bmp" -sample 50% bmp3:"$work/i.bmp")
report "Half size, nearest neighbour, ${W}x${H} 24-bit BMP" "$ours" "ImageMagick -sample 50%" "$im"

ours=$(best "$LUMACONV" convert "$work/photo.bmp" "$work/o.bmp" --scale 200%)
im=$(best "$IM" "$work/photo.bmp" -sample 200% bmp3:"$work/i.bmp")
report "Double size, nearest neighbour, ${W}x${H} 24-bit BMP" "$ours" "ImageMagick -sample 200%" "$im"

ours=$(best "$LUMACONV" convert "$work/photo.bmp" "$work/o.bmp" --scale average-half)
im=$(best "$IM" "$work/photo.bmp" -scale 50% bmp3:"$work/i.bmp")
vp=$(best vips resize "$work/photo.bmp" "$work/v.bmp" 0.5)
report "Half size, averaging, ${W}x${H} 24-bit BMP" "$ours" "ImageMagick -scale 50%" "$im" "vips resize 0.5" "$vp"
