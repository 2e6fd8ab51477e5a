#!/usr/bin/env bash
# The Debian package made by cpack from the build: its dependencies as dpkg-shlibdeps found
# them, its files owned by root under /usr, its tamsk-cli run on the example project
# (unpacked with dpkg-deb -x) against the build's own, and lintian's report, which must hold
# no error and no warning.
#   debian_package_test.sh BUILD_FOLDER
set -euo pipefail
build="$(cd "$1" && pwd)"
root="$(cd "$(dirname "$0")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
fail() {
    echo "debian_package_test: $*" >&2
    status=1
}

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; exit 1; }
debs=("$work"/out/tamsk_*.deb)
deb="${debs[0]}"

depends="$(dpkg-deb -f "$deb" Depends)"
for needed in libc6 libstdc++6 libqt6widgets6; do
    [[ ", $depends," == *", $needed "* || ", $depends," == *", $needed,"* ]] ||
        fail "Depends lacks $needed: $depends"
done
strays="$(dpkg-deb -c "$deb" | awk '$2 != "root/root" || $6 !~ /^\.\/usr\// && $6 != "./"')"
[ -z "$strays" ] || fail "entries not owned by root or not below /usr: $strays"

dpkg-deb -x "$deb" "$work/root"
example="$root/examples/shapes/shapes.wpj"
if ! diff <("$build/cli/tamsk-cli" tree "$example") <("$work/root/usr/bin/tamsk-cli" tree "$example") >&2; then
    fail "the packaged tamsk-cli prints another tree than the build's"
fi

# lintian refuses to run as root without saying so; its note is no finding.
if ! lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1; then
    fail "lintian: $(grep -v 'running with root privileges' "$work/lintian.log")"
fi
exit $status
