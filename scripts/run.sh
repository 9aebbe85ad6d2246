#!/usr/bin/env bash
# Installs what is missing, builds, and starts the desktop program quorbin with the given
# arguments (a backup-set file, a stored file, or nothing). The command-line program is
# build/src/cli/quorbin-restore.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/build.sh" >&2
exec "$here/build/src/app/quorbin" "$@"
