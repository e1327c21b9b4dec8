#!/usr/bin/env bash
# tools/wine-loaders.sh against stand-in loaders: which loader the Windows
# tests start, and why the 32-bit program is not run. Nothing here starts
# the real Wine.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
failures=0
check() { # check DESCRIPTION COMMAND...
    if "${@:2}"; then echo "ok      $1"; else echo "FAILED  $1"; failures=$((failures + 1)); fi
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The few tools the functions use, without the machine's own Wine.
tools=$scratch/tools
mkdir -p "$tools"
for tool in bash timeout grep dirname sleep; do ln -s "$(command -v "$tool")" "$tools/$tool"; done

# stand_in FILE KIND: a loader that "starts" (prints its version), is
# "refused" (an i386 program on a kernel that runs none), "hangs", or is
# Debian's "script" picking the refused 32-bit loader.
stand_in() {
    mkdir -p "$(dirname "$1")"
    case $2 in
    starts) printf '#!/bin/sh\necho "wine-8.0 (stand-in)"\n' >"$1" ;;
    refused) printf '\177ELF\001\001\001\000' >"$1" ;;
    hangs) printf '#!/bin/sh\nsleep 60\n' >"$1" ;;
    script) printf '#!/bin/sh\necho "/usr/bin/wine: 40: exec: /usr/lib/wine/wine: Exec format error" >&2\nexit 126\n' >"$1" ;;
    esac
    chmod +x "$1"
}

# probe DIR FUNCTION ARGS...: runs FUNCTION with DIR/bin first on the path
# and DIR/lib as the only Wine folder; its output in DIR/out, status DIR/rc.
probe() {
    local w=$1
    shift
    mkdir -p "$w/bin" "$w/lib"
    (
        PATH="$w/bin:$tools" Q308_WINE_LIBDIRS="$w/lib" Q308_WINE_PROBE_SECONDS=1
        . "$root/tools/wine-loaders.sh"
        "$@" >"$w/out"
        echo $? >"$w/rc"
    )
}

echo "--- Debian's wine and wine32 on a kernel that runs no 32-bit programs"
w=$scratch/debian
stand_in "$w/bin/wine" script
stand_in "$w/bin/wine-stable" script
stand_in "$w/lib/wine64" starts
stand_in "$w/lib/wine" refused
probe "$w" q308_find_wine64
check "the 64-bit loader by its own name" test "$(cat "$w/out")" = "$w/lib/wine64"
probe "$w" q308_find_wine32 "$w/lib/wine64"
check "the 32-bit loader beside it" test "$(cat "$w/out")" = "$w/lib/wine"
probe "$w" q308_loader_reason "$w/lib/wine" 32
check "the kernel's refusal in one line" test "$(cat "$w/out")" = \
    "this machine's kernel runs no 32-bit programs (Exec format error)"
LC_ALL=ja_JP.UTF-8 probe "$w" q308_loader_reason "$w/lib/wine" 32
check "the same under the Japanese locale the Wine tests run in" test "$(cat "$w/out")" = \
    "this machine's kernel runs no 32-bit programs (Exec format error)"

echo "--- a wine64 on the path that hangs on start"
w=$scratch/hangs
stand_in "$w/bin/wine64" hangs
stand_in "$w/lib/wine64" starts
start=$SECONDS
probe "$w" q308_find_wine64
check "passed over for the next loader" test "$(cat "$w/out")" = "$w/lib/wine64"
check "within a few seconds" test $((SECONDS - start)) -le 5

echo "--- a wine64 on the path that starts"
w=$scratch/path
stand_in "$w/bin/wine64" starts
stand_in "$w/lib/wine64" starts
probe "$w" q308_find_wine64
check "the path's comes first" test "$(cat "$w/out")" = "$w/bin/wine64"

echo "--- only the 32-bit half"
w=$scratch/only32
stand_in "$w/bin/wine" script
stand_in "$w/lib/wine" refused
probe "$w" q308_find_wine64
check "no loader found" test "$(cat "$w/rc")" = 1
check "and why" test "$(cat "$w/out")" = \
    "no Wine loader starts here: $w/bin/wine: this machine's kernel cannot run $w/bin/wine (Exec format error)"

echo "--- no Wine at all"
w=$scratch/none
probe "$w" q308_find_wine64
check "no loader found" test "$(cat "$w/rc")" = 1
check "and why" test "$(cat "$w/out")" = \
    "no Wine loader is installed (no wine64 or wine on the path or in $w/lib)"
probe "$w" q308_find_wine32 ""
check "no 32-bit loader either" test "$(cat "$w/out")" = "Wine's 32-bit loader is not installed"

echo "--- a 32-bit loader that starts"
w=$scratch/both
stand_in "$w/lib/wine64" starts
stand_in "$w/lib/wine" starts
probe "$w" q308_loader_reason "$w/lib/wine" 32
check "no reason not to run" test -z "$(cat "$w/out")"

echo
if [ "$failures" -eq 0 ]; then echo "all checks passed"; else echo "$failures check(s) FAILED"; exit 1; fi
