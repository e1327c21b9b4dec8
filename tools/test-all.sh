#!/usr/bin/env bash
# Runs every test: installs what is missing, builds and runs the unit and
# whole-program tests, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, the four fuzz targets for half a minute each,
# and the Windows program's tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh

jobs=$(nproc)
status=0
step() { echo; echo "=== $*"; }

step "Native build and tests"
cmake --preset default >/dev/null
cmake --build --preset default -j"$jobs"
ctest --preset default -j"$jobs" || status=1

step "Tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -j"$jobs" || status=1

step "Fuzzing: each parser for 30 s"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs"
for target in ReaderFuzz:reader SettingsFuzz:settings CommandFuzz:commands ConstructionFuzz:construction; do
  name=${target%%:*} seeds=${target#*:}
  corpus=$(mktemp -d)
  cp "fuzz/corpus/$seeds"/* "$corpus"/
  echo "--- $name"
  if ! build/fuzz/fuzz/$name -max_total_time=30 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$corpus/" "$corpus" >"$corpus.log" 2>&1; then
    status=1
    grep -E "ERROR|check failed|SUMMARY|Test unit written" "$corpus.log" || true
    for crash in "$corpus"/crash-* "$corpus"/timeout-* "$corpus"/oom-*; do
      [ -e "$crash" ] && { echo "input (base64):"; base64 "$crash"; }
    done
  fi
  grep -E "^stat::(number_of_executed_units|average_exec_per_sec)|^#[0-9]+[[:space:]]+DONE" "$corpus.log" || true
  rm -rf "$corpus" "$corpus.log"
done

step "Windows program under Wine"
bash tests/wine/run-wine-tests.sh || status=1

echo
if [ "$status" -eq 0 ]; then echo "All test stages passed."; else echo "Some test stage FAILED."; fi
exit "$status"
