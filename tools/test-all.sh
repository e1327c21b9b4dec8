#!/usr/bin/env bash
# Runs every test: installs what is missing, builds and runs the unit and
# whole-program tests, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, the reader's fuzzer for a minute, and the
# Windows program's tests under Wine.
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

step "Reader fuzzing (60 s)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$jobs"
corpus=$(mktemp -d)
cp fuzz/corpus/reader/* "$corpus"/
build/fuzz/fuzz/ReaderFuzz -max_total_time=60 -rss_limit_mb=2048 -print_final_stats=1 "$corpus" 2>&1 | tail -n 15 || status=1
rm -rf "$corpus"

step "Windows program under Wine"
bash tests/wine/run-wine-tests.sh || status=1

echo
if [ "$status" -eq 0 ]; then echo "All test stages passed."; else echo "Some test stage FAILED."; fi
exit "$status"
