#!/usr/bin/env bash
# Times brannik on two accepted 10000-node cases, a chain (10000 levels deep)
# and a wide tree, side by side with `wc -l` over the same two files, and
# prints the ratio of the medians. Needs hyperfine.
# Usage: bench/brannik.sh [build-dir]
source "$(dirname "$0")/lib.sh"

for shape in chain wide; do
  mkdir "$work/$shape"
  cd "$work/$shape"
  "$build/bench/make_case" "$shape" 10000
  [ "$("$build/checker/brannik")" = Success ] || { echo "$shape: answer not accepted" >&2; exit 1; }
  compare "$shape" brannik "$build/checker/brannik" "wc -l" "wc -l REGS.IN REGS.OUT" -N
done
