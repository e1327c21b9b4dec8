#!/usr/bin/env bash
# Remakes the reference pictures in tests/golden/:
#   preview/  for each case the real program draws the dimension on input.txt
#             with the dialog answers of script.txt (output.txt), and
#             q308-preview draws both files (expected.svg);
#   live/     for each case the real program runs script.txt on input.txt,
#             whose Preview= command writes the picture of what OK would
#             draw (expected.svg).
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

# The program in a fresh folder of its own: it reads its settings there, so
# it starts from the dialog's defaults and only script.txt decides.
run_case() {
  local case_dir=$1 work
  work=$(mktemp -d)
  cp "$program" "$work/"
  cp "$case_dir/input.txt" "$work/JWC_TEMP.TXT"
  (cd "$work" && ./q308 < "$OLDPWD/$case_dir/script.txt" >/dev/null)
  echo "$work"
}

for case_dir in tests/golden/preview/*/; do
  work=$(run_case "$case_dir")
  cp "$work/JWC_TEMP.TXT" "$case_dir/output.txt"
  rm -rf "$work"
  "$preview" "$case_dir/input.txt" "$case_dir/output.txt" "$case_dir/expected.svg"
done

for case_dir in tests/golden/live/*/; do
  work=$(run_case "$case_dir")
  cp "$work/preview.svg" "$case_dir/expected.svg"
  rm -rf "$work"
done
