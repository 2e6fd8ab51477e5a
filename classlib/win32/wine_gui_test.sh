#!/usr/bin/env bash
# Drives tamsk.exe under Wine and a virtual X server by keyboard, as a user
# would: File > Load through the open dialog, Export, the copy dialog, Exit.
# Checks the captions, the exported file, the settings file and the exit code.
# Usage: wine_gui_test.sh TAMSK_EXE EXAMPLES_DIR PREFIX_DIR
set -euo pipefail
# Without a display, one of its own (scripts/with-display.sh).
if [ -z "${DISPLAY:-}" ]; then
  exec "$(dirname "$0")/../../scripts/with-display.sh" "$0" "$@"
fi
exe="$(realpath "$1")" examples="$2"
export WINEPREFIX="$(realpath -m "$3")" WINEDEBUG=-all
"$(dirname "$0")/../../scripts/wine-run.sh" "$WINEPREFIX" cmd /c exit 0 >/dev/null  # makes the prefix once

work="$(mktemp -d)"
cleanup() {
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
# A folder name beyond ASCII must come through the open dialog into the
# caption and the settings unchanged (UTF-8 inside, the wide API outside).
folder="$work/Größe"
mkdir "$folder"
cp -r "$examples/shapes" "$folder/shapes"

fail() { echo "FAIL: $*" >&2; exit 1; }
# The id of the visible window whose caption matches, waiting up to 30 s.
window() {
  for _ in $(seq 120); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.25
  done
  return 1
}
caption() { xdotool getwindowname "$(window "$1")"; }
menu() {  # File menu, then the item's mnemonic
  xdotool windowfocus --sync "$(window '^Watcom Project')"
  xdotool key alt+f
  sleep 0.5
  xdotool key "$1"
}

(cd "$work" && wine "$exe"; echo $? > "$work/exit-code") &
[ "$(caption '^Watcom Project')" = "Watcom Project [none]" ] || fail "start caption"

menu l
xdotool windowfocus --sync "$(window '^Open$')" || fail "no open dialog"
xdotool type --delay 10 "Z:${folder//\//\\}\\shapes\\shapes.wpj"
xdotool key Return
project="Z:${folder//\//\\}\\shapes\\shapes.wpj"
for _ in $(seq 40); do
  [ "$(caption '^Watcom Project')" = "Watcom Project [$project]" ] && break
  sleep 0.25
done
[ "$(caption '^Watcom Project')" = "Watcom Project [$project]" ] || fail "caption after load"

menu e
for _ in $(seq 40); do ls "$folder/shapes" | grep -qi '_dep\.txt$' && break; sleep 0.25; done
ls "$folder/shapes" | grep -qi '_dep\.txt$' || fail "no dependency file"

menu c
copy=$(window '^Copy') || fail "no copy dialog"
[ "$(xdotool getwindowname "$copy")" = "CopyProject: shapes [shapes.wpj]" ] || fail "copy caption"
xdotool windowfocus --sync "$copy"
xdotool key Escape
for _ in $(seq 40); do xdotool search --onlyvisible --name '^Copy' >/dev/null 2>&1 || break; sleep 0.25; done
xdotool search --onlyvisible --name '^Copy' >/dev/null 2>&1 && fail "copy dialog stays open"

menu x
for _ in $(seq 120); do [ -s "$work/exit-code" ] && break; sleep 0.25; done
[ "$(cat "$work/exit-code" 2>/dev/null)" = "0" ] || fail "exit code"
grep -qF "Folder=Z:${folder//\//\\}\\shapes\\" "$work/Tamsk.Ini" || fail "settings: $(cat "$work/Tamsk.Ini")"
echo "tamsk.exe under Wine: load, export, copy dialog, exit: passed"
