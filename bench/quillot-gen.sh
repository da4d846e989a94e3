#!/usr/bin/env bash
# Times `quillot-gen 30000 <seed>` (build the largest fence and write it to
# standard output) side by side with `cat` of the test it writes, both into a
# pipe, and prints the ratio of the medians (the target is at most 1.20).
# Needs hyperfine.
# Usage: bench/quillot-gen.sh [build-dir]
source "$(dirname "$0")/lib.sh"

seed=1767323045
"$build/generator/quillot-gen" 30000 "$seed" >fence.in
compare "quillot-gen 30000 ($(wc -c <fence.in) bytes)" quillot-gen "$build/generator/quillot-gen 30000 $seed" \
  cat "cat fence.in" -N --output=pipe
