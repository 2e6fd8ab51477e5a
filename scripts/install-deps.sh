#!/usr/bin/env bash
# Installs, with apt-get, the Debian 12 packages that Tamsk needs and that are
# missing, together with any packages named as arguments. Installs nothing on
# a machine that already has them all. scripts/windows.sh names the cross
# compiler and Wine (g++-mingw-w64-x86-64-posix wine wine64), so that only the
# Windows build installs them.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev
  libcli11-dev rapidjson-dev
  libgtest-dev googletest
  clang libclang-rt-14-dev
  xvfb xauth x11-apps
  make graphviz clangd
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo_cmd=(sudo)
  else
    echo "install-deps: these packages are missing and I am not root: ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
