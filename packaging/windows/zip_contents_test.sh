#!/usr/bin/env bash
# The portable zip holds both programs and the README, and nothing else.
#   zip_contents_test.sh ZIP
set -euo pipefail
listed="$(cmake -E tar tf "$1" | LC_ALL=C sort | paste -sd' ')"
expected="README.md tamsk-cli.exe tamsk.exe"
if [ "$listed" != "$expected" ]; then
    echo "zip_contents_test: $1 holds \"$listed\", not \"$expected\"" >&2
    exit 1
fi
