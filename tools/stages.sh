# Sourced by tools/test-all.sh: the stages of the test command and their
# summary. A stage that ran either passed or failed; a stage whose packages
# could not be installed is not run, with the reason, and counts as neither.

stage_lines=()
stage_passed=0
stage_failed=0

# The reason a stage cannot run, from the group lines install-deps.sh wrote
# ("GROUP ok", "GROUP unavailable REASON" or "GROUP unusable REASON");
# nothing when it can.
stage_blocker() {
    local status_file=$1 group line
    shift
    for group in "$@"; do
        line=$(grep -m1 -E "^$group unusable " "$status_file" 2>/dev/null) && {
            echo "${line#"$group unusable "}"
            return 0
        }
        line=$(grep -m1 -E "^$group unavailable " "$status_file" 2>/dev/null) || continue
        case $group in
        native) printf 'the packages for the native build cannot be installed here: ' ;;
        windows) printf 'MinGW-w64 and 64-bit Wine cannot be installed here: ' ;;
        wine32) printf 'wine32:i386 cannot be installed here: ' ;;
        *) printf '%s cannot be installed here: ' "$group" ;;
        esac
        echo "${line#"$group unavailable "}"
        return 0
    done
    return 1
}

# stage_record passed|failed|notrun NAME [REASON]
stage_record() {
    case $1 in
    passed) stage_passed=$((stage_passed + 1)); stage_lines+=("passed:  $2") ;;
    failed) stage_failed=$((stage_failed + 1)); stage_lines+=("FAILED:  $2") ;;
    notrun) stage_lines+=("not run: $2 ($3)") ;;
    esac
}

# Prints every stage and the count; fails when a stage that ran failed.
stage_summary() {
    local line
    echo
    echo "=== Summary"
    for line in "${stage_lines[@]}"; do echo "$line"; done
    echo "$stage_passed passed, $stage_failed failed"
    [ "$stage_failed" -eq 0 ]
}
