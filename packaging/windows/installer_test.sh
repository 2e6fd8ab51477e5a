#!/usr/bin/env bash
# The installer run silently under Wine puts both programs, the README, the uninstaller and
# the Start-menu entry in place and registers the .wpj association and the entry among the
# installed programs; the uninstaller, run silently, removes all of it again.
#   installer_test.sh WINE_RUN PREFIX INSTALLER
set -euo pipefail
wine_run="$1" prefix="$(realpath -m "$2")" installer="$3"
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

# The uninstaller copies itself away and returns at once; its copy does the work.
"$wine_run" "$prefix" "$folder/Uninstall.exe" /S
for _ in $(seq 120); do
    [ -e "$folder" ] || break
    sleep 0.5
done
for file in "${files[@]}" "$folder"; do
    [ ! -e "$file" ] || fail "left after uninstalling: $file"
done
for key in "${keys[@]}" 'HKLM\Software\Classes\Tamsk.Project'; do
    ! key_exists "$key" || fail "registry key left after uninstalling: $key"
done
exit $status
