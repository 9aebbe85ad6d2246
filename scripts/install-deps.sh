#!/usr/bin/env bash
# Installs the Debian packages that building and testing need, when any is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev zlib1g-dev libarchive-dev libcurl4-openssl-dev
  libgtest-dev libgmock-dev
  python3 python3-pyftpdlib python3-openssl openssl
  pigz curl qt6-translations-l10n libisal-dev
)

# Only for scripts/screenshots.sh, which asks for them with --screenshots.
screenshot_packages=(xvfb xauth qt6-qpa-plugins fonts-dejavu-core)
if [ "${1:-}" = "--screenshots" ]; then
  packages+=("${screenshot_packages[@]}")
fi

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
