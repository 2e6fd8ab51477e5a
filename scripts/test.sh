#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build,
# then the same suite under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
"$root/scripts/build.sh" default
ctest --preset default
if [ "${TAMSK_SKIP_SANITIZE:-0}" != "1" ]; then
  "$root/scripts/build.sh" sanitize
  ctest --preset sanitize
fi
