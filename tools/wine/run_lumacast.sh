#!/usr/bin/env bash
# Runs lumacast.exe from a cross build under Wine:
#   tools/wine/run_lumacast.sh [build-dir] [file]     (default build/win64)
# With a file, that file opens at start.  Without one, the demo test cards
# the build draws open: the 24-bit card from the command line, the 8-bit
# one handed over by a second copy, as a second start would.
# With a display ($DISPLAY set) the program runs there until you close it.
# Without one (or with LC_HEADLESS=1) it runs on a private Xvfb: the script
# waits for the frame window, saves screenshots to build/screenshots/
# (lumacast.png, lumacast-file-menu.png), closes the program and checks
# that it ended with exit code 0.
set -u
cd "$(dirname "$0")/../.." || exit 2
BUILD=${1:-build/win64}
FILE=${2:-}
find_exe() {
  local n
  for n in "$BUILD/shell/$1" "$BUILD/bin/$1" "$BUILD/$1"; do
    [ -f "$n" ] && { echo "$n"; return 0; }
  done
  return 1
}
EXE=$(find_exe lumacast.exe) || { echo "run_lumacast: no lumacast.exe in $BUILD (build it first)" >&2; exit 2; }
winpath() { local p; p=$(realpath "$1"); echo "Z:${p//\//\\}"; }
if [ -n "$FILE" ]; then
  [ -f "$FILE" ] || { echo "run_lumacast: no file $FILE" >&2; exit 2; }
  FIRST=$(winpath "$FILE"); SECOND=
else
  FIRST=$(winpath "$BUILD/demo/card24.bmp"); SECOND=$(winpath "$BUILD/demo/card8.bmp")
fi

# shellcheck source=tools/wine/wine_env.sh
. tools/wine/wine_env.sh
trap wine_ci_down EXIT
trap 'exit 130' INT TERM

hand_over_second() {
  [ -n "$SECOND" ] || return 0
  sleep 1
  "$WINE64" "$EXE" "$SECOND" </dev/null
}

if [ -n "${DISPLAY:-}" ] && [ "${LC_HEADLESS:-0}" != 1 ]; then
  LC_WINE_KEEP_DISPLAY=1 wine_ci_up "" || exit 1
  "$WINE64" "$EXE" "$FIRST" &
  PROG=$!
  hand_over_second
  wait "$PROG"
  exit $?
fi

CLOSER=$(find_exe closewin.exe) || { echo "run_lumacast: no closewin.exe in $BUILD" >&2; exit 2; }
SHOT=build/screenshots/lumacast.png
mkdir -p "$(dirname "$SHOT")"
wine_ci_up "$BUILD" || exit 1
"$WINE64" "$EXE" "$FIRST" </dev/null &
PROG=$!
if ! "$WINE64" "$CLOSER" wait 30000 </dev/null; then
  echo "run_lumacast: the frame window did not appear" >&2
  kill "$PROG" 2>/dev/null
  exit 1
fi
hand_over_second
sleep "${LC_SHOT_DELAY:-1.5}"   # let the frame and its windows paint
import -window root "$SHOT" || echo "run_lumacast: screenshot failed" >&2
MENU_SHOT=${SHOT%.png}-file-menu.png
if "$WINE64" "$CLOSER" menu f </dev/null; then
  sleep 0.5
  import -window root "$MENU_SHOT" || echo "run_lumacast: screenshot failed" >&2
fi
"$WINE64" "$CLOSER" close 15000 </dev/null
rc=$?
wait "$PROG"
prog_rc=$?
echo "screenshot: $SHOT"
[ -f "$MENU_SHOT" ] && echo "screenshot: $MENU_SHOT"
if [ $rc -ne 0 ] || [ $prog_rc -ne 0 ]; then
  echo "run_lumacast: exit status $rc/$prog_rc" >&2
  exit 1
fi
echo "lumacast ran and exited cleanly"
