#!/usr/bin/env bash
# Builds the Debian package build/package/tamsk_<version>-1_amd64.deb: installs
# what building needs, builds the two programs in Release with Debian's build
# flags (hardening included, as dpkg-buildflags gives them) in build/package,
# and packs them with cpack, which finds the dependencies with dpkg-shlibdeps.
# Install it with: sudo apt install ./build/package/tamsk_*.deb
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh" --run dpkg-dev file
build="$root/build/package"
export DEB_BUILD_MAINT_OPTIONS="hardening=+all"
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS
# A fresh configure, so that the flags above are the ones the build uses.
cmake -S "$root" -B "$build" -G Ninja --fresh -DCMAKE_BUILD_TYPE=Release -DTAMSK_BUILD_TESTS=OFF \
  >/dev/null
cmake --build "$build"
rm -f "$build"/tamsk_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/tamsk_*.deb
