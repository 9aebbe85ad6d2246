#!/usr/bin/env bash
# Builds the libFuzzer harnesses of tests/fuzz with clang in build-fuzz/ and runs each for a
# short time on a copy of its seed corpus (the committed corpus does not grow), failing on any
# crash, hang, sanitizer report or broken property. Skips when clang or its libFuzzer runtime
# is missing. FUZZ_SECONDS sets the time per harness (default 25); names as arguments pick
# harnesses (bash scripts/fuzz.sh ini ftp).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-25}"
harnesses=("$@")
[ ${#harnesses[@]} -eq 0 ] && harnesses=(paths ini container ftp unpack)

if ! command -v clang++ >/dev/null; then
  echo "fuzzing skipped: clang++ is not installed (scripts/install-deps.sh installs it)"
  exit 0
fi
probe="$(mktemp -d)"
trap 'rm -rf "$probe"' EXIT
echo 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }' >"$probe/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
  echo "fuzzing skipped: clang++ has no libFuzzer runtime (libclang-rt-14-dev)"
  exit 0
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
# Debug keeps Qt's assertions; -O1 keeps the harnesses fast enough to find something.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS=-O1 \
  -DQUORBIN_FUZZ=ON -DBUILD_TESTING=OFF -DQUORBIN_BENCHMARKS=OFF "${launcher[@]}" >/dev/null
cmake --build build-fuzz --target fuzzers

failed=0
for name in "${harnesses[@]}"; do
  work="$probe/$name"
  mkdir -p "$work/corpus" build-fuzz/findings
  cp -r "tests/fuzz/corpus/$name/." "$work/corpus/"
  log="build-fuzz/findings/$name.log"
  # Leaks are not checked: Qt keeps process-wide caches until exit.
  if (cd "$work" && LC_ALL=C.UTF-8 UBSAN_OPTIONS=print_stacktrace=1 "$OLDPWD/build-fuzz/tests/fuzz/fuzz_$name" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -detect_leaks=0 \
        -artifact_prefix="$OLDPWD/build-fuzz/findings/$name-" "$work/corpus") >"$log" 2>&1; then
    echo "fuzz_$name: $(grep -E '^Done [0-9]+ runs' "$log" | tail -1)"
  else
    failed=1
    echo "fuzz_$name FAILED (log: $log; the input: build-fuzz/findings/$name-*):"
    grep -v -E '^#[0-9]+ +(NEW|REDUCE|pulse|INITED|RELOAD)' "$log" | tail -40
  fi
done
exit "$failed"
