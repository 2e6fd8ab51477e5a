#!/usr/bin/env bash
# Drives tamsk.exe under Wine and a virtual X server by keyboard, as a user
# would: File > Load through the open dialog, Export, Copy through the folder
# browser, Exit.
# Checks the captions, the exported file, the settings file and the exit code.
# Usage: tamsk_by_keyboard.sh TAMSK_EXE EXAMPLES_DIR PREFIX_DIR
set -euo pipefail
# Without a display, one of its own (scripts/with-display.sh).
if [ -z "${DISPLAY:-}" ]; then
  exec "$(dirname "$0")/../../scripts/with-display.sh" "$0" "$@"
fi
exe="$(realpath "$1")" examples="$2"
export WINEPREFIX="$(realpath -m "$3")" WINEDEBUG=-all
"$(dirname "$0")/../../scripts/wine-run.sh" "$WINEPREFIX" cmd /c exit 0 >/dev/null  # makes the prefix once

# Below /tmp by name: the folder browser is walked there by typing names.
work="$(mktemp -d /tmp/tamsk-gui.XXXXXX)"
cleanup() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true  # gone before the next test starts a new one
  rm -rf "$work"
}
trap cleanup EXIT
# A folder name beyond ASCII must come from the settings through the open
# dialog into the caption and back unchanged (UTF-8 inside, the wide API outside).
folder="$work/Größe"
mkdir "$folder"
cp -r "$examples/shapes" "$examples/common" "$folder/"
mkdir "$work/out"

fail() { echo "FAIL: $*" >&2; exit 1; }
source "$(dirname "$0")/../../scripts/xwindow.sh"
caption() { xdotool getwindowname "$(wait_window "$1")"; }
menu() {  # File menu, then the item's mnemonic
  xdotool windowfocus --sync "$(wait_window '^Watcom Project')"
  xdotool key alt+f
  sleep 0.5
  xdotool key "$1"
}

# The remembered folder, beyond ASCII, is the open dialog's initial folder.
printf '[Options]\r\nFolder=Z:%s\\shapes\\\r\n' "${folder//\//\\}" >"$work/Tamsk.Ini"
(cd "$work" && wine "$exe"; echo $? > "$work/exit-code") &
[ "$(caption '^Watcom Project')" = "Watcom Project [none]" ] || fail "start caption"

menu l
xdotool windowfocus --sync "$(wait_window '^Open$')" || fail "no open dialog"
sleep 0.5  # the dialog fills its folder view first
# The dialog opens in the remembered folder; only ASCII is typed (xdotool's
# remapped keys for other characters reach Wine unreliably).
xdotool type --delay 10 "shapes.wpj"
xdotool key Return
project="Z:${folder//\//\\}\\shapes\\shapes.wpj"
for _ in $(seq 120); do
  [ "$(caption '^Watcom Project')" = "Watcom Project [$project]" ] && break
  sleep 0.25
done
[ "$(caption '^Watcom Project')" = "Watcom Project [$project]" ] || fail "caption after load: $(caption "^Watcom Project")"

menu e
for _ in $(seq 120); do ls "$folder/shapes" | grep -qi '_dep\.txt$' && break; sleep 0.25; done
ls "$folder/shapes" | grep -qi '_dep\.txt$' || fail "no dependency file"

menu c
copy=$(wait_window '^Copy') || fail "no copy dialog"
[ "$(xdotool getwindowname "$copy")" = "CopyProject: shapes [shapes.wpj]" ] || fail "copy caption"
xdotool windowfocus --sync "$copy"
# Browse, then in the browser's tree: "/", "tmp", the work folder, "out"; OK.
# Alt+D (the label's mnemonic) takes the focus back to the box, where "2" is
# added; then Tab to "Copy". Every file lands below out2/, nothing anywhere else.
xdotool key alt+b
xdotool windowfocus --sync "$(wait_window '^Browse for Folder$')" || fail "no folder browser"
xdotool key --delay 200 shift+Tab Down Right Right
for name in tmp "${work##*/}" out; do
  xdotool type --delay 30 "$name"
  sleep 0.5
  [ "$name" = out ] || xdotool key --delay 200 Right Right
done
xdotool key Return
for _ in $(seq 120); do xdotool search --onlyvisible --name '^Browse for Folder$' >/dev/null 2>&1 || break; sleep 0.25; done
xdotool windowfocus --sync "$copy"
xdotool key --delay 200 alt+d End 2 Tab Tab space
for _ in $(seq 120); do [ -f "$work/out2/common/units.c" ] && break; sleep 0.25; done
cmp -s "$work/out2/shapes/src/shapes.c" "$folder/shapes/src/shapes.c" || fail "copy: $(ls -R "$work")"
[ -z "$(find "$work" -name '*:*')" ] || fail "copy wrote $(find "$work" -name '*:*')"
xdotool key Escape
for _ in $(seq 120); do xdotool search --onlyvisible --name '^Copy' >/dev/null 2>&1 || break; sleep 0.25; done
xdotool search --onlyvisible --name '^Copy' >/dev/null 2>&1 && fail "copy dialog stays open"

menu x
for _ in $(seq 120); do [ -s "$work/exit-code" ] && break; sleep 0.25; done
[ "$(cat "$work/exit-code" 2>/dev/null)" = "0" ] || fail "exit code"
grep -qF "Folder=Z:${folder//\//\\}\\shapes\\" "$work/Tamsk.Ini" || fail "settings: $(cat "$work/Tamsk.Ini")"
echo "tamsk.exe under Wine: load, export, copy by keyboard, exit: passed"
