#!/usr/bin/env bash
# Times brannik on two accepted 10000-node cases, a chain (10000 levels deep)
# and a wide tree, side by side with `wc -l` over the same two files, and
# prints the ratio of the medians. Needs hyperfine.
# Usage: bench/brannik.sh [build-dir]
set -euo pipefail
build=$(cd "${1:-$(dirname "$0")/../build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for shape in chain wide; do
  mkdir "$work/$shape"
  cd "$work/$shape"
  "$build/bench/make_case" "$shape" 10000
  [ "$("$build/checker/brannik")" = Success ] || { echo "$shape: answer not accepted" >&2; exit 1; }
  hyperfine -N --warmup 50 --runs 1000 --export-csv times.csv \
    -n brannik "$build/checker/brannik" -n "wc -l" "wc -l REGS.IN REGS.OUT" >&2
  # times.csv: command,mean,stddev,median,... in seconds, one row per command.
  awk -F, -v shape="$shape" 'NR == 2 { b = $4 } NR == 3 { w = $4 }
    END { printf "%s: brannik %.3f ms, wc -l %.3f ms, ratio of medians %.2f\n", shape, b * 1e3, w * 1e3, b / w }' times.csv
done
