#!/usr/bin/env bash
# Runs a command with a virtual X server of its own: picks a free display
# number, starts Xvfb on it, exports DISPLAY and stops that server afterwards.
# The windows of Wine programs need one (there is no window manager).
#   with-display.sh COMMAND [ARGS...]
set -euo pipefail
display=70
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true' EXIT
export DISPLAY=":$display"
for _ in $(seq 100); do
  [ -e "/tmp/.X11-unix/X$display" ] && break
  kill -0 "$xvfb_pid" 2>/dev/null || { echo "with-display: Xvfb :$display did not start" >&2; exit 125; }
  sleep 0.1
done
status=0
"$@" || status=$?
exit $status
