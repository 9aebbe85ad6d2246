#!/usr/bin/env bash
# Renders every page of the main window and the double-click window into docs/*.png, on a
# virtual X server, with a sample set in a scratch directory.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --screenshots
bash scripts/build.sh
xvfb-run -a -s "-screen 0 1280x1024x24" \
  env QT_QPA_PLATFORM=xcb build/src/app/quorbin-screenshots docs
