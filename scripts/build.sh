#!/usr/bin/env bash
# Installs what is missing and builds everything (programs, tests, benchmarks) out of tree in
# build/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DQUORBIN_BENCHMARKS=ON >/dev/null
cmake --build build
