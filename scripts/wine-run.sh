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
  # Its server stays (see below), so that no program's output outlives it.
  create='[ -f "$WINEPREFIX/system.reg" ] || { mkdir -p "$WINEPREFIX" && wineserver -p60; wine wineboot -i; }'
  if ! flock -o "$prefix.lock" bash -c "$create" >"$prefix.log" 2>&1; then
    echo "wine-run: cannot create the Wine prefix $prefix; see $prefix.log" >&2
    exit 125
  fi
fi
# The prefix's server, and the service processes the first program starts,
# outlive that program and inherit its standard output: a reader such as
# ctest would wait for the end of the output until they are gone, long after
# the program ended. So when no server runs, one is started here without our
# output, and the services with it; it stays a minute after the last program,
# so that it does not end just as the next test starts its program.
if wineserver -p60 </dev/null >/dev/null 2>&1; then
  wine cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
fi
exec wine "$@"
