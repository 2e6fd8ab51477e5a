#!/usr/bin/env bash
# The Windows program's picture: starts tamsk.exe under Wine and a virtual X
# server, loads examples/shapes/shapes.wpj through its File menu and the open
# dialog by keyboard, expands the first target and saves the window as
# docs/screenshot-windows.png. Builds tamsk.exe (preset "windows") when missing.
# Needs Wine, xdotool and imagemagick, installed here when missing.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
if [ -z "${TAMSK_SCREENSHOT_DISPLAY:-}" ]; then
  "$root/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix wine wine64 xdotool imagemagick
  # A display of its own, so that the picture shows nothing else.
  exec env TAMSK_SCREENSHOT_DISPLAY=1 "$root/scripts/with-display.sh" "$0" "$@"
fi
exe="$root/build/windows/mainwin/tamsk.exe"
out="${1:-$root/docs/screenshot-windows.png}"
if [ ! -f "$exe" ]; then
  cmake --preset windows >/dev/null
  cmake --build --preset windows --target tamsk
fi
export WINEPREFIX="$root/build/windows/wineprefix" WINEDEBUG=-all
"$root/scripts/wine-run.sh" "$WINEPREFIX" cmd /c exit 0 >/dev/null  # makes the prefix once

# Run from a scratch folder: the program keeps its settings in the current folder.
work="$(mktemp -d)"
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp -r "$root/examples" "$work/examples"
(cd "$work" && exec wine "$exe") &

source "$root/scripts/xwindow.sh"

main="$(wait_window '^Watcom Project \[none\]$')"
xdotool windowfocus --sync "$main"
sleep 0.5
xdotool key --delay 150 alt+f l
dialog="$(wait_window '^Open$')"
xdotool windowfocus --sync "$dialog"
xdotool type --delay 10 "Z:${work//\//\\}\\examples\\shapes\\shapes.wpj"
xdotool key Return
main="$(wait_window 'shapes\.wpj\]$')"
xdotool windowfocus --sync "$main"
sleep 0.5
# Click the project node (the tree takes no focus by Tab), open it, go to the
# first target and open it all, then back to the top with the target selected.
xdotool mousemove --window "$main" 110 26 click 1
sleep 0.3
xdotool key --delay 200 Home Right Down KP_Multiply
sleep 1  # the expansion takes no other keys while it runs
xdotool key --delay 200 Home Down
sleep 1
mkdir -p "$(dirname "$out")"
import -window "$main" "$out"
xdotool key --delay 150 alt+f x
echo "saved $out"
