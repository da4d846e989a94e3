#!/usr/bin/env bash
# Times brannik-solve on 10000-node tasks of four shapes, each with 100
# registers and with few enough that the least cost stores hundreds of
# results (a chain never stores), side by side with brannik replaying the
# solver's own answer on the same task, and prints the ratio of the medians
# (the solver may cost at most 4 times as much: a ratio of at most 4). Each
# answer must be accepted, its peak memory at most 16 MiB, and every task is
# solved within a 2 MiB stack. Both programs are started by `sh -c 'exec ...'`,
# for the solver's redirection. Needs hyperfine and GNU time.
# Usage: bench/brannik-solve.sh [build-dir]
source "$(dirname "$0")/lib.sh"
bin=$build/checker

for task in "chain 100" "chain 1" "comb 100" "comb 2" "wide 100" "wide 10" "random 100" "random 3"; do
  set -- $task
  "$build/bench/make_case" task "$1" 10000 "$2"
  (ulimit -s 2048 && /usr/bin/time -v "$bin/brannik-solve" <REGS.IN >REGS.OUT 2>time.txt)
  [ "$("$bin/brannik")" = Success ] || { echo "$task: answer not accepted" >&2; exit 1; }
  rss=$(awk -F': ' '/Maximum resident set size/ { print $2 }' time.txt)
  [ "$rss" -le 16384 ] || { echo "$task: peak memory $rss KiB" >&2; exit 1; }
  compare "$task registers ($(grep -c ' 0$' REGS.OUT) stores, peak $rss KiB)" \
    brannik-solve "sh -c 'exec $bin/brannik-solve < REGS.IN'" brannik "sh -c 'exec $bin/brannik'" -N
done
