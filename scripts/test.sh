#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test:
#  1. the suite in C.UTF-8 (extra arguments go to this ctest run);
#  2. the suite again in de_DE.UTF-8 (made with localedef when missing);
#  3. the layers' suites once more without the power to read every file (as the user nobody,
#     or as root with its capabilities dropped where nobody cannot reach the build), so that
#     the unreadable and read-only cases really run;
#  4. the suite in a build with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/),
#     failing on any report;
#  5. the fuzz harnesses with clang, a short while each (scripts/fuzz.sh, build-fuzz/);
#  6. clang-tidy over src/ (scripts/tidy.sh), failing on any finding.
# --quick runs step 1 only.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$(pwd)"
quick=0
if [ "${1:-}" = "--quick" ]; then
  quick=1
  shift
fi
bash scripts/build.sh

# ctest's lines for passing tests say nothing; failures, their output and the summary stay.
suite() {
  local dir="$1"
  shift
  (cd "$dir" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" "$@") |
    { grep -v -E '^ *Start +[0-9]+: |Test +#[0-9]+: .*( Passed| Skipped) ' || true; }
}

echo "== tests, C.UTF-8"
LC_ALL=C.UTF-8 LANG=C.UTF-8 LANGUAGE= suite build "$@"
[ "$quick" -eq 1 ] && exit 0

echo "== tests, de_DE.UTF-8"
bash scripts/locales.sh
LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 LANGUAGE= suite build

echo "== layer tests without the power to read every file"
bash scripts/unprivileged.sh "$root/build"

echo "== tests with AddressSanitizer and UndefinedBehaviorSanitizer"
# The sanitizer flags are those of the preset "asan" (CMakePresets.json).
cmake --preset asan >/dev/null
cmake --build build-asan
# Leaks are not checked: Qt and libcurl keep process-wide caches until exit.
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LC_ALL=C.UTF-8 suite build-asan

echo "== fuzzing the parsers (build-fuzz/)"
bash scripts/fuzz.sh
echo "== clang-tidy"
bash scripts/tidy.sh build
