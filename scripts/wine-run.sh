#!/usr/bin/env bash
# Runs a Windows program under Wine in the given prefix, creating the prefix
# on first use (once per build folder; later runs reuse it).
#   wine-run.sh PREFIX PROGRAM.exe [ARGS...]
set -euo pipefail
prefix="$(realpath -m "$1")"  # Wine takes only an absolute prefix
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and their installer would ask.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/system.reg" ]; then
  mkdir -p "$(dirname "$prefix")"
  # Test runs start in parallel; one of them creates the prefix.
  if ! flock "$prefix.lock" bash -c '[ -f "$WINEPREFIX/system.reg" ] || wine wineboot -i' \
    >"$prefix.log" 2>&1; then
    echo "wine-run: cannot create the Wine prefix $prefix; see $prefix.log" >&2
    exit 125
  fi
fi
exec wine "$@"
