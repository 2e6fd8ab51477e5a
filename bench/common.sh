# Shared by the benchmark scripts: sourced, not run.
# bench_sources SIZE: the number of sources of small|medium|large|N, or usage and exit 2.
bench_sources() {
  case "${1:-small}" in
    small) echo 200 ;;
    medium) echo 2000 ;;
    large) echo 10000 ;;
    *[!0-9]*|'') echo "usage: $0 [small|medium|large|SOURCES]" >&2; exit 2 ;;
    *) echo "$1" ;;
  esac
}

# bench_project SOURCES: generates the project once and prints its folder.
bench_project() {
  local work="${TAMSK_BENCH_DIR:-/tmp/tamsk-bench}/$1"
  if [[ ! -f "$work/.complete" ]]; then
    rm -rf "$work"
    echo "generating $1 sources into $work ..." >&2
    python3 "$(dirname "${BASH_SOURCE[0]}")/generate.py" "$1" "$work" >&2
    touch "$work/.complete"
  fi
  echo "$work"
}

# bench_binary PATH TARGET: prints PATH, first building TARGET (default preset) when PATH is not
# an executable yet.
bench_binary() {
  if [[ ! -x "$1" ]]; then
    cmake --preset default >/dev/null
    cmake --build --preset default --target "$2" >&2
  fi
  echo "$1"
}

# bench_gui_project SOURCES: for the gui_load scripts. Sets project (the generated project's .wpj)
# and WATCOM, and moves into a scratch folder removed at exit: the window keeps its settings in the
# current folder.
bench_gui_project() {
  local work
  work="$(bench_project "$1")"
  export WATCOM="$work/watcom"
  project="$work/proj/bench.wpj"
  scratch="$(mktemp -d)"
  trap 'rm -rf "$scratch"' EXIT
  cd "$scratch"
}
