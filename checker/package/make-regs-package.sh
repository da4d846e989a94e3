#!/bin/sh
# Writes the register task's Kattis-format problem package into <package-dir>
# and the same, zipped for DOMjudge, into <package-dir>.zip: the statement, the
# worked example as the sample, a test set made by brannik-gen from fixed
# arguments with answers by brannik-solve, the validators as one-file sources
# with build scripts, and the submissions (brannik-solve and submissions/);
# and the same task in the 2025-09 package format, for CMS and for Polygon
# (hosting/make-hosting-packages.py).
# Usage: checker/package/make-regs-package.sh <build-dir> <package-dir>
set -eu
[ $# -eq 2 ] || { echo "usage: $0 <build-dir> <package-dir>" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
examples=$here/../../examples
bin=$(cd "$1" && pwd)/checker
out=$2

rm -rf "$out" "$out.zip"
mkdir -p "$out/problem_statement" "$out/data/sample" "$out/data/secret" "$out/submissions/accepted"
cp "$here/problem.yaml" "$out/"
cp "$here/problem.en.tex" "$out/problem_statement/"
cp "$examples/REGS.IN" "$out/data/sample/1.in"
cp "$examples/REGS.OUT" "$out/data/sample/1.ans"

# The tests of tests.txt: brannik-gen's, or hand-written trees, each with
# the solver's answer.
grep -v '^#' "$here/tests.txt" | while read -r name group how args; do
  case $how in
    # shellcheck disable=SC2086 # the arguments are words
    gen) "$bin/brannik-gen" $args >"$out/data/secret/$name.in" ;;
    file) cp "$here/tests/$name.in" "$out/data/secret/$name.in" ;;
    *) echo "tests.txt: $name: unknown way of making a test: $how" >&2; exit 1 ;;
  esac
  "$bin/brannik-solve" <"$out/data/secret/$name.in" >"$out/data/secret/$name.ans"
done

# A program as the format's folder: its one source and a build script making run.
program() {
  mkdir -p "$1"
  cp "$2" "$1/"
  printf '#!/bin/sh\ng++ -std=c++20 -O2 -o run *.cpp\n' >"$1/build"
  chmod +x "$1/build"
}
program "$out/input_validators/brannik-validate" "$bin/brannik-validate.cpp"
program "$out/output_validators/brannik-kattis" "$bin/brannik-kattis.cpp"

# The submissions: the solver, and those of submissions/, each in the folder
# of the verdict it must get.
cp "$bin/brannik-solve.cpp" "$out/submissions/accepted/"
for folder in "$here"/submissions/*/; do
  verdict=$(basename "$folder")
  mkdir -p "$out/submissions/$verdict"
  cp "$folder"*.cpp "$out/submissions/$verdict/"
done

# The time limit, and the task in the 2025-09 format and for CMS and Polygon
# beside the package, with the checker's one source that serves the last two.
"$here/../../hosting/make-hosting-packages.py" --tests "$here/tests.txt" --groups "$here/groups.txt" \
  --model "$bin/brannik-solve" --main submissions/accepted/brannik-solve.cpp --generator brannik-gen \
  --generator-source "$bin/brannik-gen.cpp" --checker "$bin/brannik-testlib.cpp" --checker-score power "$out"

# problem.yaml at the zip's top, as DOMjudge imports it.
(cd "$out" && "${CMAKE:-cmake}" -E tar cf "../$(basename "$out").zip" --format=zip -- \
  problem.yaml .timelimit problem_statement data input_validators output_validators submissions)
