#!/usr/bin/env bash
# Times `quillot 30000` (build the largest fence and write fence.in) side by
# side with `cp` of a file of the same size, and prints the ratio of the
# medians. Needs hyperfine.
# Usage: bench/quillot.sh [build-dir]
source "$(dirname "$0")/lib.sh"

"$build/generator/quillot" 30000
cp fence.in same-size.bin
compare "quillot 30000 ($(wc -c <same-size.bin) bytes)" quillot "$build/generator/quillot 30000" \
  cp "cp same-size.bin copy.bin" -N
