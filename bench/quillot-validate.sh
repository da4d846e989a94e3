#!/usr/bin/env bash
# Times `quillot-validate` on the 30000-vertex test side by side with `sort -n`
# of the same file, each reading it from standard input, and prints the ratio of
# the medians (the target is at most 1.0). Needs hyperfine.
# Usage: bench/quillot-validate.sh [build-dir]
source "$(dirname "$0")/lib.sh"

"$build/generator/quillot-gen" 30000 1767323045 >fence.in
status=0
"$build/generator/quillot-validate" <fence.in || status=$?
[ "$status" = 42 ] || { echo "the test is not valid (status $status)" >&2; exit 1; }
# Through the shell, as standard input is a file; hyperfine takes the shell's own time off.
compare "quillot-validate, 30000 vertices" quillot-validate "$build/generator/quillot-validate <fence.in; test \$? = 42" \
  "sort -n" "sort -n <fence.in"
