#!/usr/bin/env bash
# Fails when a function outside the tests runs over a number of lines (80 by default), and names it.
# Functions are found by universal-ctags, which knows where each one ends.
set -euo pipefail
cd "$(dirname "$0")/.."
limit=${1:-80}
long=$(git ls-files '*.cpp' '*.h' | grep -v '/tests/' |
    ctags -L - --languages=C++ --kinds-C++=f --fields=+ne -x --_xformat='%{end} %{line} %N %F' |
    awk -v limit="$limit" '{ n = $1 - $2 + 1; if (n > limit) print $4 ":" $2 ": " $3 " runs " n " lines" }')
if [ -n "$long" ]; then
    echo "$long"
    echo "functions over $limit lines: split them"
    exit 1
fi
echo "no function outside the tests runs over $limit lines"
