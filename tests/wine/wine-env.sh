# Sourced by the Wine test and screenshot scripts: a private Wine prefix set
# up for unattended runs in a Japanese locale.
#   q308_wine_env [PREFIX]   exports the environment (a fresh prefix folder
#                            when none is given)
#   q308_wine_prefix         creates the prefix and sets it up
#   q308_wine_dpi DPI        sets the screen density programs started next see

q308_wine_env() {
    export WINEPREFIX="${1:-$(mktemp -d "${TMPDIR:-/tmp}/q308-wine.XXXXXX")/prefix}"
    export WINEARCH=win64
    export WINEDEBUG=-all
    # No Mono or Gecko installer dialogs, no desktop menu entries.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    # Code page 932, as on a Japanese Windows.
    export LANG=ja_JP.UTF-8
    export LC_ALL=ja_JP.UTF-8
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
    timeout 120 wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1 || true
    timeout 120 wineserver -w || true
}

q308_wine_prefix() {
    mkdir -p "$WINEPREFIX"
    timeout 300 wineboot --init >/dev/null 2>&1 || true
    timeout 120 wineserver -w || true
    # Debian's Wine keeps the caption buttons' font where a new prefix does
    # not look; without it they show as letters.
    if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
        cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    local reg="$WINEPREFIX/q308-settings.reg"
    q308_wine_registry "$reg"
    timeout 120 wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" >/dev/null 2>&1 || true
    timeout 120 wineserver -w || true
}
