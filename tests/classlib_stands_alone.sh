#!/usr/bin/env bash
# The class library stands alone: its files include only its own headers (its tests also the
# shared test support), and its build files name none of the application's targets.
cd "$(dirname "$0")/.."
status=0
# Prints the title and the hits, and fails the check, when there are any.
refuse() {
  if [ -n "$2" ]; then
    printf '%s\n%s\n' "$1" "$2"
    status=1
  fi
}
refuse "The class library includes headers from outside it:" "$(
  grep -rnE '^\s*#\s*include\s*["<]' classlib --include='*.h' --include='*.cpp' --include='*.c' \
    --include='*.rc' |
  grep -E '#\s*include\s*["<](resources|project|depscan|copy|cli|mainwin|tests|bench|fuzz)/|#\s*include\s*"[^/"]*/' |
  grep -vE '#\s*include\s*"classlib/' |
  grep -vE '^classlib/[^:]*_test\.cpp:[0-9]+:\s*#\s*include\s*"tests/support/')"
# Every target a build file of the library names: its own (tamsk_classlib_*, the tamsk_gui alias),
# the helper functions, or the resource script and manifest of its programs.
refuse "The class library's build names targets outside it:" "$(
  grep -rnoE '\btamsk[a-z0-9_-]*(\.(rc|manifest))?|TARGET_FILE:[A-Za-z0-9_-]+' classlib \
    --include=CMakeLists.txt |
  grep -vE ':(tamsk_classlib_[a-z0-9]*|tamsk_gui|tamsk_warnings|tamsk_gtest|tamsk_qtest|tamsk_module_sources|tamsk_module_tests)$' |
  grep -vE ':tamsk\.(rc|manifest)$')"
exit $status
