#!/usr/bin/env bash
# Builds everything and runs every test: native unit tests under the
# sanitizers, the Windows build's tests under Wine, the i686 link and
# ordinal check, and a short fuzz run.  Ends with one summary line.
set -uo pipefail
cd "$(dirname "$0")/.."
JOBS=${JOBS:-$(nproc)}
FUZZ_SECONDS=${FUZZ_SECONDS:-10}
LOGDIR=build/logs
mkdir -p "$LOGDIR"
total_pass=0 total_fail=0 total_skip=0
summary=()

record() {  # name passed failed [skipped]
  local skipped=${4:-0}
  total_pass=$((total_pass + $2)); total_fail=$((total_fail + $3)); total_skip=$((total_skip + skipped))
  summary+=("$(printf '%-22s %4d passed, %d failed, %d skipped' "$1" "$2" "$3" "$skipped")")
}

ctest_counts() {  # log -> "passed failed skipped"
  local line; line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n1)
  if [ -z "$line" ]; then echo "0 1 0"; return; fi
  local failed total skipped
  failed=$(sed -E 's/.*tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  skipped=$(grep -cE '^[[:space:]]*[0-9]+ - .*\(Skipped\)' "$1")
  echo "$((total - failed - skipped)) $failed $skipped"
}

configure_build() {  # preset
  local log=$LOGDIR/build-$1.log
  echo "== build $1"
  if cmake --preset "$1" >"$log" 2>&1 && cmake --build --preset "$1" -j "$JOBS" >>"$log" 2>&1; then
    return 0
  fi
  tail -n 60 "$log"; echo "build $1 FAILED (log: $log)"; return 1
}

echo "== setup"
bash tools/setup.sh || { echo "0 passed, 1 failed"; exit 1; }

# Native unit tests under AddressSanitizer and UndefinedBehaviorSanitizer.
if configure_build native-debug; then
  echo "== native tests"
  ctest --test-dir build/native-debug --output-on-failure -j "$JOBS" --timeout 300 2>&1 | tee "$LOGDIR/test-native.log" | tail -n 25
  read -r p f k < <(ctest_counts "$LOGDIR/test-native.log"); record "native unit tests" "$p" "$f" "$k"
else
  record "native build" 0 1
fi

# Windows x86_64 build, its tests under Wine.
if configure_build win64; then
  echo "== windows tests (wine64)"
  bash tools/wine/run_windows_tests.sh build/win64 2>&1 | tee "$LOGDIR/test-win64.log" | tail -n 25
  read -r p f k < <(ctest_counts "$LOGDIR/test-win64.log"); record "windows tests (wine)" "$p" "$f" "$k"
else
  record "windows x86_64 build" 0 1
fi

# i686 must compile and link; its DLL must export every ordinal.
if configure_build win32 && python3 tools/check_ordinals.py build/win32 >"$LOGDIR/ordinals-win32.log" 2>&1; then
  record "i686 link + ordinals" 1 0
else
  cat "$LOGDIR/ordinals-win32.log" 2>/dev/null | tail -n 20
  record "i686 link + ordinals" 0 1
fi

# Fuzz targets: a smoke run over the committed corpora and crashers.
if configure_build native-fuzz; then
  echo "== fuzz smoke (${FUZZ_SECONDS}s per target)"
  bash tools/fuzz_smoke.sh build/native-fuzz "$FUZZ_SECONDS" 2>&1 | tee "$LOGDIR/fuzz.log" | grep -E '^fuzz'
  line=$(grep -E '^fuzz: [0-9]+ passed, [0-9]+ failed' "$LOGDIR/fuzz.log" | tail -n1)
  p=$(sed -E 's/fuzz: ([0-9]+) passed.*/\1/' <<<"${line:-fuzz: 0 passed, 1 failed}")
  f=$(sed -E 's/.* ([0-9]+) failed/\1/' <<<"${line:-fuzz: 0 passed, 1 failed}")
  record "fuzz smoke" "$p" "$f"
else
  record "fuzz build" 0 1
fi

echo
echo "== summary"
printf '%s\n' "${summary[@]}"
echo "$total_pass passed, $total_fail failed, $total_skip skipped"
[ "$total_fail" = 0 ]
