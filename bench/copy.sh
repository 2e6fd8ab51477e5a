#!/usr/bin/env bash
# Copy benchmark: the cost of `tamsk-cli copy` as the rows grow.
#
#   bench/copy.sh [TARGETS]      (default: 100,000 targets)
#
# Generates two projects of one target file per target, each target with one source: a quarter
# of TARGETS and TARGETS. Copies each with `tamsk-cli copy`, and, as the reference in the same
# run, copies the same files with `cp -r` (the floor). Prints the wall times, copy/floor of each,
# and how the copy time grows from the quarter to the whole: about 4 for a linear cost, 16 for
# a square one. Projects are generated once into ${TAMSK_BENCH_DIR:-/tmp/tamsk-bench}/copy-N/.
# TAMSK_CLI names the tamsk-cli to measure (default: build/default/cli/tamsk-cli, built if missing).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"

source "$here/common.sh"
targets="${1:-100000}"
[[ "$targets" =~ ^[0-9]+$ && "$targets" -ge 4 ]] || { echo "usage: $0 [TARGETS]" >&2; exit 2; }
cli="$(bench_binary "${TAMSK_CLI:-$root/build/default/cli/tamsk-cli}" tamsk-cli)"

# copy_project N: generates a project of N targets once and prints its folder.
copy_project() {
  local work="${TAMSK_BENCH_DIR:-/tmp/tamsk-bench}/copy-$1"
  if [[ ! -f "$work/.complete" ]]; then
    rm -rf "$work"
    echo "generating $1 targets into $work ..." >&2
    python3 - "$1" "$work/proj" "$here" <<'PY' >&2
import os, sys
sys.path.insert(0, sys.argv[3])
from generate import project_file, target_file, write
count, project = int(sys.argv[1]), sys.argv[2]
targets = []
for index in range(count):
    name = "t%06d" % index
    folder = "g%03d" % (index // 1000)
    write(os.path.join(project, folder, name + ".tgt"), target_file([name + ".c"]))
    write(os.path.join(project, folder, name + ".c"), "int %s;\n" % name)
    targets.append(folder + "\\" + name + ".tgt")
write(os.path.join(project, "copy.wpj"), project_file(targets))
PY
    touch "$work/.complete"
  fi
  echo "$work"
}

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }

# measure N: prints "copy_s floor_s rows" for a project of N targets.
measure() {
  local work rows start end copy_s floor_s
  work="$(copy_project "$1")"
  rm -rf "$work/out" "$work/floor"
  cat "$work/proj/copy.wpj" >/dev/null
  start=$(now)
  "$cli" copy "$work/proj/copy.wpj" "$work/out" >"$work/rows.txt"
  end=$(now)
  copy_s=$(elapsed "$start" "$end")
  rows=$(wc -l <"$work/rows.txt")
  start=$(now)
  cp -r "$work/proj" "$work/floor"
  end=$(now)
  floor_s=$(elapsed "$start" "$end")
  rm -rf "$work/out" "$work/floor"
  echo "$copy_s $floor_s $rows"
}

read -r quarter_s quarter_floor quarter_rows < <(measure $((targets / 4)))
read -r whole_s whole_floor whole_rows < <(measure "$targets")

awk -v qt=$((targets / 4)) -v wt="$targets" -v qs="$quarter_s" -v qf="$quarter_floor" \
    -v qr="$quarter_rows" -v ws="$whole_s" -v wf="$whole_floor" -v wr="$whole_rows" 'BEGIN {
  printf "targets            %d            %d\n", qt, wt
  printf "rows               %d            %d\n", qr, wr
  printf "tamsk-cli copy     %.2f s        %.2f s\n", qs, ws
  printf "floor (cp -r)      %.2f s        %.2f s\n", qf, wf
  printf "copy / floor       %.2f          %.2f\n", qs / qf, ws / wf
  printf "growth of the copy time, quarter to whole: %.1f (linear 4, square 16)\n", ws / qs
}'
