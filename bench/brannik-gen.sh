#!/usr/bin/env bash
# Times `brannik-gen random 10000 10 <seed>` (build the largest tree and write
# its test to standard output) side by side with `cat` of the test it writes,
# both into a pipe, and prints the ratio of the medians (the target is at most
# 1.30). Needs hyperfine.
# Usage: bench/brannik-gen.sh [build-dir]
source "$(dirname "$0")/lib.sh"

call="random 10000 10 7 --costs=-2147483648,2147483647"
"$build/checker/brannik-gen" $call >REGS.IN
compare "brannik-gen $call ($(wc -c <REGS.IN) bytes)" brannik-gen "$build/checker/brannik-gen $call" \
  cat "cat REGS.IN" -N --output=pipe
