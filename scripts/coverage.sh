#!/usr/bin/env bash
# Line and branch coverage of the core modules (classlib/core, project, depscan, the copy worker,
# cli) by the test suite, from the "coverage" preset. Prints gcovr's table and its summary; the
# summary lines are the figures CONTRIBUTING.md keeps. Extra arguments go to ctest (e.g. -R cli).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
"$root/scripts/install-deps.sh" gcovr
build="$root/build/coverage"
cmake --preset coverage >/dev/null
cmake --build --preset coverage
# Counters add up across runs: start from zero so the figures are this run's alone.
find "$build" -name '*.gcda' -delete
ctest --test-dir "$build" --output-on-failure -j 2 "$@" || echo "coverage: some tests failed" >&2
# Throw branches are the compiler's exception paths, not decisions of ours.
gcovr --root "$root" "$build" \
  --filter 'classlib/core/' --filter 'project/' --filter 'depscan/' --filter 'copy/[^/]+$' \
  --filter 'cli/' --exclude '.*_test\.(cpp|h)$' \
  --exclude-unreachable-branches --exclude-throw-branches \
  --print-summary
