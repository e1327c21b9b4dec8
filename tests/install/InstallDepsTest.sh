#!/usr/bin/env bash
# tools/install-deps.sh and the summary of tools/test-all.sh, run against
# stand-ins for apt-get, dpkg, dpkg-query and friends on PATH that behave as
# a stumbling registry does. Nothing here touches the real system.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
failures=0
check() { # check DESCRIPTION COMMAND...
    if "${@:2}"; then echo "ok      $1"; else echo "FAILED  $1"; failures=$((failures + 1)); fi
}
contains() { grep -q -F -- "$2" "$1"; }
lacks() { ! grep -q -F -- "$2" "$1"; }

native=(cmake make g++ pkg-config libgtest-dev libbenchmark-dev clang libclang-rt-14-dev mawk libxml2-dev libc-bin)
windows=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine64 wine xvfb xauth locales
         fonts-ipafont-gothic zip librsvg2-bin xdotool imagemagick)

# make_world DIR: stand-ins reading their state from DIR: installed (one
# package a line), arches, unresolvable (package and the lines apt prints
# for it), update-fails, fetch-fails-once.
make_world() {
    local w=$1
    mkdir -p "$w/bin"
    : >"$w/installed"; : >"$w/arches"; : >"$w/calls"
    cat >"$w/bin/id" <<'STUB'
#!/bin/sh
echo 0
STUB
    cat >"$w/bin/sleep" <<STUB
#!/bin/sh
echo "sleep \$*" >>"$w/calls"
STUB
    cat >"$w/bin/locale" <<'STUB'
#!/bin/sh
printf 'C\nC.utf8\nja_JP.utf8\nPOSIX\n'
STUB
    cat >"$w/bin/dpkg-query" <<STUB
#!/bin/sh
for last; do :; done
if grep -qx -- "\$last" "$w/installed"; then printf 'install ok installed'; exit 0; fi
echo "dpkg-query: no packages found matching \$last" >&2
exit 1
STUB
    cat >"$w/bin/dpkg" <<STUB
#!/bin/sh
echo "dpkg \$*" >>"$w/calls"
case \$1 in
--print-foreign-architectures) cat "$w/arches" ;;
--add-architecture) echo "\$2" >>"$w/arches" ;;
-L) cat "$w/files" 2>/dev/null ;;
esac
STUB
    cat >"$w/bin/apt-get" <<STUB
#!/bin/bash
echo "apt-get \$*" >>"$w/calls"
args=("\$@")
for ((i = 0; i < \${#args[@]}; i++)); do
    case \${args[i]} in
    -o) i=\$((i + 1)) ;;
    update)
        if [ -e "$w/update-fails" ]; then
            cat <<'OUT'
Err:6 http://deb.debian.org/debian-security bookworm-security/main i386 Packages
  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]
Reading package lists...
E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]
E: Some index files failed to download. They have been ignored, or old ones used instead.
OUT
            exit 100
        fi
        exit 0 ;;
    install) packages=("\${args[@]:i+1}"); break ;;
    esac
done
wanted=()
for p in "\${packages[@]}"; do case \$p in -*) ;; *) wanted+=("\$p") ;; esac; done
if [ -e "$w/fetch-fails-once" ]; then
    rm "$w/fetch-fails-once"
    echo "E: Failed to fetch http://deb.debian.org/debian/pool/main/w/wine/wine64_8.0.deb  Connection failed"
    exit 100
fi
for p in "\${wanted[@]}"; do
    if grep -q "^\$p\\\$" "$w/unresolvable" 2>/dev/null; then
        sed -n "/^\$p\\\$/,/^\\\$/p" "$w/unresolvable" | sed '1d;\$d'
        exit 100
    fi
done
printf '%s\n' "\${wanted[@]}" >>"$w/installed"
STUB
    chmod +x "$w/bin"/*
}

run_install() { # run_install DIR [MODE]: exit status in DIR/rc, output in DIR/out and DIR/err
    local w=$1
    shift
    PATH="$w/bin:$PATH" Q308_DEPS_STATUS="$w/status" Q308_APT_PAUSE=7 \
        bash "$root/tools/install-deps.sh" "$@" >"$w/out" 2>"$w/err"
    echo $? >"$w/rc"
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo "--- the registry measured on 2026-12-09: an i386 index of the wrong size, wine32:i386 unresolvable"
w=$scratch/stumbling
make_world "$w"
printf '%s\n' "${native[@]}" >"$w/installed"
touch "$w/update-fails"
cat >"$w/unresolvable" <<'EOF2'
wine32:i386
Some packages could not be installed. This may mean that you have
requested an impossible situation.
The following packages have unmet dependencies:
 libxml2:i386 : Depends: liblzma5:i386 (>= 5.1.1alpha+20120614) but it is not going to be installed
E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages.

EOF2
run_install "$w"
check "exits 0" test "$(cat "$w/rc")" = 0
check "apt-get update tried three times" test "$(grep -c ' update' "$w/calls")" = 3
check "with a pause between tries" test "$(grep -c '^sleep 7$' "$w/calls")" = 2
check "the failing index named in a warning" contains "$w/err" \
    "warning: apt-get update could not fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz (File has unexpected size (374820 != 376004). Mirror sync in progress?)"
check "every apt-get run waits for another's lock" test "$(grep -c 'DPkg::Lock::Timeout=600' "$w/calls")" = "$(grep -c '^apt-get' "$w/calls")"
check "the i386 architecture added" contains "$w/calls" "dpkg --add-architecture i386"
check "the Windows group installed by itself" contains "$w/calls" "install -y -q ${windows[*]}"
check "wine32:i386 installed last and alone" test "$(grep '^apt-get' "$w/calls" | tail -n 1 | sed 's/.* -q //')" = "wine32:i386"
check "the native and Windows groups ok" test "$(head -n 2 "$w/status")" = "$(printf 'native ok\nwindows ok')"
check "wine32 unavailable with apt's reason" test "$(sed -n 3p "$w/status")" = \
    "wine32 unavailable libxml2:i386 : Depends: liblzma5:i386 (>= 5.1.1alpha+20120614) but it is not going to be installed; E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages."
check "the user told which tests will not run" contains "$w/err" "warning: Wine's 32-bit half (wine32:i386) cannot be installed here: libxml2:i386"

echo "--- test-all.sh's summary of that machine"
(
    # shellcheck source=tools/stages.sh
    . "$root/tools/stages.sh"
    for stage in "native build:native" "Wine 64:windows" "Wine 32:windows wine32"; do
        read -r -a groups <<<"${stage#*:}"
        if reason=$(stage_blocker "$w/status" "${groups[@]}"); then
            stage_record notrun "${stage%%:*}" "$reason"
        else
            stage_record passed "${stage%%:*}"
        fi
    done
    stage_record failed "a stage that ran and failed"
    stage_summary
    echo "rc=$?"
) >"$w/summary"
check "the 32-bit stage not run, with the reason" contains "$w/summary" \
    "not run: Wine 32 (wine32:i386 cannot be installed here: libxml2:i386 : Depends: liblzma5:i386"
check "the stages that could run ran" contains "$w/summary" "passed:  Wine 64"
check "a stage not run counts as neither" test "$(tail -n 2 "$w/summary" | head -n 1)" = "2 passed, 1 failed"
check "a failed stage fails the run" test "$(tail -n 1 "$w/summary")" = "rc=1"

echo "--- the native group cannot be installed"
w=$scratch/no-native
make_world "$w"
printf 'libgtest-dev\nE: Unable to locate package libgtest-dev\n\n' >"$w/unresolvable"
run_install "$w"
check "exits non-zero" test "$(cat "$w/rc")" != 0
check "says so plainly" contains "$w/err" \
    "error: the packages for the native build and tests cannot be installed: E: Unable to locate package libgtest-dev"
check "tries nothing after it" lacks "$w/calls" "g++-mingw-w64"

# loader_world DIR LOADER: wine32:i386 installed, its loader /usr/lib/wine/wine
# standing in DIR/lib as LOADER makes it ("starts", or "refused": an i386
# program on a kernel that runs none).
loader_world() {
    local w=$1
    make_world "$w"
    printf '%s\n' "${native[@]}" "${windows[@]}" wine32:i386 >"$w/installed"
    mkdir -p "$w/lib/usr/lib/wine"
    case $2 in
    starts) printf '#!/bin/sh\necho wine-8.0\n' >"$w/lib/usr/lib/wine/wine" ;;
    refused) printf '\177ELF\001\001\001\000' >"$w/lib/usr/lib/wine/wine" ;;
    esac
    chmod +x "$w/lib/usr/lib/wine/wine"
    printf '%s\n' /usr/lib/wine "$w/lib/usr/lib/wine/wine" >"$w/files"
}

echo "--- everything present"
w=$scratch/complete
loader_world "$w" starts
run_install "$w"
check "exits 0" test "$(cat "$w/rc")" = 0
check "asks the registry nothing" lacks "$w/calls" "apt-get"
check "every group ok" test "$(cat "$w/status")" = "$(printf 'native ok\nwindows ok\nwine32 ok')"

echo "--- wine32 installed on a kernel that runs no 32-bit programs (measured on 2026-12-10)"
w=$scratch/no-i386-kernel
loader_world "$w" refused
run_install "$w"
check "exits 0" test "$(cat "$w/rc")" = 0
check "wine32 unusable, with the kernel's refusal" test "$(sed -n 3p "$w/status")" = \
    "wine32 unusable this machine's kernel runs no 32-bit programs (Exec format error)"
check "the packages stay installed" lacks "$w/calls" "remove"
check "the user told" contains "$w/err" "is installed but cannot start here: this machine's kernel runs no 32-bit programs"
stage_reason=$(. "$root/tools/stages.sh"; stage_blocker "$w/status" windows wine32)
check "the 32-bit stage says why it is not run" test "$stage_reason" = \
    "this machine's kernel runs no 32-bit programs (Exec format error)"

echo "--- the native group alone, a download broken off once"
w=$scratch/native-only
make_world "$w"
touch "$w/fetch-fails-once"
run_install "$w" native
check "exits 0" test "$(cat "$w/rc")" = 0
check "the download tried again" test "$(grep -c ' install ' "$w/calls")" = 2
check "no i386 architecture for the native build" lacks "$w/calls" "add-architecture"
check "only the native group reported" test "$(cat "$w/status")" = "native ok"

echo
if [ "$failures" -eq 0 ]; then echo "all checks passed"; else echo "$failures check(s) FAILED"; exit 1; fi
