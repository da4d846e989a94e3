#!/usr/bin/env bash
# Times `quillot-gen 30000 <seed>` (build the largest fence and write it to
# standard output) side by side with `cat` of the test it writes, both into a
# pipe, and prints the ratio of the medians (the target is at most 1.20).
# Needs hyperfine.
# Usage: bench/quillot-gen.sh [build-dir]
set -euo pipefail
build=$(cd "${1:-$(dirname "$0")/../build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

seed=1767323045
"$build/generator/quillot-gen" 30000 "$seed" >fence.in
hyperfine -N --output=pipe --warmup 50 --runs 1000 --export-csv times.csv \
  -n quillot-gen "$build/generator/quillot-gen 30000 $seed" -n cat "cat fence.in" >&2
# times.csv: command,mean,stddev,median,... in seconds, one row per command.
awk -F, -v bytes="$(wc -c <fence.in)" 'NR == 2 { q = $4 } NR == 3 { c = $4 }
  END { printf "quillot-gen 30000 (%d bytes): quillot-gen %.3f ms, cat %.3f ms, ratio of medians %.2f\n", bytes, q * 1e3, c * 1e3, q / c }' times.csv
