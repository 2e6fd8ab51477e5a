#!/usr/bin/env bash
# Starts the real program under a virtual X server, loads the example project
# through its File menu the way a user would (keys typed with xdotool), expands
# the first target and saves the window as docs/screenshot.png.
# Needs xvfb, xdotool and imagemagick, installed here when missing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${TAMSK_SCREENSHOT_DISPLAY:-}" ]; then
  "$root/scripts/install-deps.sh" xdotool imagemagick
  # A display of its own, so that the picture shows nothing else.
  exec env TAMSK_SCREENSHOT_DISPLAY=1 "$root/scripts/with-display.sh" "$0" "$@"
fi
bin="${TAMSK_BIN:-$root/build/default/mainwin/tamsk}"
out="${1:-$root/docs/screenshot.png}"
if [ ! -x "$bin" ]; then
  "$root/scripts/build.sh" default
fi

work="$(mktemp -d)"
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Run from a scratch folder: the program keeps its settings in the current folder.
cp -r "$root/examples" "$work/examples"
project="$work/examples/shapes/shapes.wpj"
(cd "$work" && exec "$bin") &
app_pid=$!

source "$root/scripts/xwindow.sh"

main="$(wait_window '^Watcom Project \[none\]$')"
xdotool windowfocus --sync "$main"
sleep 0.5
xdotool key --delay 150 alt+f l
sleep 1
# The open dialog has focus on its file name box.
xdotool type --delay 20 "$project"
xdotool key Return
main="$(wait_window 'shapes\.wpj\]$')"
xdotool windowfocus --sync "$main"
sleep 0.3
# Click the project node, open it, go to the first target and open it all.
xdotool mousemove --window "$main" 120 28 click 1
sleep 0.3
xdotool key --delay 150 Home Right Down asterisk
sleep 0.5
mkdir -p "$(dirname "$out")"
import -window "$main" "$out"
xdotool key --delay 150 alt+f x
wait "$app_pid" || true
app_pid=""
echo "saved $out"
