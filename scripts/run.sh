#!/usr/bin/env bash
# Installs what the programs need, builds the two programs (no tests, no benchmarks), and
# starts the desktop program quorbin with the given arguments (a backup-set file, a stored
# file, or nothing). The command-line program is build/src/cli/quorbin-restore.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/install-deps.sh" --programs >&2
cmake -S "$here" -B "$here/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DBUILD_TESTING=OFF -DQUORBIN_BENCHMARKS=OFF >/dev/null
cmake --build "$here/build" --target quorbin quorbin-restore >&2
exec "$here/build/src/app/quorbin" "$@"
