#!/usr/bin/env bash
# The Windows programs, cross-built with mingw-w64 (preset "windows", folder
# build/windows). Installs what is missing first.
#   windows.sh package   build the programs, the portable zip
#                        build/windows/tamsk-windows.zip and the installer
#                        build/windows/tamsk-<version>-setup.exe
#   windows.sh test      build, then run the test suites and checks under Wine
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
action="${1:-package}"
"$root/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix wine wine64 xdotool nsis
start=$SECONDS
cmake --preset windows >/dev/null
case "$action" in
  package)
    # Both programs, always; the zip and the installer are targets of their own
    # (packaging/windows), which depend on them.
    cmake --build --preset windows --target tamsk-windows-zip tamsk-installer
    echo "build/windows/tamsk-windows.zip: $(cmake -E tar tf build/windows/tamsk-windows.zip | sort | paste -sd' ')"
    ls build/windows/tamsk-*-setup.exe
    ;;
  test)
    cmake --build --preset windows
    # The Linux tamsk-cli is the reference for the byte-for-byte comparison.
    cmake --preset default >/dev/null
    cmake --build build/default --target tamsk-cli
    # One virtual X server for the windows of every test; the Wine prefix
    # (build/windows/wineprefix) is kept for the next run.
    status=0
    "$root/scripts/with-display.sh" ctest --preset windows || status=$?
    WINEPREFIX="$root/build/windows/wineprefix" wineserver -k 2>/dev/null || true
    echo "Windows build and tests under Wine: $((SECONDS - start)) s"
    exit $status
    ;;
  *)
    echo "usage: $0 package|test" >&2
    exit 2
    ;;
esac
