#!/usr/bin/env bash
# Prints the tests' share of the code: non-blank lines of the tests under tests/ (C++ and the
# browser's JavaScript) against non-blank C++ lines outside tests/, bench/ and fuzz/ and the
# page's JavaScript in web/. Fails when the share is above 0.35.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { git ls-files -- "$@" | xargs cat | grep -cv '^\s*$'; }
tests=$(count 'tests/*.cpp' 'tests/*.h' 'tests/*.mjs')
code=$(count '*.cpp' '*.h' 'web/*.js' ':!tests/' ':!bench/' ':!fuzz/')
share=$(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.2f", t / c }')
echo "test share: $tests test lines / $code code lines = $share (at most 0.35)"
awk -v t="$tests" -v c="$code" 'BEGIN { exit !(t <= 0.35 * c) }' || {
    echo "test share above 0.35" >&2
    exit 1
}
