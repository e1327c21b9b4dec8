#!/usr/bin/env bash
# Shows the Windows program's dialog under Wine on a private Xvfb screen,
# with IPA Gothic standing in for "ＭＳ ゴシック", and saves a picture of it
# as docs/dialog.png (or the file given).
#
#   tools/screenshot.sh [OUTPUT.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
output=$(realpath -m "${1:-$root/docs/dialog.png}")
cd "$root"

if [ -z "${Q308_IN_XVFB:-}" ]; then
    exec env Q308_IN_XVFB=1 timeout 600 xvfb-run -a -s "-screen 0 800x600x24" bash "$0" "$output"
fi

cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 --target q308 -j2 >/dev/null
samples=${Q308_SAMPLES:-$root/tests/fixtures}

work=$(mktemp -d "${TMPDIR:-/tmp}/q308-screenshot.XXXXXX")
cleanup() {
    timeout 30 wineserver -k >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
# shellcheck source=tests/wine/wine-env.sh
. "$root/tests/wine/wine-env.sh"
q308_wine_env "$work/prefix"
q308_wine_prefix

# The program as the host starts it: the exchange file beside it, and
# settings that place the dialog near the corner with the host's text type.
mkdir -p "$work/q308"
cp build/mingw64/q308.exe "$work/q308/"
cp "$samples/host-four-points.txt" "$work/q308/JWC_TEMP.TXT"
printf '%s\r\n' 16 16 0 0 0 3 2 1 '' '' 0.5 2 2 3 15 2 0 0 0 0 0 0 >"$work/q308/q304.dat"
wine "$work/q308/q308.exe" >/dev/null 2>&1 &

window=
for _ in $(seq 1 100); do
    window=$(xdotool search --name '^垂直寸法線Ｂ$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    sleep 0.2
done
if [ -z "$window" ]; then
    echo "the dialog did not appear" >&2
    exit 1
fi
sleep 2  # let it paint
eval "$(xdotool getwindowgeometry --shell "$window")"
mkdir -p "$(dirname "$output")"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"
echo "saved $output (${WIDTH} x ${HEIGHT})"
