#!/usr/bin/env bash
# Makes the de_DE.UTF-8 locale when the system lacks it (the tests run in it as well).
set -euo pipefail
locale -a | grep -qix 'de_DE.utf8' && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8
