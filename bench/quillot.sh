#!/usr/bin/env bash
# Times `quillot 30000` (build the largest fence and write fence.in) side by
# side with `cp` of a file of the same size, and prints the ratio of the
# medians. Needs hyperfine.
# Usage: bench/quillot.sh [build-dir]
set -euo pipefail
build=$(cd "${1:-$(dirname "$0")/../build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

"$build/generator/quillot" 30000
cp fence.in same-size.bin
hyperfine -N --warmup 50 --runs 1000 --export-csv times.csv \
  -n quillot "$build/generator/quillot 30000" -n cp "cp same-size.bin copy.bin" >&2
# times.csv: command,mean,stddev,median,... in seconds, one row per command.
awk -F, -v bytes="$(wc -c < same-size.bin)" 'NR == 2 { q = $4 } NR == 3 { c = $4 }
  END { printf "quillot 30000 (%d bytes): quillot %.3f ms, cp %.3f ms, ratio of medians %.2f\n", bytes, q * 1e3, c * 1e3, q / c }' times.csv
