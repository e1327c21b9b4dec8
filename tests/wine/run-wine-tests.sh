#!/usr/bin/env bash
# The Windows program's tests: builds q308.exe and its test driver with
# MinGW-w64 (64-bit and 32-bit), the native program that gives the expected
# files, and runs the end-to-end tests under Wine inside a private Xvfb
# screen. Never waits for input; ends with the line "N passed, M failed".
#
#   tests/wine/run-wine-tests.sh            build and run everything
#   Q308_SAMPLES=folder ...                 exchange files in the host's manner
#                                           (default: tests/fixtures)
#   Q308_HOST_SAMPLES=folder ...            the host's own files, run as well
#                                           where the folder exists
#                                           (default: ../shared/samples)
#   Q308_NATIVE_BUILD=folder ...            build folder of the native program
#                                           (default: the "default" preset's)
#   Q308_WINE32_NOT_RUN=reason ...          the 32-bit program is not run under
#                                           Wine, for that reason
#   Q308_WINE_RESULTS=file ...              one line for each program: "64bit
#                                           passed", "32bit failed", "32bit
#                                           not-run REASON"
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"

# A screen of its own: nothing on the user's display can take the focus
# from the dialog, and the screen size is known.
if [ -z "${Q308_IN_XVFB:-}" ]; then
    exec env Q308_IN_XVFB=1 timeout 1200 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

samples=${Q308_SAMPLES:-$root/tests/fixtures}
host_samples=${Q308_HOST_SAMPLES:-$root/../shared/samples}
if [ -d "$host_samples" ]; then
    host_samples=$(cd "$host_samples" && pwd)
else
    echo "skipped: the host's own sample files ($host_samples) are absent; the suite runs on tests/fixtures"
fi
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))
passed=0
failed=0
pass() { passed=$((passed + 1)); echo "PASS $*"; }
fail() { failed=$((failed + 1)); echo "FAIL $*"; }

echo "--- building"
if [ -n "${Q308_NATIVE_BUILD:-}" ]; then
    cmake -S "$root" -B "$Q308_NATIVE_BUILD" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$Q308_NATIVE_BUILD" --target q308 -j"$jobs" >/dev/null
    native=$(cd "$Q308_NATIVE_BUILD" && pwd)/q308
else
    cmake --preset default >/dev/null
    cmake --build --preset default --target q308 -j"$jobs" >/dev/null
    native=$root/build/default/q308
fi
for arch in mingw64 mingw32; do
    cmake --preset "$arch" >/dev/null
    cmake --build --preset "$arch" --target q308 q308-wine-test -j"$jobs" >/dev/null
done
cmake --build --preset mingw64 --target release-zip >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/q308-wine-tests.XXXXXX")
cleanup() {
    q308_wineserver 30 -k >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

# The release as the user gets it: both programs, each with the launcher,
# and the read-me.
zip=$(ls build/mingw64/q308-*-windows.zip | head -n 1)
mkdir -p "$work/release"
(cd "$work/release" && cmake -E tar xf "$root/$zip")
release=$(ls -d "$work/release"/q308-*/ | head -n 1)
listing=$(cd "$release" && find . -type f | LC_ALL=C sort | tr '\n' ' ')
launchers_ok=1
for folder in 64bit 32bit; do
    for bat in q308.bat q308h.bat q308a.bat q308c.bat q308hc.bat q308ac.bat; do
        cmp -s "$release/$folder/$bat" "dist/$bat" || launchers_ok=0
    done
done
if [ "$listing" = "./32bit/q308.bat ./32bit/q308.exe ./32bit/q308a.bat ./32bit/q308ac.bat ./32bit/q308c.bat ./32bit/q308h.bat ./32bit/q308hc.bat ./64bit/q308.bat ./64bit/q308.exe ./64bit/q308a.bat ./64bit/q308ac.bat ./64bit/q308c.bat ./64bit/q308h.bat ./64bit/q308hc.bat ./README.txt " ] &&
    [ "$launchers_ok" -eq 1 ] && cmp -s "$release/README.txt" dist/README.txt; then
    pass "$zip holds $listing"
else
    fail "$zip holds $listing"
fi

# Windows GUI programs that need no DLL beyond those of Windows itself.
for arch in 64bit:x86-64:x86_64 32bit:i386:i686; do
    IFS=: read -r folder machine prefix <<<"$arch"
    exe=$release$folder/q308.exe
    header=$("$prefix-w64-mingw32-objdump" -p "$exe")
    format=$("$prefix-w64-mingw32-objdump" -f "$exe")
    dlls=$(echo "$header" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
    extra=$(echo "$dlls" | tr ' ' '\n' | grep -v -x -E 'kernel32.dll|user32.dll|gdi32.dll|imm32.dll|msvcrt.dll|' || true)
    if [ -z "$extra" ] && [[ $header == *"(Windows GUI)"* ]] && [[ $format == *"file format pei-$machine"* ]]; then
        pass "$folder/q308.exe: $machine GUI program importing $dlls"
    else
        fail "$folder/q308.exe: imports $dlls; not shipped with Windows: ${extra:-none}"
    fi
done

# shellcheck source=tests/wine/wine-env.sh
. "$root/tests/wine/wine-env.sh"
if ! q308_wine_env "$work/prefix"; then
    fail "Wine: no loader for the 64-bit program starts"
    [ -z "${Q308_WINE_RESULTS:-}" ] || printf '64bit failed\n32bit failed\n' >"$Q308_WINE_RESULTS"
    echo "$passed passed, $failed failed"
    exit 1
fi
echo "--- preparing Wine ($WINEPREFIX, loader $Q308_WINE64)"
q308_wine_prefix

windows_path() { printf 'Z:%s' "$(printf '%s' "$1" | sed 's|/|\\|g')"; }

echo "--- the native program on every scenario"
driver64=$root/build/mingw64/q308-wine-test.exe
q308_wine64 120 "$driver64" plan "$(windows_path "$work/plan")" "$(windows_path "$samples")" \
    "$(windows_path "$host_samples")"
for scenario in "$work/plan"/*/; do
    mkdir -p "$scenario/native"
    cp "$native" "$scenario/native/q308"
    cp "$scenario"/in/* "$scenario/native/" 2>/dev/null || true
    arguments=()
    if [ -f "$scenario/arguments.txt" ]; then read -r -a arguments <"$scenario/arguments.txt" || true; fi
    if ! (cd "$scenario/native" && timeout 60 ./q308 "${arguments[@]}" <../script.txt >../stdout.txt 2>&1); then
        echo "  the native program failed in $scenario"
    fi
    rm -f "$scenario/native/q308"
done

# run_suite NAME DRIVER EXE LOADER: LOADER is q308_wine64 or q308_wine32.
run_suite() {
    local name=$1 driver=$2 exe=$3 loader=$4 log="$work/$1.log"
    echo "--- $name under Wine"
    "$loader" 900 "$driver" run "$(windows_path "$exe")" "$(windows_path "$work/scratch-$name")" \
        "$(windows_path "$work/plan")" "$(windows_path "$samples")" "$(windows_path "$host_samples")" 2>&1 |
        tr -d '\r' | tee "$log" || true
    local summary
    summary=$(grep -E '^[0-9]+ passed, [0-9]+ failed$' "$log" | tail -n 1 || true)
    if [ -z "$summary" ]; then
        fail "$name: the test driver did not finish"
        return
    fi
    passed=$((passed + $(echo "$summary" | cut -d' ' -f1)))
    failed=$((failed + $(echo "$summary" | cut -d' ' -f3)))
    compare_deferred "$name"
}

# Runs the driver could not plan ahead (a drag ends where the mouse let go):
# the native program on the same input and script, its files compared byte
# for byte with those q308.exe left.
compare_deferred() {
    local name=$1 case_folder id ok file
    for case_folder in "$work/scratch-$name/deferred"/*/; do
        [ -d "$case_folder" ] || continue
        id=$(basename "$case_folder")
        rm -rf "$case_folder/native"
        mkdir -p "$case_folder/native"
        cp "$native" "$case_folder/native/q308"
        cp "$case_folder"/in/* "$case_folder/native/"
        arguments=()
        if [ -f "$case_folder/arguments.txt" ]; then read -r -a arguments <"$case_folder/arguments.txt" || true; fi
        (cd "$case_folder/native" && timeout 60 ./q308 "${arguments[@]}" <../script.txt >../stdout.txt 2>&1) || true
        ok=1
        for file in JWC_TEMP.TXT q304.dat q308h.dat q308a.dat; do
            if [ -f "$case_folder/wine/$file" ] || [ -f "$case_folder/native/$file" ]; then
                cmp -s "$case_folder/wine/$file" "$case_folder/native/$file" || ok=0
            fi
        done
        if [ "$ok" -eq 1 ]; then
            pass "$name: $id: the files are the native program's for ${arguments[*]:+${arguments[*]} }$(tr '\n' ';' <"$case_folder/script.txt")"
        else
            fail "$name: $id: the files differ from the native program's for ${arguments[*]:+${arguments[*]} }$(tr '\n' ';' <"$case_folder/script.txt")"
        fi
    done
}

# The project's sample drawing, for the frame time of a drag.
Q308_SAMPLE_DRAWING=$(windows_path "$root/samples/JWC_TEMP.TXT")
export Q308_SAMPLE_DRAWING
run_suite 64bit "$driver64" "${release}64bit/q308.exe" q308_wine64
failed64=$failed

# The 32-bit build is tested the same way where a 32-bit Wine program
# starts: its loader first (bounded), then the 32-bit driver once. Debian's
# wine64 alone runs no 32-bit programs, and wine32 installs also on kernels
# that cannot run it.
q308_wine32() {
    local seconds=$1
    shift
    timeout "$seconds" "$wine32" "$@" </dev/null
}
driver32=$root/build/mingw32/q308-wine-test.exe
not_run32=${Q308_WINE32_NOT_RUN:-}
if [ -z "$not_run32" ]; then
    if wine32=$(q308_find_wine32 "$Q308_WINE64"); then
        not_run32=$(q308_loader_reason "$wine32" 32)
    else
        not_run32=$wine32
    fi
fi
if [ -z "$not_run32" ] && ! { q308_wine32 60 "$driver32" exe-path "$(windows_path "$work/probe32.txt")" >/dev/null 2>&1 &&
    [ -s "$work/probe32.txt" ]; }; then
    not_run32="this Wine runs 64-bit programs only"
fi
if [ -z "$not_run32" ]; then
    run_suite 32bit "$driver32" "${release}32bit/q308.exe" q308_wine32
else
    echo "--- 32bit: not run, $not_run32"
fi

if [ -n "${Q308_WINE_RESULTS:-}" ]; then
    {
        if [ "$failed64" -eq 0 ]; then echo "64bit passed"; else echo "64bit failed"; fi
        if [ -n "$not_run32" ]; then echo "32bit not-run $not_run32"
        elif [ "$failed" -eq "$failed64" ]; then echo "32bit passed"
        else echo "32bit failed"; fi
    } >"$Q308_WINE_RESULTS"
fi

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
