#!/usr/bin/env bash
# Installs what is missing, builds, and runs quorbin-restore with the given arguments.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
bash "$here/scripts/build.sh" >&2
exec "$here/build/src/cli/quorbin-restore" "$@"
