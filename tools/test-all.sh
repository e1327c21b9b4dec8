#!/usr/bin/env bash
# Runs every test: installs what is missing, builds and runs the unit and
# whole-program tests, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, the four fuzz targets for half a minute each,
# and the Windows programs' tests under Wine. A stage whose packages cannot
# be installed here is not run and says why; the run ends with a summary of
# every stage, its last line "N passed, M failed".
set -uo pipefail
cd "$(dirname "$0")/.."
# shellcheck source=tools/stages.sh
. tools/stages.sh

jobs=$(nproc)
step() { echo; echo "=== $*"; }

deps=$(mktemp)
trap 'rm -f "$deps" "${wine_results:-}"' EXIT
step "Installing what the tests need"
if ! Q308_DEPS_STATUS=$deps bash tools/install-deps.sh; then
    stage_record failed "installing the packages for the native build and tests"
    stage_summary
    exit 1
fi

# run_stage NAME GROUP... -- COMMAND...
run_stage() {
    local name=$1 groups=() reason
    shift
    while [ "$1" != -- ]; do groups+=("$1"); shift; done
    shift
    if reason=$(stage_blocker "$deps" "${groups[@]}"); then
        step "$name: not run"
        echo "$reason"
        stage_record notrun "$name" "$reason"
        return
    fi
    step "$name"
    if "$@"; then stage_record passed "$name"; else stage_record failed "$name"; fi
}

native_tests() {
    cmake --preset default >/dev/null &&
        cmake --build --preset default -j"$jobs" &&
        ctest --preset default -j"$jobs"
}

asan_tests() {
    cmake --preset asan >/dev/null &&
        cmake --build --preset asan -j"$jobs" &&
        ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 ctest --preset asan -j"$jobs"
}

fuzz_targets() {
    cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j"$jobs" || return 1
    local target name seeds corpus ok=0
    for target in ReaderFuzz:reader SettingsFuzz:settings CommandFuzz:commands ConstructionFuzz:construction; do
        name=${target%%:*} seeds=${target#*:}
        corpus=$(mktemp -d)
        cp "fuzz/corpus/$seeds"/* "$corpus"/
        echo "--- $name"
        if ! build/fuzz/fuzz/$name -max_total_time=30 -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
            -artifact_prefix="$corpus/" "$corpus" >"$corpus.log" 2>&1; then
            ok=1
            grep -E "ERROR|check failed|SUMMARY|Test unit written" "$corpus.log" || true
            for crash in "$corpus"/crash-* "$corpus"/timeout-* "$corpus"/oom-*; do
                [ -e "$crash" ] && { echo "input (base64):"; base64 "$crash"; }
            done
        fi
        grep -E "^stat::(number_of_executed_units|average_exec_per_sec)|^#[0-9]+[[:space:]]+DONE" "$corpus.log" || true
        rm -rf "$corpus" "$corpus.log"
    done
    return "$ok"
}

run_stage "the native build and tests" native -- native_tests
run_stage "the same tests under AddressSanitizer and UndefinedBehaviorSanitizer" native -- asan_tests
run_stage "fuzzing, each parser for 30 s" native -- fuzz_targets

# The Wine suite runs once for both programs; it reports each on its own.
wine_results=$(mktemp)
wine64_stage="the Windows release and the 64-bit program under Wine"
wine32_stage="the 32-bit program under Wine"
if reason=$(stage_blocker "$deps" windows); then
    step "the Windows programs under Wine: not run"
    echo "$reason"
    stage_record notrun "$wine64_stage" "$reason"
    stage_record notrun "$wine32_stage" "$reason"
else
    step "the Windows programs under Wine"
    wine32_reason=$(stage_blocker "$deps" wine32) || wine32_reason=""
    Q308_WINE_RESULTS=$wine_results Q308_WINE32_NOT_RUN=$wine32_reason bash tests/wine/run-wine-tests.sh
    for suite in 64bit:"$wine64_stage" 32bit:"$wine32_stage"; do
        name=${suite#*:}
        line=$(grep -m1 "^${suite%%:*} " "$wine_results") || line="${suite%%:*} failed"
        # A suite the script never reached still says why it was not to run.
        [ "$line" != "32bit failed" ] || [ -z "$wine32_reason" ] || line="32bit not-run $wine32_reason"
        case $line in
        *" passed") stage_record passed "$name" ;;
        *" not-run "*) stage_record notrun "$name" "${line#* not-run }" ;;
        *) stage_record failed "$name" ;;
        esac
    done
fi

stage_summary
