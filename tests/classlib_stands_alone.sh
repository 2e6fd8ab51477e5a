#!/usr/bin/env bash
# The class library stands alone: its files include only its own headers (its tests also the
# shared test support), and its build files name none of the application's targets.
cd "$(dirname "$0")/.."
status=0
includes=$(grep -rnE '^\s*#\s*include\s*["<]' classlib --include='*.h' --include='*.cpp' \
             --include='*.c' --include='*.rc' |
           grep -E '#\s*include\s*["<](resources|project|depscan|copy|cli|mainwin|tests|bench|fuzz)/|#\s*include\s*"[^/"]*/' |
           grep -vE '#\s*include\s*"classlib/' |
           grep -vE '^classlib/[^:]*_test\.cpp:[0-9]+:\s*#\s*include\s*"tests/support/')
if [ -n "$includes" ]; then
  echo "The class library includes headers from outside it:"
  echo "$includes"
  status=1
fi
# Every target a build file of the library names: its own (tamsk_classlib_*, the tamsk_gui alias),
# the helper functions, or the toolkit and the system.
links=$(grep -rnoE '\btamsk[a-z0-9_-]*(\.(rc|manifest))?|TARGET_FILE:[A-Za-z0-9_-]+' classlib --include=CMakeLists.txt |
        grep -vE ':(tamsk_classlib_[a-z0-9]*|tamsk_gui|tamsk_warnings|tamsk_gtest|tamsk_qtest|tamsk_module_sources|tamsk_module_tests)$' |
        grep -vE ':tamsk\.(rc|manifest)$')
if [ -n "$links" ]; then
  echo "The class library's build names targets outside it:"
  echo "$links"
  status=1
fi
exit $status
