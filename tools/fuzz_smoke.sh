#!/usr/bin/env bash
# Runs every fuzz target for a short time over a copy of its seed corpus,
# then replays its committed crashers (each must now pass).
# usage: tools/fuzz_smoke.sh [build-dir] [seconds-per-target]
set -uo pipefail
cd "$(dirname "$0")/.."
BUILD=${1:-build/native-fuzz}
SECS=${2:-15}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
pass=0 fail=0
for exe in "$BUILD"/fuzz/fuzz_*; do
  [ -x "$exe" ] || continue
  name=$(basename "$exe"); short=${name#fuzz_}
  work="$BUILD/fuzz-work/$short"; rm -rf "$work"; mkdir -p "$work"
  seeds="fuzz/corpus/$short"
  if "$exe" -max_total_time="$SECS" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       "$work" ${seeds:+$([ -d "$seeds" ] && echo "$seeds")} >"$work.log" 2>&1; then
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work.log")
    echo "fuzz $short: ok (${execs:-?} runs in ${SECS}s)"; pass=$((pass+1))
  else
    echo "fuzz $short: FAILED"; tail -40 "$work.log"; fail=$((fail+1))
  fi
  if [ -d "fuzz/crashers/$short" ] && ls "fuzz/crashers/$short"/* >/dev/null 2>&1; then
    if "$exe" "fuzz/crashers/$short"/* >"$work.crashers.log" 2>&1; then
      echo "fuzz $short crashers: ok"; pass=$((pass+1))
    else
      echo "fuzz $short crashers: FAILED"; tail -40 "$work.crashers.log"; fail=$((fail+1))
    fi
  fi
done
echo "fuzz: $pass passed, $fail failed"
[ "$fail" = 0 ]
