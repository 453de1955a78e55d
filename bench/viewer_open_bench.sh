#!/usr/bin/env bash
# Whole-process timing of opening a picture in the program: lumacast.exe
# /NOLOGO big.bmp under Wine, closed after the first complete paint of its
# image window (LC_EXIT_AFTER_PAINT=1), against lumaconv.exe info big.bmp
# under Wine (the same decode, no window) in the same run, on the same
# 12-megapixel 24-bit BMP.  The ratio is lumacast's time over lumaconv's:
# what opening a window and painting adds to the decode.
# Then the cost of a scroll step on that image (a screen bitmap is made
# once; a step moves pixels and paints the strip that comes into view).
# usage: bench/viewer_open_bench.sh [win64-build-dir] [runs]
set -euo pipefail
cd "$(dirname "$0")/.."
. bench/bench_lib.sh
BUILD=${1:-build/win64}
RUNS=${2:-5}
bench_start
BIN=$BUILD/bin
[ -f "$BIN/lumacast.exe" ] && [ -f "$BIN/lumaconv.exe" ] || { echo "build $BUILD first (make windows)" >&2; exit 2; }

bench_photo bmp3:"$work/big.bmp" -type truecolor
BIG="Z:$(realpath "$work/big.bmp" | sed 's|/|\\|g')"
cat "$work/big.bmp" > /dev/null

. tools/wine/wine_env.sh
trap 'wine_ci_down; rm -rf "$work"' EXIT
wine_ci_up "$BUILD" >/dev/null || exit 1
# The first start of each program fills Wine's caches.
LC_EXIT_AFTER_PAINT=1 "$WINE64" "$BIN/lumacast.exe" /NOLOGO "$BIG" </dev/null >/dev/null 2>&1 || true
"$WINE64" "$BIN/lumaconv.exe" info "$BIG" </dev/null >/dev/null 2>&1 || true

# The two programs take turns, so that a busy moment of the machine falls
# on both alike; the best run of each counts.
open="9 9" info="9 9"
best() { python3 -c "a=[float(v) for v in '$1'.split()]; b=[float(v) for v in '$2'.split()]; print('%.4f %.4f' % (min(a[0], b[0]), min(a[1], b[1])))"; }
for _ in $(seq "$RUNS"); do
  RUNS=1
  open=$(best "$open" "$(LC_EXIT_AFTER_PAINT=1 bench_time "$WINE64" "$BIN/lumacast.exe" /NOLOGO "$BIG")")
  info=$(best "$info" "$(bench_time "$WINE64" "$BIN/lumaconv.exe" info "$BIG")")
done
RUNS=${2:-5}
echo
echo "Opening a ${W}x${H} 24-bit BMP under Wine (best of $RUNS)"
printf '  %-44s %8s %8s\n' "" "wall s" "cpu s"
printf '  %-44s %8.3f %8.3f\n' "lumacast.exe /NOLOGO big.bmp, to first paint" ${open}
printf '  %-44s %8.3f %8.3f\n' "lumaconv.exe info big.bmp" ${info}
echo "  ratio (wall): $(bench_ratio "${open% *}" "${info% *}")   ratio (cpu): $(bench_ratio "${open#* }" "${info#* }")   target <= 1.3"

if [ -f "$BIN/viewer_scroll_bench.exe" ]; then
  echo
  "$WINE64" "$BIN/viewer_scroll_bench.exe" "$BIG" </dev/null 2>/dev/null
fi
