#!/usr/bin/env bash
# Runs one fuzz target for longer, at the lowest priority, keeping what it
# finds: the corpus grows in build/fuzz/corpus/TARGET (seeded from the
# checked-in fuzz/corpus/NAME) and crashes land in build/fuzz/findings/.
#
#   tools/fuzz-long.sh TARGET SECONDS [OPTION...]
#       TARGET: ReaderFuzz, SettingsFuzz, CommandFuzz or ConstructionFuzz;
#       OPTIONs go to libFuzzer as they are (-runs=N, -max_len=N, ...)
# A finding is fixed at its cause and its input added to fuzz/corpus/NAME.
set -euo pipefail
cd "$(dirname "$0")/.."
[ $# -ge 2 ] || { echo "usage: $0 TARGET SECONDS [LIBFUZZER OPTION...]" >&2; exit 2; }
target=$1 seconds=$2
shift 2
case "$target" in
  ReaderFuzz) seeds=reader ;;
  SettingsFuzz) seeds=settings ;;
  CommandFuzz) seeds=commands ;;
  ConstructionFuzz) seeds=construction ;;
  *) echo "unknown target: $target" >&2; exit 2 ;;
esac

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j"$(nproc)" --target "$target"
corpus=build/fuzz/corpus/$target
findings=build/fuzz/findings
mkdir -p "$corpus" "$findings"
nice -n 19 "build/fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$findings/$target-" "$@" "$corpus" "fuzz/corpus/$seeds"
