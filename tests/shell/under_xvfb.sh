#!/usr/bin/env bash
# Runs a test program under a real X server (Xvfb) of the given screen size, where fonts,
# the screen's dpi and the window's real geometry count. A test that skips there fails: it
# is here to run.
# usage: under_xvfb.sh WIDTHxHEIGHT PROGRAM [ARGUMENTS...]
set -uo pipefail
screen=$1
shift
command -v Xvfb >/dev/null || { echo "Xvfb is not installed (scripts/install-deps.sh)"; exit 1; }

# A display number nobody uses, from this process's id so parallel tests do not meet.
display=$((100 + $$ % 400))
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 "${screen}x24" -nolisten tcp >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; wait $server 2>/dev/null' EXIT
for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X$display" ] && break
    sleep 0.1
done

output=$(DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$@" 2>&1)
status=$?
echo "$output"
if grep -q "\[  SKIPPED \]" <<<"$output"; then
    echo "FAIL: a test skipped under Xvfb"
    exit 1
fi
exit $status
