#!/usr/bin/env bash
# Times each judging system's program on the accepted 10000-node chain side
# by side with brannik on the same files, and prints the ratio of the medians.
# The three judging programs are given the same answer as the jury's, which
# they replay too: they may cost at most half as much again (a ratio of at
# most 1.5); the validator at most 10% more (1.10). The two
# that read standard input are started by `sh -c 'exec ...'` for the
# redirection, and brannik the same way beside them; the Kattis-format one
# gets a fresh feedback folder for every run, as a judge gives it.
# Needs hyperfine.
# Usage: bench/hosts.sh [build-dir]
source "$(dirname "$0")/lib.sh"
bin=$build/checker
"$build/bench/make_case" chain 10000
mkdir fb

[ "$("$bin/brannik")" = Success ] || { echo "answer not accepted" >&2; exit 1; }
"$bin/brannik-testlib" REGS.IN REGS.OUT REGS.OUT 2>/dev/null
"$bin/brannik-kattis" REGS.IN REGS.OUT fb < REGS.OUT || [ $? -eq 42 ]
[ "$("$bin/brannik-cms" REGS.IN REGS.OUT REGS.OUT 2>/dev/null)" = 1.0 ]
"$bin/brannik-validate" < REGS.IN || [ $? -eq 42 ]

compare brannik-testlib brannik-testlib "$bin/brannik-testlib REGS.IN REGS.OUT REGS.OUT" brannik "$bin/brannik" -N
compare brannik-cms brannik-cms "$bin/brannik-cms REGS.IN REGS.OUT REGS.OUT" brannik "$bin/brannik" -N
compare brannik-kattis brannik-kattis "sh -c 'exec $bin/brannik-kattis REGS.IN REGS.OUT fb < REGS.OUT'" \
  brannik "sh -c 'exec $bin/brannik'" -N -i --prepare "rm -rf fb && mkdir fb"
compare brannik-validate brannik-validate "sh -c 'exec $bin/brannik-validate < REGS.IN'" \
  brannik "sh -c 'exec $bin/brannik'" -N -i
