#!/usr/bin/env bash
# Whole-process timing of the stylize filters against the peers, on the
# same 12-megapixel 24-bit BMP in the same run, single-threaded: read,
# filter, write a BMP (netpbm reads and writes its own PPM).
#   Posterize and Solarize against ImageMagick -posterize and -solarize;
#   Motion Blur (15 taps) against ImageMagick -motion-blur 15x5;
#   Find Edges against ImageMagick -edge 1 and netpbm pamedge;
#   Mosaic (16-pixel blocks) against vips subsample plus zoom.
# The algorithms differ: this is speed only.  Then the time of each of the
# 39 filters on the same picture, and of the plain conversion they all
# include.  Best of N runs; the ratio is the fastest peer's time over ours.
# Every run writes a file that does not exist yet: replacing one makes
# ext4 flush it to disk on close or rename, a wait that would swamp the
# filters being timed.
# usage: bench/style_bench.sh [lumaconv] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/bench_lib.sh
LUMACONV=${1:-build/native-release/tools/lumaconv/lumaconv}
RUNS=${2:-5}
bench_start
[ -x "$LUMACONV" ] || { echo "no lumaconv at $LUMACONV (a Release build)" >&2; exit 1; }

bench_photo bmp3:"$work/photo.bmp" -type truecolor
"$IM" "$work/photo.bmp" "$work/photo.ppm"
cat "$work/photo.bmp" "$work/photo.ppm" > /dev/null  # cached

# bench_time of a command writing the file given first, removed before each run.
fresh() {  # output command...
  bench_time sh -c 'rm -f "$1"; shift; exec "$@"' sh "$@"
}

ours() {  # filter options...
  fresh "$work/o.bmp" "$LUMACONV" convert "$work/photo.bmp" "$work/o.bmp" "$@"
}

bench_report "Posterize (p1 64: 5 levels), ${W}x${H} 24-bit BMP" \
  "$(ours --filter Posterize --p1 64)" \
  "ImageMagick -posterize 5=$(fresh "$work/i.bmp" "$IM" "$work/photo.bmp" -posterize 5 bmp3:"$work/i.bmp")"

bench_report "Solarize (half), ${W}x${H} 24-bit BMP" \
  "$(ours --filter Solarize --amount 8192)" \
  "ImageMagick -solarize 50%=$(fresh "$work/i.bmp" "$IM" "$work/photo.bmp" -solarize 50% bmp3:"$work/i.bmp")"

bench_report "Motion Blur (15 taps), ${W}x${H} 24-bit BMP" \
  "$(ours --filter 'Motion Blur' --p1 64)" \
  "ImageMagick -motion-blur 15x5=$(fresh "$work/i.bmp" "$IM" "$work/photo.bmp" -motion-blur 15x5+90 bmp3:"$work/i.bmp")"

bench_report "Find Edges, ${W}x${H} 24-bit BMP (netpbm: PPM)" \
  "$(ours --filter 'Find Edges' --filter-color 255,255,255)" \
  "ImageMagick -edge 1=$(fresh "$work/i.bmp" "$IM" "$work/photo.bmp" -edge 1 bmp3:"$work/i.bmp")" \
  "netpbm pamedge=$(fresh "$work/e.ppm" sh -c "pamedge '$work/photo.ppm' > '$work/e.ppm'")"

bench_report "Mosaic (16-pixel blocks), ${W}x${H} 24-bit BMP" \
  "$(ours --filter Mosaic --amount 15360)" \
  "vips subsample + zoom=$(fresh "$work/z.bmp" sh -c "rm -f '$work/s.v'; vips subsample '$work/photo.bmp' '$work/s.v' 16 16 && vips zoom '$work/s.v' '$work/z.bmp' 16 16")"

echo
echo "Every filter at its defaults (amount 16384), ${W}x${H} 24-bit BMP, best of $RUNS"
printf '  %-3s %-24s %8s %8s\n' "#" "filter" "wall s" "cpu s"
t=$(fresh "$work/o.bmp" "$LUMACONV" convert "$work/photo.bmp" "$work/o.bmp")
printf '  %-3s %-24s %8s %8s\n' "-" "(conversion only)" ${t}
"$LUMACONV" filters | while IFS=$'\t' read -r n name _; do
  t=$(ours --filter "$n")
  printf '  %-3s %-24s %8s %8s\n' "$n" "$name" ${t}
done
