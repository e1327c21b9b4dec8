# Sourced by install-deps.sh and tests/wine/wine-env.sh: Wine's loaders,
# each found and started by its own name.
#
# Debian's `wine` script (and `wineboot`, `winepath`, `regedit`, which go
# through it) starts the 32-bit loader whenever wine32 is installed, also on
# a kernel that runs no 32-bit programs; every call then fails at once with
# "Exec format error". So the 64-bit program is run on the 64-bit loader by
# name, and the 32-bit one only where its loader has been seen to start.
#
#   q308_find_wine64           prints the 64-bit loader; fails, printing why
#   q308_find_wine32 [WINE64]  prints a 32-bit loader to try; fails, printing why
#   q308_loader_reason LOADER [32]
#                              prints nothing when LOADER starts, else why not
#
# Every start is bounded (Q308_WINE_PROBE_SECONDS, 5 by default) and reads
# no input. Q308_WINE_LIBDIRS lists the folders searched besides the path.

q308_wine_libdirs() {
    echo "${Q308_WINE_LIBDIRS:-/usr/lib/wine /usr/lib64/wine /usr/lib/x86_64-linux-gnu/wine /opt/wine-stable/bin /opt/wine-devel/bin /opt/wine-staging/bin}"
}

# Why LOADER does not start ("--version" within the bound), or nothing;
# "32" names the kernel's refusal as that of 32-bit programs.
q308_loader_reason() {
    local loader=$1 bits=${2:-} seconds=${Q308_WINE_PROBE_SECONDS:-5} out rc
    [ -f "$loader" ] && [ -x "$loader" ] || { echo "$loader is not an executable file"; return; }
    # Started through bash's exec: execvp, as timeout uses it, would hand a
    # binary the kernel refuses to the shell as if it were a script. In the C
    # locale, so that the refusal reads the same under a Japanese one.
    out=$(LC_ALL=C timeout -k 2 "$seconds" bash -c 'exec "$0" --version' "$loader" </dev/null 2>&1)
    rc=$?
    if [ "$rc" -eq 0 ] && grep -q '^wine-' <<<"$out"; then
        return
    fi
    if grep -q 'Exec format error' <<<"$out"; then
        if [ "$bits" = 32 ]; then
            echo "this machine's kernel runs no 32-bit programs (Exec format error)"
        else
            echo "this machine's kernel cannot run $loader (Exec format error)"
        fi
    elif [ "$rc" -eq 124 ] || [ "$rc" -eq 137 ]; then
        echo "$loader did not start within $seconds s"
    else
        out=$(grep -m1 -v -E '^\s*$' <<<"$out")
        echo "$loader does not start (exit status $rc${out:+: $out})"
    fi
}

# The 64-bit loader: `wine64` on the path, then where distributions put it,
# then plain `wine` as the last resort; the first that starts.
q308_find_wine64() {
    local candidate dir reasons=() reason
    local candidates=()
    candidate=$(command -v wine64 2>/dev/null) && candidates+=("$candidate")
    for dir in $(q308_wine_libdirs); do candidates+=("$dir/wine64"); done
    candidate=$(command -v wine 2>/dev/null) && candidates+=("$candidate")
    for candidate in "${candidates[@]}"; do
        [ -e "$candidate" ] || continue
        reason=$(q308_loader_reason "$candidate")
        if [ -z "$reason" ]; then
            echo "$candidate"
            return 0
        fi
        reasons+=("$candidate: $reason")
    done
    if [ "${#reasons[@]}" -eq 0 ]; then
        echo "no Wine loader is installed (no wine64 or wine on the path or in $(q308_wine_libdirs))"
    else
        echo "no Wine loader starts here: ${reasons[0]}"
    fi
    return 1
}

# The 32-bit loader to try: `wine` beside the 64-bit loader, then in the
# usual folders, then on the path; never the 64-bit loader itself.
q308_find_wine32() {
    local wine64=${1:-} candidate dir candidates=()
    [ -n "${Q308_WINE32:-}" ] && candidates+=("$Q308_WINE32")
    [ -n "$wine64" ] && candidates+=("$(dirname "$wine64")/wine")
    for dir in $(q308_wine_libdirs); do candidates+=("$dir/wine"); done
    candidate=$(command -v wine 2>/dev/null) && candidates+=("$candidate")
    for candidate in "${candidates[@]}"; do
        [ -x "$candidate" ] && [ ! -d "$candidate" ] || continue
        [ -n "$wine64" ] && [ "$candidate" -ef "$wine64" ] && continue
        echo "$candidate"
        return 0
    done
    echo "Wine's 32-bit loader is not installed"
    return 1
}
