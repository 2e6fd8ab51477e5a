#!/usr/bin/env bash
# Builds the fuzz targets (preset "fuzz", clang) and runs each one for SECONDS
# (default 60), one after the other. Each starts from its kept corpus,
# fuzz/corpus/<target>/, and the seeds made from examples/ and the lines below;
# afterwards the corpus is minimised over everything the run found and kept
# again, so the next run starts where this one ended (commit it). The IDE files
# of ../shared/corpus/ are never used: what grows from them would end up in
# the kept corpus. A finding stops nothing: every target runs, findings are
# kept as build/fuzz/findings/<target>-crash-..., and the exit code is 1 when
# there was any.
#
#   fuzz/run.sh 60                   # every target, 60 s each
#   fuzz/run.sh 300 fuzz_wcinclude   # one target
#   TAMSK_FUZZ_JOBS=2 fuzz/run.sh 60 # libFuzzer forks per target
#   TAMSK_FUZZ_RUNS=1000000 fuzz/run.sh 3600 fuzz_load  # ends after that many runs, or the time
set -uo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
shift || true
build="${TAMSK_FUZZ_BUILD:-$root/build/fuzz}"
jobs="${TAMSK_FUZZ_JOBS:-1}"
runLimit="${TAMSK_FUZZ_RUNS:--1}"
# Bytes of one input while fuzzing. The readers keep no buffers of fixed size, so nothing needs a
# larger input to show, and every byte costs each pass of a reader: inputs of scale are measured by
# bench/hostile.py instead. Profile values are cut at 8,191 characters: fuzz_profile reaches past.
maxLength=4096
profileMaxLength=16384
keepLength=512   # bytes of one kept input: the corpus stays small, and loses almost no coverage
# The readers of files and the whole load no longer than the kept inputs: cut to these 512 bytes,
# the corpus loses almost no coverage, so a longer input shows nothing new that is kept, while every
# byte costs each pass over it (a load cuts its six files from the one input; the project reader
# reads its input as project file, as target file and as both again in the tree).
shortMaxLength=$keepLength

# ASan records the call stack of every allocation and release, only to print them in a report;
# that costs a sixth of a run of the targets that load files. Replaying a finding
# (build/fuzz/fuzz/<target> <file>) prints them in full.
export ASAN_OPTIONS="${ASAN_OPTIONS:-malloc_context_size=0}"

cmake --preset fuzz -S "$root" -B "$build" >/dev/null || exit 2
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(fuzz_projectfile fuzz_text fuzz_wcinclude fuzz_load fuzz_profile)
fi
available=()
known="$(ninja -C "$build" -t targets all 2>/dev/null)"
for t in "${targets[@]}"; do
  if grep -q "^$t:" <<<"$known"; then
    available+=("$t")
  else
    echo "fuzz: $t is not built here (its module is missing); skipped"
  fi
done
ninja -C "$build" -j2 "${available[@]}" || exit 2

# Seeds: every file of the given extensions below examples/.
seed_files() {
  local pattern
  for pattern in "$@"; do
    find "$root/examples" -type f -iname "$pattern" 2>/dev/null | sort
  done
}

make_seeds() {
  local target="$1" dir="$2"
  rm -rf "$dir"
  mkdir -p "$dir"
  local n=0 f
  case "$target" in
    fuzz_projectfile)
      while IFS= read -r f; do cp "$f" "$dir/seed$((n++))"; done < <(seed_files '*.wpj' '*.tgt') ;;
    fuzz_wcinclude)
      while IFS= read -r f; do cp "$f" "$dir/seed$((n++))"; done < <(seed_files '*.c' '*.h' '*.rc' '*.dlg')
      printf '#include "a.h"\nICON1 ICON res\\icon.ico\nchar *s = "b.h";\n' >"$dir/seed$((n++))" ;;
    fuzz_text)
      # flags, delimiter count, quote-pair count, delimiters, quote pairs, text
      printf '\x00\x03\x04 \t\n""'"''"'ICON1 ICON "res\\my icon.ico"' >"$dir/seed$((n++))"
      printf '\x07\x01\x02;""$(%%watcom)\\h;"inc;x";..\\inc' >"$dir/seed$((n++))"
      printf '\x00\x05\x00c:\\p\\C:\\P\\inc\\..\\a\\b\\c\\..\\..\\d/e.h' >"$dir/seed$((n++))" ;;
    fuzz_load)
      local sep=$'\n--8<--\n'
      local sources=() tgt
      while IFS= read -r f; do sources+=("$f"); cp "$f" "$dir/seed$((n++))"; done \
        < <(find "$root/examples" -type f \( -iname '*.c' -o -iname '*.h' -o -iname '*.rc' \) | sort)
      tgt="$(find "$root/examples" -type f -iname '*.tgt' | sort | head -1)"
      if [ ${#sources[@]} -ge 4 ] && [ -n "$tgt" ]; then
        { cat "${sources[0]}"; printf '%s' "$sep"; cat "${sources[1]}"; printf '%s' "$sep"
          cat "${sources[2]}"; printf '%s' "$sep"; cat "${sources[3]}"; } >"$dir/seed$((n++))"
      fi
      printf '#include "b.h"\n#include <sys.h>\n%s#include "a.c"\n#include "../outside.h"%sICON1 ICON a.c\n#include "b.h"\n%s#include "proj/inc/b.h"' \
        "$sep" "$sep" "$sep" >"$dir/seed$((n++))" ;;
    fuzz_profile)
      printf '[Options]\r\nFolder=C:\\work\\\r\nParseSource=true\r\n' >"$dir/seed$((n++))"
      printf '; comment\n[Other]\nx=1\n\n[options]\nfolder = a\n' >"$dir/seed$((n++))" ;;
  esac
}

# The kept corpus made anew from the inputs that add coverage, smallest first: the old kept corpus,
# what this run found, and the seeds, each cut to keepLength bytes.
keep_corpus() {
  local target="$1" kept="$2" merged
  shift 2
  merged="$(mktemp -d)"
  if "$build/fuzz/$target" -merge=1 -max_len="$keepLength" "$merged" "$kept" "$@" \
       >"$build/findings/$target-merge.log" 2>&1; then
    rm -rf "$kept"
    mv "$merged" "$kept"
    chmod 755 "$kept"
  else
    rm -rf "$merged"
    echo "fuzz: $target: the corpus could not be minimised (see $build/findings/$target-merge.log); kept as it was"
    return 1
  fi
}

mkdir -p "$build/findings"
status=0
summary=()
for t in "${available[@]}"; do
  seeds="$build/seeds/$t"
  found="$build/corpus/$t"
  kept="$root/fuzz/corpus/$t"
  make_seeds "$t" "$seeds"
  mkdir -p "$found" "$kept"
  dict=()
  [ -f "$root/fuzz/$t.dict" ] && dict=(-dict="$root/fuzz/$t.dict")
  case "$t" in
    fuzz_profile) length=$profileMaxLength ;;
    fuzz_projectfile | fuzz_wcinclude | fuzz_load) length=$shortMaxLength ;;
    *) length=$maxLength ;;
  esac
  log="$build/findings/$t.log"
  parallel=()
  [ "$jobs" -gt 1 ] && parallel=(-jobs="$jobs" -workers="$jobs")
  echo "fuzz: $t for ${seconds}s"
  started=$SECONDS
  rm -f "$build/findings"/fuzz-*.log
  # The processor time apart from the time on the clock: the machine may be shared.
  { TIMEFORMAT='%U %S'; time (cd "$build/findings" && "$build/fuzz/$t" "$found" "$kept" "$seeds" "${dict[@]}" "${parallel[@]}" \
    -max_total_time="$seconds" -runs="$runLimit" -timeout=20 -rss_limit_mb=2048 -max_len="$length" \
    -artifact_prefix="$build/findings/$t-" -print_final_stats=1 >"$log" 2>&1); } 2>"$build/findings/$t.cpu"
  rc=$?
  elapsed=$((SECONDS - started > 0 ? SECONDS - started : 1))
  stats=("$log")
  for f in "$build/findings"/fuzz-*.log; do [ -f "$f" ] && stats+=("$f"); done
  runs="$(grep -hoE 'stat::number_of_executed_units: *[0-9]+' "${stats[@]}" \
          | awk '{ s += $2 } END { print s + 0 }')"
  peak="$(grep -hoE 'stat::peak_rss_mb: *[0-9]+' "${stats[@]}" | awk '{ print $2 }' | sort -n | tail -1)"
  perCpu="$(awk -v runs="${runs:-0}" '{ t = $1 + $2; printf "%d", (t > 0 ? runs / t : 0) }' \
            "$build/findings/$t.cpu")"
  keep_corpus "$t" "$kept" "$found" "$seeds" && rm -rf "$found"
  if [ $rc -ne 0 ]; then
    status=1
    summary+=("$t: FINDING after ${runs:-?} runs (see $log and $build/findings/)")
  else
    summary+=("$t: ${runs:-?} runs in ${elapsed}s ($((${runs:-0} / elapsed)) a second; ${perCpu} a second of processor time) without a finding, peak ${peak:-?} MB; kept corpus $(ls "$kept" | wc -l) inputs, $(($(cat "$kept"/* 2>/dev/null | wc -c) / 1024)) KB")
  fi
done
printf '%s\n' "${summary[@]}"
exit $status
