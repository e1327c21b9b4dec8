# Sourced by the Wine test and screenshot scripts: a private Wine prefix set
# up for unattended runs in a Japanese locale, on Wine's 64-bit loader.
#   q308_wine_env [PREFIX]   exports the environment (a fresh prefix folder
#                            when none is given); fails when no Wine starts
#   q308_wine64 SECONDS ARGS...
#                            runs a program (or wineboot, winepath, regedit)
#                            on the 64-bit loader for at most SECONDS, never
#                            waiting for input
#   q308_wineserver SECONDS ARGS...
#                            the Wine server of that loader, as bounded
#   q308_wine_prefix         creates the prefix and sets it up
#   q308_wine_dpi DPI        sets the screen density programs started next see

# shellcheck source=tools/wine-loaders.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-loaders.sh"

q308_wine_env() {
    Q308_WINE64=$(q308_find_wine64) || { echo "error: $Q308_WINE64" >&2; return 1; }
    Q308_WINESERVER=$(dirname "$Q308_WINE64")/wineserver
    [ -x "$Q308_WINESERVER" ] || Q308_WINESERVER=$(command -v wineserver || echo wineserver)
    export Q308_WINE64 Q308_WINESERVER
    export WINEPREFIX="${1:-$(mktemp -d "${TMPDIR:-/tmp}/q308-wine.XXXXXX")/prefix}"
    export WINEARCH=win64
    export WINEDEBUG=-all
    # No Mono or Gecko installer dialogs, no desktop menu entries.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    # Code page 932, as on a Japanese Windows.
    export LANG=ja_JP.UTF-8
    export LC_ALL=ja_JP.UTF-8
}

q308_wine64() {
    local seconds=$1
    shift
    # Programs it starts run on the same loader.
    WINELOADER=$Q308_WINE64 timeout "$seconds" "$Q308_WINE64" "$@" </dev/null
}

q308_wineserver() {
    local seconds=$1
    shift
    timeout "$seconds" "$Q308_WINESERVER" "$@" </dev/null
}

# Writes a registry file Wine's regedit reads (UTF-16 with a byte-order mark).
q308_wine_registry() {
    local file=$1
    {
        printf '\xff\xfe'
        sed 's/$/\r/' <<'REG' | iconv -f UTF-8 -t UTF-16LE
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="N"
"UseTakeFocus"="N"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ ゴシック"="IPAGothic"
"MS Gothic"="IPAGothic"
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS PGothic"="IPAPGothic"
"MS UI Gothic"="IPAPGothic"
"ＭＳ 明朝"="IPAMincho"
"MS Mincho"="IPAMincho"
REG
    } >"$file"
}

q308_wine_dpi() {
    local reg="$WINEPREFIX/q308-dpi.reg"
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"LogPixels"=dword:%08x\r\n' "$1" >"$reg"
    q308_wine64 120 regedit /S "$(q308_windows_path "$reg")" >/dev/null 2>&1 || true
    q308_wineserver 120 -w || true
}

# The Windows path of a file, as Wine sees it.
q308_windows_path() {
    q308_wine64 60 winepath -w "$1" 2>/dev/null
}

q308_wine_prefix() {
    mkdir -p "$WINEPREFIX"
    q308_wine64 300 wineboot --init >/dev/null 2>&1 || true
    q308_wineserver 120 -w || true
    # Debian's Wine keeps the caption buttons' font where a new prefix does
    # not look; without it they show as letters.
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    local reg="$WINEPREFIX/q308-settings.reg"
    q308_wine_registry "$reg"
    q308_wine64 120 regedit /S "$(q308_windows_path "$reg")" >/dev/null 2>&1 || true
    q308_wineserver 120 -w || true
}
