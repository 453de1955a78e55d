#!/usr/bin/env bash
# Runs the Windows tests of a cross build under Wine:
#   tools/wine/run_windows_tests.sh [build-dir] [extra ctest arguments...]
# build-dir defaults to build/win64.  Returns ctest's status.
# LC_TEST_TIMEOUT (seconds, default 120) limits each test.
set -u
cd "$(dirname "$0")/../.." || exit 2
BUILD=${1:-build/win64}
[ $# -gt 0 ] && shift
if [ ! -f "$BUILD/CTestTestfile.cmake" ]; then
  echo "run_windows_tests: $BUILD is not a configured build" >&2
  exit 2
fi
# shellcheck source=tools/wine/wine_env.sh
. tools/wine/wine_env.sh
trap wine_ci_down EXIT
trap 'exit 130' INT TERM
wine_ci_up "$BUILD" || exit 1
# GUI suites save screenshots as BMP files; they end up as PNG files in
# build/screenshots/.
SHOTS=$PWD/build/screenshots
mkdir -p "$SHOTS"
LC_SCREENSHOT_DIR="Z:${SHOTS//\//\\}"
export LC_SCREENSHOT_DIR
ctest --test-dir "$BUILD" --output-on-failure --timeout "${LC_TEST_TIMEOUT:-120}" "$@"
rc=$?
for bmp in "$SHOTS"/*.bmp; do
  [ -f "$bmp" ] || continue
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
exit $rc
