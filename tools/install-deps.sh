#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, as root or
# through sudo.
#   install-deps.sh native   the native program, its tests, fuzzers and benchmarks
#   install-deps.sh          that, then the Windows cross build with 64-bit Wine,
#                            then Wine's 32-bit half
#
# The packages go in three groups, each installed by itself, so that a
# registry that cannot serve one group costs only the tests that need it:
#   native    the native build and tests (failing here is fatal: exit 1)
#   windows   MinGW-w64, 64-bit Wine, Xvfb and the Japanese locale
#   wine32    wine32:i386, last and alone (it needs the i386 indexes, which
#             are the first to go missing while a mirror syncs)
# A group that cannot be installed is named on standard error with the first
# error apt printed, and the script goes on. Wine's 32-bit half installs also
# where the kernel runs no 32-bit programs: once installed, its loader is
# started once, and where it cannot start the group is named the same way
# (the packages stay installed). With Q308_DEPS_STATUS=FILE it also writes
# one line per group: "GROUP ok", "GROUP unavailable REASON" (cannot be
# installed) or "GROUP unusable REASON" (installed, cannot start).
# Safe to run again: packages already present are not fetched anew.
set -uo pipefail
# shellcheck source=tools/wine-loaders.sh
. "$(dirname "$0")/wine-loaders.sh"

mode=${1:-all}
attempts=${Q308_APT_ATTEMPTS:-3}
pause=${Q308_APT_PAUSE:-10}
status_file=${Q308_DEPS_STATUS:-}

native=(cmake make g++ pkg-config libgtest-dev libbenchmark-dev clang libclang-rt-14-dev mawk
        libxml2-dev libc-bin)
windows=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 wine xvfb xauth locales
         fonts-ipafont-gothic zip librsvg2-bin xdotool imagemagick)
wine32=(wine32:i386)

groups=(native)
[ "$mode" = native ] || groups+=(windows wine32)

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then sudo=(sudo); else sudo=(no_root); fi
fi
no_root() { echo "E: installing packages needs root or sudo, and neither is available"; return 1; }

[ -z "$status_file" ] || : >"$status_file"
record() { [ -z "$status_file" ] || echo "$*" >>"$status_file"; }

# Another apt or dpkg run holding its lock is waited for, not taken as failure.
lock=(-o DPkg::Lock::Timeout=600)
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# A package whose triggers are still to run (another install is at work) is
# unpacked and configured: it counts as present.
missing_of() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null |
            grep -q -E '^install ok (installed|triggers-pending|triggers-awaited)$' || echo "$p"
    done
}

# One line saying why apt failed: the first unmet dependency it listed, if
# any, then its first error.
apt_reason() {
    local depends error
    depends=$(grep -m1 -E '^ +[^ ]+ : (Pre)?Depends:' "$1" | sed 's/^ *//')
    error=$(grep -m1 -E '^E: ' "$1")
    [ -n "$error" ] || error=$(grep -m1 -v -E '^\s*$' "$1")
    [ -n "$error" ] || error="apt-get failed without a message"
    if [ -n "$depends" ]; then echo "$depends; $error"; else echo "$error"; fi
}

# Indexes that still fail after the retries are named and the install goes
# on: the install itself then tells whether what is needed can be had.
update_indexes() {
    local try
    for ((try = 1; try <= attempts; try++)); do
        if "${sudo[@]}" apt-get "${lock[@]}" update -q >"$log" 2>&1; then
            return 0
        fi
        if ((try < attempts)); then
            echo "apt-get update failed (attempt $try of $attempts); trying again in $pause s" >&2
            sleep "$pause"
        fi
    done
    local failed
    failed=$(grep -E '^E: Failed to fetch ' "$log" | sed -E 's/ +\[IP: [^]]*\]//; s/^E: Failed to fetch +([^ ]+) *(.*)$/\1 (\2)/; s/ \(\)$//')
    if [ -n "$failed" ]; then
        while IFS= read -r index; do
            echo "warning: apt-get update could not fetch ${index}; going on with the indexes it has" >&2
        done <<<"$failed"
    else
        echo "warning: apt-get update failed: $(apt_reason "$log"); going on with the indexes it has" >&2
    fi
}

# Installs the missing packages of one group; a download that breaks off is
# tried again, an install apt cannot resolve is not.
install_packages() {
    local try
    for ((try = 1; try <= attempts; try++)); do
        if DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get "${lock[@]}" install -y -q "$@" \
            </dev/null >"$log" 2>&1; then
            return 0
        fi
        grep -q -E 'Failed to fetch|Unable to fetch|Temporary failure|Connection failed' "$log" || return 1
        ((try < attempts)) && sleep "$pause"
    done
    return 1
}

# Wine shows the program with code page 932 only under a Japanese locale.
japanese_locale() {
    locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$' && return 0
    {
        "${sudo[@]}" sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)/\1/' /etc/locale.gen &&
            { grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen ||
                echo 'ja_JP.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null; } &&
            "${sudo[@]}" locale-gen
    } >"$log" 2>&1 || { echo "E: the ja_JP.UTF-8 locale cannot be generated: $(apt_reason "$log")" >"$log"; return 1; }
}

# Why Wine's 32-bit loader, as wine32:i386 installed it, cannot start; or
# nothing.
wine32_unusable() {
    local loader="" file
    while IFS= read -r file; do
        if [ -f "$file" ] && [ -x "$file" ]; then loader=$file; break; fi
    done < <(dpkg -L wine32:i386 2>/dev/null | grep -E '/wine$')
    if [ -z "$loader" ]; then
        echo "wine32:i386 installed no 32-bit loader"
        return
    fi
    q308_loader_reason "$loader" 32
}

describe() {
    case $1 in
    native) echo "the native build and tests" ;;
    windows) echo "the Windows cross build and 64-bit Wine" ;;
    wine32) echo "Wine's 32-bit half (wine32:i386)" ;;
    esac
}

declare -A missing
any_missing=0
for group in "${groups[@]}"; do
    declare -n list=$group
    missing[$group]=$(missing_of "${list[@]}" | tr '\n' ' ')
    unset -n list
    [ -z "${missing[$group]// /}" ] || any_missing=1
done

if [ "$any_missing" -eq 1 ]; then
    # The 32-bit half comes from the i386 architecture, whose indexes the
    # update below then fetches.
    if [ -n "${missing[wine32]:-}" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo[@]}" dpkg --add-architecture i386 || true
    fi
    update_indexes
fi

windows_ok=1
for group in "${groups[@]}"; do
    reason=""
    if [ "$group" = wine32 ] && [ "$windows_ok" -eq 0 ]; then
        reason="needs $(describe windows), which could not be installed"
    elif [ -n "${missing[$group]// /}" ]; then
        read -r -a packages <<<"${missing[$group]}"
        echo "Installing $(describe "$group"): ${packages[*]}"
        install_packages "${packages[@]}" || reason=$(apt_reason "$log")
    fi
    if [ -z "$reason" ] && [ "$group" = windows ]; then
        japanese_locale || reason=$(apt_reason "$log")
    fi
    if [ -z "$reason" ] && [ "$group" = wine32 ]; then
        unusable=$(wine32_unusable)
        if [ -n "$unusable" ]; then
            record "wine32 unusable $unusable"
            echo "warning: $(describe wine32) is installed but cannot start here: $unusable" >&2
            echo "warning: the 32-bit program will not be tested under Wine" >&2
            continue
        fi
    fi
    if [ -n "$reason" ]; then
        [ "$group" = windows ] && windows_ok=0
        record "$group unavailable $reason"
        if [ "$group" = native ]; then
            echo "error: the packages for $(describe native) cannot be installed: $reason" >&2
            exit 1
        fi
        echo "warning: $(describe "$group") cannot be installed here: $reason" >&2
        echo "warning: the tests that need it will not run" >&2
    else
        record "$group ok"
    fi
done
exit 0
