# What every benchmark shares; sourced, not run, by a script that takes the
# build folder as its first argument (by default build/ beside bench/).

# The build folder, and a scratch folder, removed at the exit, to work in.
set -euo pipefail
build=$(cd "${1:-$(dirname "${BASH_SOURCE[0]}")/../build}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

# compare <label> <name-a> <command-a> <name-b> <command-b> [hyperfine options...]
# Times both in five rounds of 200 runs each, so that a machine whose speed
# drifts while it is measured weighs on both alike, and prints the median of
# each side's round medians and the median of the rounds' ratios a / b.
compare() {
  local label=$1 name_a=$2 command_a=$3 name_b=$4 command_b=$5
  shift 5
  local rounds a b ratios
  rounds=$(mktemp)
  for round in 1 2 3 4 5; do
    hyperfine "$@" --warmup 20 --runs 200 --export-csv "$rounds.csv" \
      -n "$name_a" "$command_a" -n "$name_b" "$command_b" >&2
    # command,mean,stddev,median,... in seconds, one row per command.
    awk -F, 'NR == 2 { a = $4 } NR == 3 { b = $4 } END { print a, b, a / b }' "$rounds.csv" >>"$rounds"
  done
  a=$(sort -g -k1,1 "$rounds" | sed -n 3p | cut -d' ' -f1)
  b=$(sort -g -k2,2 "$rounds" | sed -n 3p | cut -d' ' -f2)
  ratios=$(cut -d' ' -f3 "$rounds" | sort -g | tr '\n' ' ')
  rm -f "$rounds" "$rounds.csv"
  awk -v label="$label" -v na="$name_a" -v nb="$name_b" -v a="$a" -v b="$b" -v ratios="$ratios" 'BEGIN {
    split(ratios, r, " ")
    printf "%s: %s %.3f ms, %s %.3f ms, ratio of medians %.2f (rounds %.2f %.2f %.2f %.2f %.2f)\n",
           label, na, a * 1e3, nb, b * 1e3, r[3], r[1], r[2], r[3], r[4], r[5] }'
}
