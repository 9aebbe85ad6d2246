#!/usr/bin/env bash
# Renders every page of the main window and the double-click window into docs/*.png, on a
# virtual X server, with a sample set in a scratch directory: at 96 dpi, and again at 120 dpi
# into docs/*-120dpi.png. In German, the product's own language.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --screenshots
bash scripts/build.sh
xvfb-run -a -s "-screen 0 1280x1024x24" \
  env LANGUAGE=de QT_QPA_PLATFORM=xcb build/src/app/quorbin-screenshots docs
larger="$(mktemp -d)"
trap 'rm -rf "$larger"' EXIT
xvfb-run -a -s "-screen 0 1280x800x24" \
  env LANGUAGE=de QT_QPA_PLATFORM=xcb QT_FONT_DPI=120 build/src/app/quorbin-screenshots "$larger"
for shot in "$larger"/*.png; do
  name="$(basename "$shot" .png)"
  cp "$shot" "docs/$name-120dpi.png"
done
