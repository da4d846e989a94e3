#!/bin/sh
# Writes the report of the register task's package into <package-dir>/report.md
# and report.html, and prints the Markdown: every submission of the package,
# built as problemtools builds C++, run on every test and judged by
# brannik-report, and the rows of the task's coverage plan (coverage.txt) with
# the tests that reach them. Fails when a submission does not get the verdict
# of its folder, or a row of the plan that a test can reach is reached by none.
# Usage: checker/package/report-regs-package.sh <build-dir> <package-dir>
set -eu
[ $# -eq 2 ] || { echo "usage: $0 <build-dir> <package-dir>" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$1" && pwd)/checker
package=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Built two at a time, as problemtools builds C++.
for source in "$package"/submissions/*/*.cpp; do
  folder=$work/$(basename "$(dirname "$source")")
  mkdir -p "$folder"
  echo "$folder/$(basename "$source" .cpp) $source"
done | xargs -n 2 -P 2 sh -c 'g++ -O2 -std=gnu++17 -static -o "$0" "$1" || { echo "$1 does not build" >&2; exit 255; }'
memory=$(sed -n 's/^ *memory: *\([0-9]*\).*/\1/p' "$package/problem.yaml")
"$bin/brannik-report" --plan "$here/coverage.txt" "$package" "$work" "$memory"
