#!/usr/bin/env bash
# Shows the Windows program's dialog under Wine on a private Xvfb screen,
# with IPA Gothic standing in for "ＭＳ ゴシック", and saves pictures of it
# at 96 DPI (100 %) and 144 DPI (150 %) as dialog.png and dialog-144dpi.png,
# and of the dialog with its preview window open beside it as
# dialog-preview.png (at 144 DPI as dialog-preview-144dpi.png), and the
# same for the horizontal and the aligned dimension and a horizontal chain
# as dialog-horizontal.png, dialog-aligned.png and dialog-chain.png, in
# docs/ (or the folder given).
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
    q308_wineserver 30 -k >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
# shellcheck source=tests/wine/wine-env.sh
. "$root/tests/wine/wine-env.sh"
q308_wine_env "$work/prefix"
q308_wine_prefix

# The id of the window with that title, once it is there.
find_window() {
    local title=$1 window=
    for _ in $(seq 1 100); do
        window=$(xdotool search --name "$title" 2>/dev/null | head -n 1 || true)
        [ -n "$window" ] && break
        sleep 0.2
    done
    [ -n "$window" ] || { echo "no window \"$title\" appeared" >&2; exit 1; }
    echo "$window"
}

# One run as the host starts it: the exchange file beside the program, and
# settings that place the dialog near the corner with the host's text type.
# With preview=1 a q308.ini opens the preview beside the dialog, on our
# sample drawing, whose elements show around the dimension. The argument
# and caption of another kind of dimension may follow.
shoot() {
    local dpi=$1 output=$2 preview=$3 argument=${4:-} caption=${5:-垂直寸法線Ｂ} settings=q304.dat
    local run="$work/run-$1-$3${argument//\//}"
    case $argument in
    /h | /hc) settings=q308h.dat ;;
    /a | /ac) settings=q308a.dat ;;
    esac
    q308_wine_dpi "$dpi"
    mkdir -p "$run" "$(dirname "$output")"
    cp build/mingw64/q308.exe "$run/"
    if [ "$preview" = 1 ] && [ "${argument: -1}" = c ]; then
        # A chain: a row along the sample's lower wall, a small span in it.
        sed -e '/^hp[2-4]/d' -e 's/^hp1-.*/hp1- 0 200\r\nhp2 0 600\r\nhp3 1200 600\r\nhp4 1350 600\r\nhp5 3000 600\r/' \
            samples/JWC_TEMP.TXT >"$run/JWC_TEMP.TXT"
        printf '[Preview]\r\nOpen=1\r\n' >"$run/q308.ini"
    elif [ "$preview" = 1 ]; then
        cp samples/JWC_TEMP.TXT "$run/JWC_TEMP.TXT"
        printf '[Preview]\r\nOpen=1\r\n' >"$run/q308.ini"
    else
        # A user who closed the preview: a first run would open it.
        cp "$samples/host-four-points.txt" "$run/JWC_TEMP.TXT"
        printf '[Preview]\r\nOpen=0\r\n' >"$run/q308.ini"
    fi
    printf '%s\r\n' 16 16 0 0 0 3 2 1 '' '' 0.5 2 2 3 15 2 0 0 0 0 0 0 >"$run/$settings"
    q308_wine64 600 "$run/q308.exe" $argument >/dev/null 2>&1 &
    local dialog
    dialog=$(find_window "^$caption\$")
    sleep 2  # let it move to its place and paint
    local x0 y0 x1 y1 X Y WIDTH HEIGHT
    eval "$(xdotool getwindowgeometry --shell "$dialog")"
    x0=$X y0=$Y x1=$((X + WIDTH)) y1=$((Y + HEIGHT))
    if [ "$preview" = 1 ]; then
        eval "$(xdotool getwindowgeometry --shell "$(find_window "^プレビュー - $caption\$")")"
        x0=$((X < x0 ? X : x0)) y0=$((Y < y0 ? Y : y0))
        x1=$((X + WIDTH > x1 ? X + WIDTH : x1)) y1=$((Y + HEIGHT > y1 ? Y + HEIGHT : y1))
    fi
    import -window root -crop "$((x1 - x0))x$((y1 - y0))+${x0}+${y0}" +repage "$output"
    echo "saved $output ($((x1 - x0)) x $((y1 - y0)))"
    # Only the picture was wanted: end the program and its Wine session.
    q308_wineserver 30 -k >/dev/null 2>&1 || true
    q308_wineserver 60 -w || true
}

shoot 96 "$folder/dialog.png" 0
shoot 144 "$folder/dialog-144dpi.png" 0
shoot 96 "$folder/dialog-preview.png" 1
shoot 144 "$folder/dialog-preview-144dpi.png" 1
shoot 96 "$folder/dialog-horizontal.png" 1 /h 水平寸法線Ｂ
shoot 96 "$folder/dialog-aligned.png" 1 /a 平行寸法線Ｂ
shoot 96 "$folder/dialog-chain.png" 1 /hc 水平直列寸法線Ｂ
