#!/usr/bin/env bash
# The load in the main window against the same load without one, on the generated project of
# bench/run.sh (generated first if missing):
#
#   bench/gui_run.sh [small|medium|large|SOURCES]      (default: small)
#
# Each mode runs in its own process from a scratch folder (the window keeps its settings in the
# current folder), on the offscreen platform. Prints both loads, the ratios of time and peak RSS,
# and how long expanding the biggest nodes took. GUI_LOAD names the gui_load binary to use.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"

source "$here/common.sh"
sources="$(bench_sources "${1:-small}")"

bin="$(bench_binary "${GUI_LOAD:-$root/build/default/bench/gui_load}" gui_load)"

export QT_QPA_PLATFORM=offscreen
bench_gui_project "$sources"

# Warm the cache so that both runs meet the same one.
"$bin" headless "$project" >/dev/null
headless="$("$bin" headless "$project")"
window="$("$bin" window "$project" 2>/dev/null)"

value() { awk -v key="$1" '$1 == key { print $2 }'; }
h_s=$(value load_s <<<"$headless"); w_s=$(value load_s <<<"$window")
h_kb=$(value peak_rss_kb <<<"$headless"); w_kb=$(value peak_rss_kb <<<"$window")
echo "tree nodes            $(value nodes <<<"$headless")"
echo "headless load         ${h_s} s, peak RSS $((h_kb / 1024)) MB"
echo "window load           ${w_s} s, peak RSS $((w_kb / 1024)) MB"
awk -v a="$w_s" -v b="$h_s" -v c="$w_kb" -v d="$h_kb" \
  'BEGIN { printf "window / headless     time %.2f, memory %.2f\n", a / b, c / d }'
grep '^expand_\|^find_\|^close_s' <<<"$window" | sed 's/^/  /'
