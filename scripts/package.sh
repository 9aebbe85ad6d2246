#!/usr/bin/env bash
# Builds the Debian package in build-package/ (the two programs only, stripped), checks it
# with lintian (no errors), and installs it into a fresh root with dpkg --root to see that it
# unpacks. Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --programs
missing=()
for p in dpkg-dev lintian; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
  -DQUORBIN_BENCHMARKS=OFF -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build build-package
(cd build-package && cpack -G DEB >/dev/null)
package="$(ls build-package/quorbin_*.deb)"
lintian --fail-on error "$package" 2>&1 | { grep -v "running with root privileges" || true; }
root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates"
touch "$root/var/lib/dpkg/status"
dpkg --root="$root" --force-depends --force-not-root -i "$package" >/dev/null
test -x "$root/usr/bin/quorbin" && test -x "$root/usr/bin/quorbin-restore"
echo "$package"
