#!/usr/bin/env bash
# Installs the Debian packages that building (and, unless --programs, testing) needs, when
# any is missing. --programs: only what the two programs need; --screenshots: also what
# scripts/screenshots.sh needs.
set -euo pipefail

# Building and running quorbin and quorbin-restore.
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev zlib1g-dev libarchive-dev libcurl4-openssl-dev libssl-dev libisal-dev qt6-translations-l10n qt6-l10n-tools qt6-tools-dev
)
# The tests: their FTP server, its certificate, the reference tools they compare with, clang
# with its libFuzzer runtime for the fuzz harnesses, clang-tidy (scripts/tidy.sh), and a virtual
# X server with a font for the window at 120 dpi.
test_packages=(
  libgtest-dev libgmock-dev
  python3 python3-pyftpdlib python3-openssl openssl
  pigz curl bash-completion locales
  clang libclang-rt-14-dev clang-tidy-14
  xvfb xauth fonts-dejavu-core
)
screenshot_packages=(qt6-qpa-plugins)

case "${1:-}" in
  --programs) ;;
  --screenshots) packages+=("${test_packages[@]}" "${screenshot_packages[@]}") ;;
  *) packages+=("${test_packages[@]}") ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
