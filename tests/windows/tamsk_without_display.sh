#!/usr/bin/env bash
# Started where no window can be opened (Wine without an X server), tamsk.exe
# says so in one line on standard error and ends with -1 (255).
#   tamsk_without_display.sh WINE_RUN PREFIX TAMSK_EXE
# A program without a display leaves the prefix's desktop without one, and
# the window tests that share the prefix then fail to create their windows;
# so this runs alone (RUN_SERIAL) and ends the prefix's processes on both sides.
set -euo pipefail
wine_run="$1" prefix="$(realpath -m "$2")" exe="$3"
end_prefix() {  # returns once the server is gone, so that the next test starts a new one
  WINEPREFIX="$prefix" wineserver -k 2>/dev/null || true
  WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
}
trap end_prefix EXIT
end_prefix
code=0
said="$(env -u DISPLAY -u WAYLAND_DISPLAY "$wine_run" "$prefix" "$exe" 2>&1 >/dev/null)" || code=$?
said="${said%$'\r'}"  # standard error is in text mode: the line ends in CR LF
printf '%s\n' "$said"
[ "$code" = 255 ] || { echo "FAIL: exit code $code, not 255" >&2; exit 1; }
case "$said" in  # the program's own path, then the reason, on one line
  *$'\n'*) echo "FAIL: more than one line" >&2; exit 1 ;;
  *'tamsk.exe: cannot open a window: no display is available') ;;
  *) echo "FAIL: not the line expected" >&2; exit 1 ;;
esac
