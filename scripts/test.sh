#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the normal build,
# then the same suite under AddressSanitizer and UndefinedBehaviorSanitizer,
# then the Windows build's suites under Wine (TAMSK_SKIP_WINDOWS=1 leaves it out).
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
if [ "${TAMSK_SKIP_WINDOWS:-0}" != "1" ]; then
  "$root/scripts/windows.sh" test
fi
