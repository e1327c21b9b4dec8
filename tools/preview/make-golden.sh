#!/usr/bin/env bash
# Remakes the reference pictures in tests/golden/preview/: for each case the
# real program draws the dimension on input.txt with the dialog answers of
# script.txt (output.txt), and q308-preview draws both files (expected.svg).
# Run it after a deliberate change to the program or the preview, then review
# the pictures before committing them.
#
#   tools/preview/make-golden.sh [BUILD_DIR]   (default: build/default)
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/default}
program=$build/q308
preview=$build/tools/preview/q308-preview
for tool in "$program" "$preview"; do
  [ -x "$tool" ] || { echo "missing $tool: build the targets q308 and q308-preview first" >&2; exit 1; }
done

for case_dir in tests/golden/preview/*/; do
  work=$(mktemp -d)
  cp "$program" "$work/"
  cp "$case_dir/input.txt" "$work/JWC_TEMP.TXT"
  # The program reads its settings from its own folder; a fresh folder
  # starts from the dialog's defaults, so only script.txt decides.
  (cd "$work" && ./q308 < "$OLDPWD/$case_dir/script.txt" >/dev/null)
  cp "$work/JWC_TEMP.TXT" "$case_dir/output.txt"
  rm -rf "$work"
  "$preview" "$case_dir/input.txt" "$case_dir/output.txt" "$case_dir/expected.svg"
done
