#!/usr/bin/env bash
# The installer run silently under Wine puts both programs, the README, the uninstaller and
# the Start-menu entry in place and registers the .wpj association and the entry among the
# installed programs; a project opened through the association shows in the window, which keeps
# its settings in the user's folder; the uninstaller, run silently, removes all of it again.
# Needs a display (DISPLAY) and xdotool.
#   installer_test.sh WINE_RUN PREFIX INSTALLER
set -euo pipefail
wine_run="$(realpath "$1")" prefix="$(realpath -m "$2")" installer="$3"
export WINEPREFIX="$prefix" WINEDEBUG=-all
if [ ! -f "$installer" ]; then
    echo "installer_test: no installer $installer (makensis, Debian package nsis, makes it)" >&2
    exit 1
fi
status=0
fail() {
    echo "installer_test: $*" >&2
    status=1
}

folder="$prefix/drive_c/Program Files/Tamsk"
files=("$folder/tamsk.exe" "$folder/tamsk-cli.exe" "$folder/README.md" "$folder/Uninstall.exe"
       "$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tamsk.lnk")
keys=('HKLM\Software\Classes\.wpj' 'HKLM\Software\Classes\Tamsk.Project\shell\open\command'
      'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tamsk')
value_of() {  # the default value of a key, or nothing when it is not there
    "$wine_run" "$prefix" reg query "$1" /ve 2>/dev/null | tr -d '\r' |
        sed -n 's/^ *(Default) *REG_SZ *//p'
}
key_exists() {
    "$wine_run" "$prefix" reg query "$1" >/dev/null 2>&1
}

"$wine_run" "$prefix" "$installer" /S
for file in "${files[@]}"; do
    [ -f "$file" ] || fail "not installed: $file"
done
[ "$(value_of "${keys[0]}")" = "Tamsk.Project" ] || fail ".wpj is not associated with Tamsk"
expected='"C:\Program Files\Tamsk\tamsk.exe" --user-settings "%1"'
[ "$(value_of "${keys[1]}")" = "$expected" ] ||
    fail "open command is '$(value_of "${keys[1]}")', not '$expected'"
key_exists "${keys[2]}" || fail "no entry among the installed programs"
"$wine_run" "$prefix" "$folder/tamsk-cli.exe" --version | tr -d '\r' | grep -qx 'tamsk-cli [0-9.]*' ||
    fail "the installed tamsk-cli.exe does not run"

# A project opened through the association (as a double click in Explorer does) shows in the
# window, which keeps its settings in %APPDATA%\Tamsk rather than in the current folder.
source "$(dirname "$0")/../../scripts/xwindow.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cp -r "$(dirname "$0")/../../examples" "$work/examples"
appdata="$("$wine_run" "$prefix" cmd /c echo %APPDATA% | tr -d '\r')"
settings="$("$wine_run" "$prefix" winepath -u "$appdata" | tr -d '\r')/Tamsk"
rm -rf "$settings"
(cd "$work" && "$wine_run" "$prefix" start /unix "$work/examples/shapes/shapes.wpj")
if main="$(wait_window 'shapes\.wpj\]$' 60)"; then
    xdotool windowfocus --sync "$main"
    sleep 0.5
    xdotool key --delay 150 alt+f x
    for _ in $(seq 60); do
        [ -f "$settings/Tamsk.Ini" ] && break
        sleep 0.5
    done
    [ -f "$settings/Tamsk.Ini" ] || fail "the window opened through the association left no $settings/Tamsk.Ini"
    # The uninstaller cannot remove a program that is still ending.
    for _ in $(seq 60); do
        pgrep -f 'Program Files.Tamsk.tamsk\.exe' >/dev/null || break
        sleep 0.5
    done
    [ ! -e "$work/Tamsk.Ini" ] || fail "the window opened through the association wrote Tamsk.Ini in the current folder"
else
    fail "opening shapes.wpj through the association shows no window"
    "$wine_run" "$prefix" taskkill /f /im tamsk.exe >/dev/null 2>&1 || true
fi
rm -rf "$settings"

# The uninstaller copies itself away and returns at once; its copy does the
# work, the Start-menu entry after the folder, so every file is waited for.
"$wine_run" "$prefix" "$folder/Uninstall.exe" /S
for _ in $(seq 120); do
    left=0
    for file in "${files[@]}" "$folder"; do
        [ ! -e "$file" ] || left=1
    done
    [ "$left" = 1 ] || break
    sleep 0.5
done
for file in "${files[@]}" "$folder"; do
    [ ! -e "$file" ] || fail "left after uninstalling: $file"
done
for key in "${keys[@]}" 'HKLM\Software\Classes\Tamsk.Project'; do
    ! key_exists "$key" || fail "registry key left after uninstalling: $key"
done
exit $status
