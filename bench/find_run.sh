#!/usr/bin/env bash
# Find over the loaded tree with nothing opened (gui_load find), on the generated project of
# bench/run.sh (generated first if missing):
#
#   bench/find_run.sh [small|medium|large|SOURCES]      (default: large)
#
# GUI_LOAD names the gui_load binary to time; GUI_LOAD_REFERENCE, when set, names another (an
# earlier build) timed in the same invocation, the two taking turns, ROUNDS (default 2) each.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"

source "$here/common.sh"
sources="$(bench_sources "${1:-large}")"

bin="$(bench_binary "${GUI_LOAD:-$root/build/default/bench/gui_load}" gui_load)"

bench_gui_project "$sources"

"$bin" headless "$project" >/dev/null  # the cache warmed for both
for round in $(seq "${ROUNDS:-2}"); do
  if [[ -n "${GUI_LOAD_REFERENCE:-}" ]]; then
    echo "reference, round $round:"
    "$GUI_LOAD_REFERENCE" find "$project" | grep '^find_\|^peak' | sed 's/^/  /'
  fi
  echo "this build, round $round:"
  "$bin" find "$project" | grep '^find_\|^peak' | sed 's/^/  /'
done
