#!/usr/bin/env bash
# The core must build without Qt: no Qt header in any core folder.
cd "$(dirname "$0")/.."
hits=$(grep -nE '^\s*#\s*include\s*[<"](Q[A-Za-z]|qt)' \
  classlib/core/* project/* depscan/* copy/*.h copy/*.cpp cli/* 2>/dev/null)
if [ -n "$hits" ]; then
  echo "Qt headers in the core:"
  echo "$hits"
  exit 1
fi
