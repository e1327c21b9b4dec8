#!/bin/sh
# Builds q308 and runs it on the bundled sample drawing in out/sample-run/,
# as the host would: the exchange file beside the program. On a terminal
# the dialog is yours to work; otherwise OK is pressed for you. Then the
# files the program left are shown (converted from Shift-JIS to UTF-8).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash tools/install-deps.sh native

cmake --preset default >/dev/null
cmake --build --preset default --target q308 -j2

run="$root/out/sample-run"
mkdir -p "$run"
# The settings file stays from run to run, as it does beside a real installation.
cp build/default/q308 "$run/q308"
cp samples/JWC_TEMP.TXT "$run/JWC_TEMP.TXT"

if [ -t 0 ]; then
    "$run/q308"
elif [ -f "$run/q304.dat" ]; then
    echo OK | "$run/q308"
else
    # A first start has no saved text type for the value; take the host's current one.
    printf 'ComboBox3=0\nOK\n' | "$run/q308"
fi

echo "---- $run/JWC_TEMP.TXT"
iconv -f CP932 -t UTF-8 "$run/JWC_TEMP.TXT" | tr -d '\r'
if [ -f "$run/q304.dat" ]; then
    echo "---- $run/q304.dat"
    iconv -f CP932 -t UTF-8 "$run/q304.dat" | tr -d '\r'
fi

# ---- Preview ---------------------------------------------------------------
# What the host will draw: the output over the sample drawing as an SVG
# picture beside the output (q308-preview prints where it put it).
cmake --build --preset default --target q308-preview -j2 >/dev/null
build/default/tools/preview/q308-preview samples/JWC_TEMP.TXT "$run/JWC_TEMP.TXT"
