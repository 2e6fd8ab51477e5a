#!/usr/bin/env bash
# The Windows programs, cross-built with mingw-w64 (preset "windows", folder
# build/windows). Installs what is missing first.
#   windows.sh package   build the programs and build/windows/tamsk-windows.zip
#   windows.sh test      build, then run the test suites and checks under Wine
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
action="${1:-package}"
"$root/scripts/install-deps.sh" g++-mingw-w64-x86-64-posix wine wine64 xdotool
start=$SECONDS
cmake --preset windows >/dev/null
case "$action" in
  package)
    # The programs only: tamsk-cli.exe, and tamsk.exe when the desktop program is built.
    targets=(tamsk-cli)
    if ninja -C build/windows -t targets all | grep -q '^tamsk\.exe:'; then
      targets+=(tamsk)
    fi
    cmake --build --preset windows --target "${targets[@]}"
    mapfile -t programs < <(find build/windows -name 'tamsk*.exe' -not -path '*/CMakeFiles/*' | sort)
    rm -f build/windows/tamsk-windows.zip
    stage="$(mktemp -d)"
    trap 'rm -rf "$stage"' EXIT
    cp "${programs[@]}" README.md "$stage/"
    (cd "$stage" && cmake -E tar cf "$root/build/windows/tamsk-windows.zip" --format=zip -- *)
    echo "build/windows/tamsk-windows.zip: $(cd "$stage" && echo *)"
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
