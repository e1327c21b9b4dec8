#!/usr/bin/env bash
# Shows the Windows program's dialog under Wine on a private Xvfb screen,
# with IPA Gothic standing in for "ＭＳ ゴシック", and saves pictures of it
# at 96 DPI (100 %) and 144 DPI (150 %) as dialog.png and dialog-144dpi.png
# in docs/ (or the folder given).
#
#   tools/screenshot.sh [FOLDER]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
folder=$(realpath -m "${1:-$root/docs}")
cd "$root"

if [ -z "${Q308_IN_XVFB:-}" ]; then
    exec env Q308_IN_XVFB=1 timeout 600 xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$folder"
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

shoot() {
    local dpi=$1 output=$2 window=
    q308_wine_dpi "$dpi"
    printf '%s\r\n' 16 16 0 0 0 3 2 1 '' '' 0.5 2 2 3 15 2 0 0 0 0 0 0 >"$work/q308/q304.dat"
    wine "$work/q308/q308.exe" >/dev/null 2>&1 &
    for _ in $(seq 1 100); do
        window=$(xdotool search --name '^垂直寸法線Ｂ$' 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && break
        sleep 0.2
    done
    if [ -z "$window" ]; then
        echo "the dialog did not appear at $dpi DPI" >&2
        exit 1
    fi
    sleep 2  # let it paint
    eval "$(xdotool getwindowgeometry --shell "$window")"
    mkdir -p "$(dirname "$output")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$output"
    echo "saved $output (${WIDTH} x ${HEIGHT})"
    # Only the picture was wanted: end the program and its Wine session.
    timeout 30 wineserver -k >/dev/null 2>&1 || true
    timeout 60 wineserver -w || true
}

shoot 96 "$folder/dialog.png"
shoot 144 "$folder/dialog-144dpi.png"
