#!/usr/bin/env bash
# Runs lumacast.exe from a cross build under Wine:
#   tools/wine/run_lumacast.sh [build-dir]        (default build/win64)
# With a display ($DISPLAY set) the program runs there until you close it.
# Without one (or with LC_HEADLESS=1) it runs on a private Xvfb: the script
# waits for the frame window, saves a screenshot to
# build/screenshots/lumacast.png (and one with the File menu open,
# lumacast-file-menu.png), closes the program and checks that it ended with
# exit code 0.
set -u
cd "$(dirname "$0")/../.." || exit 2
BUILD=${1:-build/win64}
find_exe() {
  local n
  for n in "$BUILD/shell/$1" "$BUILD/bin/$1" "$BUILD/$1"; do
    [ -f "$n" ] && { echo "$n"; return 0; }
  done
  return 1
}
EXE=$(find_exe lumacast.exe) || { echo "run_lumacast: no lumacast.exe in $BUILD (build it first)" >&2; exit 2; }

# shellcheck source=tools/wine/wine_env.sh
. tools/wine/wine_env.sh
trap wine_ci_down EXIT
trap 'exit 130' INT TERM

if [ -n "${DISPLAY:-}" ] && [ "${LC_HEADLESS:-0}" != 1 ]; then
  LC_WINE_KEEP_DISPLAY=1 wine_ci_up "" || exit 1
  "$WINE64" "$EXE"
  exit $?
fi

CLOSER=$(find_exe closewin.exe) || { echo "run_lumacast: no closewin.exe in $BUILD" >&2; exit 2; }
SHOT=build/screenshots/lumacast.png
mkdir -p "$(dirname "$SHOT")"
wine_ci_up "$BUILD" || exit 1
"$WINE64" "$EXE" </dev/null &
PROG=$!
if ! "$WINE64" "$CLOSER" wait 30000 </dev/null; then
  echo "run_lumacast: the frame window did not appear" >&2
  kill "$PROG" 2>/dev/null
  exit 1
fi
sleep "${LC_SHOT_DELAY:-1}"   # let the frame and its menu bar paint
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
