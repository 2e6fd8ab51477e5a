#!/usr/bin/env bash
# Installs, with apt-get, the Debian 12 packages that Tamsk needs and that are
# missing, together with any packages named as arguments. Installs nothing on
# a machine that already has them all.
#   install-deps.sh [--run] [PACKAGE...]
# --run: only what building and running the two programs needs (scripts/run.sh);
# without it the test tools come too. scripts/windows.sh names the cross
# compiler, Wine and NSIS, so that only the Windows build installs them.
set -euo pipefail

# Building and running tamsk and tamsk-cli.
packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev libgl-dev
  libcli11-dev rapidjson-dev
)
if [ "${1:-}" = "--run" ]; then
  shift
else
  packages+=(
    libgtest-dev googletest
    clang libclang-rt-14-dev
    xvfb xauth x11-apps
    # the installed layout and the Debian package, as the desktop's and Debian's tools see them
    desktop-file-utils appstream man-db shared-mime-info xdg-utils libfile-mimeinfo-perl
    bash-completion file dpkg-dev lintian
    # the outputs for scripts, read back by the tools that consume them
    make graphviz clangd
  )
fi
packages+=("$@")

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
