#!/usr/bin/env bash
# Times each judging system's program on the accepted 10000-node chain side
# by side with brannik on the same files, and prints the ratio of the medians
# (the programs may cost at most 10% more: a ratio of at most 1.10). The two
# that read standard input are started by `sh -c 'exec ...'` for the
# redirection, and brannik the same way beside them; the Kattis-format one
# gets a fresh feedback folder for every run, as a judge gives it.
# Needs hyperfine.
# Usage: bench/hosts.sh [build-dir]
set -euo pipefail
build=$(cd "${1:-$(dirname "$0")/../build}" && pwd)
bin=$build/checker
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$build/bench/make_case" chain 10000
mkdir fb

# compare <program> <brannik's command line> <its command line> [hyperfine options...]
compare() {
  hyperfine -N "${@:4}" --warmup 50 --runs 1000 --export-csv times.csv \
    -n brannik "$2" -n "$1" "$3" >&2
  # times.csv: command,mean,stddev,median,... in seconds, one row per command.
  awk -F, -v name="$1" 'NR == 2 { b = $4 } NR == 3 { p = $4 }
    END { printf "%s: brannik %.3f ms, %s %.3f ms, ratio of medians %.3f\n", name, b * 1e3, name, p * 1e3, p / b }' times.csv
}

[ "$("$bin/brannik")" = Success ] || { echo "answer not accepted" >&2; exit 1; }
"$bin/brannik-testlib" REGS.IN REGS.OUT REGS.OUT 2>/dev/null
"$bin/brannik-kattis" REGS.IN REGS.OUT fb < REGS.OUT || [ $? -eq 42 ]
[ "$("$bin/brannik-cms" REGS.IN REGS.OUT REGS.OUT 2>/dev/null)" = 1.0 ]
"$bin/brannik-validate" < REGS.IN || [ $? -eq 42 ]

compare brannik-testlib "$bin/brannik" "$bin/brannik-testlib REGS.IN REGS.OUT REGS.OUT"
compare brannik-cms "$bin/brannik" "$bin/brannik-cms REGS.IN REGS.OUT REGS.OUT"
compare brannik-kattis "sh -c 'exec $bin/brannik'" "sh -c 'exec $bin/brannik-kattis REGS.IN REGS.OUT fb < REGS.OUT'" \
  -i --prepare "rm -rf fb && mkdir fb"
compare brannik-validate "sh -c 'exec $bin/brannik'" "sh -c 'exec $bin/brannik-validate < REGS.IN'" -i
