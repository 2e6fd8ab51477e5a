#!/usr/bin/env bash
# Fails when a Windows program imports a DLL that does not ship with Windows
# (a C++ runtime or winpthreads DLL means the static link was lost).
#   imports_are_system_dlls.sh OBJDUMP PROGRAM.exe...
set -euo pipefail
objdump="$1"
shift
system='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|advapi32|uxtheme|msvcrt|ucrtbase|api-ms-win-crt-.*|ws2_32|shlwapi|version)\.dll$'
status=0
for program in "$@"; do
  while read -r dll; do
    if ! grep -qiE "$system" <<<"$dll"; then
      echo "$program imports $dll, which does not ship with Windows" >&2
      status=1
    fi
  done < <("$objdump" -p "$program" | sed -n 's/^\s*DLL Name: //p')
done
exit $status
