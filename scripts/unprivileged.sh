#!/usr/bin/env bash
# Runs the test programs of the layers below the windows in BUILD-DIR so that file
# permissions bind: as the user nobody when it can reach the build, else (the build lies in
# root's home) as root without the capabilities that bypass permissions. A normal user runs
# them as they are.
set -euo pipefail
build="$1"
run=()
if [ "$(id -u)" -eq 0 ]; then
  if runuser -u nobody -- test -x "$build/tests/test_platform" 2>/dev/null; then
    scratch="$(mktemp -d)"
    trap 'rm -rf "$scratch"' EXIT
    chmod 0777 "$scratch"
    run=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$scratch" TMPDIR="$scratch")
    echo "as the user nobody"
  else
    run=(setpriv --inh-caps=-all --ambient-caps=-all --bounding-set=-all)
    echo "as root without its capabilities"
  fi
fi
status=0
for layer in platform config engine cli; do
  program="$build/tests/test_$layer"
  [ -x "$program" ] || continue
  if ! "${run[@]}" env QT_QPA_PLATFORM=offscreen "$program" --gtest_brief=1 >"$build/unprivileged-$layer.log" 2>&1; then
    cat "$build/unprivileged-$layer.log"
    status=1
  fi
  grep -E '^\[  (PASSED|FAILED|SKIPPED) ' "$build/unprivileged-$layer.log" | sed "s/^/test_$layer: /"
done
exit $status
