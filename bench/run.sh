#!/usr/bin/env bash
# Dependency-scan benchmark: one generated project, four measurements, and the targets.
#
#   bench/run.sh [small|medium|large|SOURCES]      (default: small; 200, 2,000, 10,000 sources)
#
# Runs, on the same generated project: `tamsk-cli stats --parse-literals` (the load) against cat of
# every file the scan reads; `tamsk-cli export --parse-literals`; the floor (that cat, plus dd
# writing a file as large as the dependency file); `gcc -MM` over the C sources with the same
# include directories (SKIP_GCC=1 leaves it out); and the other outputs of the same load (deps in
# each format, missing, includers, cycles), each against the export's time and peak memory
# (SKIP_OUTPUTS=1 leaves them out). Exits 1 when a target is missed: the load within 1.5x of the
# cat, the export within 1.3x of the floor, each at most 64 MB of peak RSS.
# Prints wall times, ratios, MB/s of unique source bytes, tree nodes per second and peak RSS per
# node. Projects are generated once into ${TAMSK_BENCH_DIR:-/tmp/tamsk-bench}/<sources>/.
# TAMSK_CLI names the tamsk-cli to measure (default: build/default/cli/tamsk-cli, built if missing).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"

source "$here/common.sh"
sources="$(bench_sources "${1:-small}")"

cli="$(bench_binary "${TAMSK_CLI:-$root/build/default/cli/tamsk-cli}" tamsk-cli)"

work="$(bench_project "$sources")"
project="$work/proj"
export WATCOM="$work/watcom"

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }
scanned_files() { find "$project/src" "$project/inc" "$project/res" "$project/data" -type f -print0; }

# Everything read at least once, so that all three runs meet a warm cache.
scanned_files | xargs -0 cat >/dev/null

# measure_cli COMMAND: runs tamsk-cli COMMAND on the project; prints its wall time and peak RSS (KB).
measure_cli() {
  local timing start end
  timing="$(mktemp)"
  start=$(now)
  /usr/bin/time -f '%M' -o "$timing" "$cli" "$1" "$project/bench.wpj" --parse-literals >/dev/null
  end=$(now)
  echo "$(elapsed "$start" "$end") $(tail -n 1 "$timing")"
  rm -f "$timing"
}

# 0. The load, against reading every scanned file once.
read -r load_s load_kb < <(measure_cli stats)
start=$(now)
scanned_files | xargs -0 cat >/dev/null
end=$(now)
cat_s=$(elapsed "$start" "$end")

# 1. The export.
rm -f "$project/bench_dep.Txt"
read -r export_s peak_kb < <(measure_cli export)
dep="$project/bench_dep.Txt"
nodes=$(wc -l <"$dep")
dep_bytes=$(stat -c %s "$dep")

# 2. The floor: read every scanned file once, write a file as large as the dependency file.
unique_bytes=$(scanned_files | xargs -0 cat | wc -c)
start=$(now)
scanned_files | xargs -0 cat >/dev/null
dd if=/dev/zero of="$work/floor.tmp" bs=1M count=$(( (dep_bytes + 1048575) / 1048576 )) status=none
end=$(now)
floor_s=$(elapsed "$start" "$end")
rm -f "$work/floor.tmp"

# 3. gcc -MM with the same include directories. Names written in other letter case than their
# files do not exist on a case-sensitive file system; -MG lets gcc go on past them.
gcc_s=""
if [[ "${SKIP_GCC:-0}" != 1 ]]; then
  start=$(now)
  (cd "$project" && find src -name '*.c' -print0 |
    xargs -0 -n 200 gcc -MM -MG -w -I"$WATCOM/h" -I"$WATCOM/h/nt" -Iinc -Isrc >/dev/null)
  end=$(now)
  gcc_s=$(elapsed "$start" "$end")
fi

targets_met=0
awk -v sources="$sources" -v load_s="$load_s" -v cat_s="$cat_s" -v load_kb="$load_kb" -v targets="$(ls "$project"/*.tgt | wc -l)" -v unique="$unique_bytes" \
    -v nodes="$nodes" -v dep="$dep_bytes" -v export_s="$export_s" -v floor_s="$floor_s" \
    -v gcc_s="$gcc_s" -v peak_kb="$peak_kb" 'BEGIN {
  printf "sources               %d (%d targets)\n", sources, targets
  printf "unique source bytes   %.1f MB\n", unique / 1e6
  printf "tree nodes            %d\n", nodes
  printf "dependency file       %.1f MB\n", dep / 1e6
  printf "tamsk-cli export      %.2f s\n", export_s
  printf "floor (cat + dd)      %.2f s\n", floor_s
  printf "export / floor        %.2f\n", export_s / floor_s
  if (gcc_s != "") {
    printf "gcc -MM               %.2f s\n", gcc_s
    printf "gcc -MM / export      %.1f\n", gcc_s / export_s
  }
  printf "source MB/s           %.1f\n", unique / 1e6 / export_s
  printf "nodes per second      %.2f million\n", nodes / export_s / 1e6
  printf "peak RSS              %.1f MB\n", peak_kb / 1024
  printf "peak RSS per node     %.1f bytes\n", peak_kb * 1024 / nodes
  printf "tamsk-cli stats       %.2f s (peak RSS %.1f MB)\n", load_s, load_kb / 1024
  printf "cat of scanned files  %.2f s\n", cat_s
  missed = 0
  missed += target("load / cat", load_s / cat_s, 1.5)
  missed += target("load peak RSS MB", load_kb / 1024, 64)
  missed += target("export / floor", export_s / floor_s, 1.3)
  missed += target("export peak RSS MB", peak_kb / 1024, 64)
  exit missed > 0
}
function target(name, value, most) {
  printf "target %-20s %8.2f (at most %s): %s\n", name, value, most, value <= most ? "met" : "MISSED"
  return value > most
}' || targets_met=1

# 4. The other outputs of the same load, each run right after an export of its own so that both
# meet the same load of the machine: time and peak RSS of each, and their ratios to that export's.
if [[ "${SKIP_OUTPUTS:-0}" != 1 ]]; then
  header="$(cd "$project" && find inc -name "*.h" | sort | tail -n 1)"
  out="$work/output.tmp"
  printf "\n%-34s %8s %8s %8s %10s %8s\n" "command" "time" "export" "/export" "peak RSS" "/export"
  measure() {  # measure COMMAND...: sets seconds and kb
    local timing start end
    timing="$(mktemp)"
    start=$(now)
    /usr/bin/time -f '%M' -o "$timing" "$cli" "$@" >"$out" 2>/dev/null || true
    end=$(now)
    seconds=$(elapsed "$start" "$end")
    kb=$(tail -n 1 "$timing")
    rm -f "$timing"
  }
  run_output() {
    local name="$1"
    shift
    measure export "$project/bench.wpj" --parse-literals
    local export_seconds="$seconds" export_kb="$kb"
    measure "$@"
    awk -v n="$name" -v s="$seconds" -v e="$export_seconds" -v k="$kb" -v p="$export_kb" 'BEGIN {
      printf "%-34s %6.2f s %6.2f s %8.2f %7.1f MB %8.2f\n", n, s, e, s / e, k / 1024, k / p }'
  }
  for format in json make dot compile-commands; do
    run_output "deps --format $format" deps "$project/bench.wpj" --parse-literals \
      --format "$format" -o "$out"
  done
  run_output "missing" missing "$project/bench.wpj" --parse-literals
  run_output "includers $header" includers "$project/bench.wpj" "$project/$header" --parse-literals
  run_output "cycles" cycles "$project/bench.wpj" --parse-literals
  rm -f "$out"
fi
exit "$targets_met"
