#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, as root.
#   install-deps.sh native   the native program, its tests, fuzzers and benchmarks (with mawk)
#   install-deps.sh          all of that plus the Windows cross build and Wine
# Safe to run again: packages already present are not fetched anew.
set -euo pipefail

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

native=(cmake make g++ pkg-config libgtest-dev libbenchmark-dev clang libclang-rt-14-dev mawk
        libxml2-dev libc-bin)
windows=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 wine xvfb xauth locales
         fonts-ipafont-gothic zip librsvg2-bin xdotool imagemagick)

packages=("${native[@]}")
[ "${1:-all}" = native ] || packages+=("${windows[@]}")

# The 32-bit program is tested under Wine's 32-bit half, which comes from
# the i386 architecture.
if [ "${1:-all}" != native ]; then
    packages+=(wine32:i386)
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
fi

# A package whose triggers are still to run (another install is at work) is
# unpacked and configured: it counts as present.
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q -E '^install ok (installed|triggers-pending|triggers-awaited)$' ||
        missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    # Wait for another apt or dpkg run to let go of its lock instead of failing.
    lock=(-o DPkg::Lock::Timeout=600)
    $sudo apt-get "${lock[@]}" update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get "${lock[@]}" install -y -q "${missing[@]}" </dev/null
fi

# Wine runs the program with code page 932 only under a Japanese locale.
if [ "${1:-all}" != native ] && ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    $sudo sed -i 's/^# *\(ja_JP\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen
fi
