#!/usr/bin/env bash
# Runs clang-tidy (the checks of .clang-tidy) over every .cpp of src/ with the compile commands
# of a build directory (default build/, made by scripts/build.sh), one file per core, and fails on
# any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
build="${1:-build}"
if [ ! -f "$build/compile_commands.json" ]; then
  echo "tidy.sh: $build/compile_commands.json is missing; run scripts/build.sh first" >&2
  exit 2
fi
if ! command -v run-clang-tidy-14 >/dev/null; then
  echo "tidy.sh: run-clang-tidy-14 is missing (apt-get install clang-tidy-14)" >&2
  exit 2
fi
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
# run-clang-tidy's own status only tells whether clang-tidy ran; the findings are in its output.
# It colours its output whatever the output is; the colours go.
run-clang-tidy-14 -p "$build" -j "$(nproc)" -quiet "^$root/src/.*\.cpp\$" 2>&1 |
  sed 's/\x1b\[[0-9;]*m//g' >"$log" || true
findings="$(grep -cE '(warning|error): ' "$log" || true)"
if [ "$findings" -ne 0 ]; then
  grep -vE '^(clang-tidy-14 |[0-9]+ warnings? (and [0-9]+ errors? )?generated)' "$log" >&2
  echo "tidy.sh: $findings findings" >&2
  exit 1
fi
echo "tidy.sh: no findings"
