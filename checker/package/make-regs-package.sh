#!/bin/sh
# Writes the register task's Kattis-format problem package into <package-dir>
# and the same, zipped for DOMjudge, into <package-dir>.zip: the statement, the
# worked example as the sample, a test set made by brannik-gen from fixed
# arguments with answers by brannik-solve, the validators as one-file sources
# with build scripts, and the submissions.
# Usage: checker/package/make-regs-package.sh <build-dir> <package-dir>
set -eu
[ $# -eq 2 ] || { echo "usage: $0 <build-dir> <package-dir>" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
examples=$here/../../examples
bin=$(cd "$1" && pwd)/checker
out=$2

rm -rf "$out" "$out.zip"
mkdir -p "$out/problem_statement" "$out/data/sample" "$out/data/secret" "$out/submissions/accepted" \
  "$out/submissions/wrong_answer"
cp "$here/problem.yaml" "$out/"
cp "$here/problem.en.tex" "$out/problem_statement/"
cp "$examples/REGS.IN" "$out/data/sample/1.in"
cp "$examples/REGS.OUT" "$out/data/sample/1.ans"

# One test a line: its name, then brannik-gen's arguments
# <shape> <nodes> <N> <seed> [options]; every seed its own.
while read -r name args; do
  # shellcheck disable=SC2086 # the arguments are words
  "$bin/brannik-gen" $args >"$out/data/secret/$name.in"
  "$bin/brannik-solve" <"$out/data/secret/$name.in" >"$out/data/secret/$name.ans"
done <<'EOF'
01-two-nodes random 2 1 1
02-chain-one-register chain 10000 1 2
03-chain chain 10000 3 3
04-complete-binary-two-registers complete 10000 2 4 --degree=2
05-complete-binary-cheap-stores complete 10000 2 5 --degree=2 --load=1,1 --store=1,1
06-complete-ternary-k-is-n complete 9841 3 6 --degree=3
07-complete-10-ary complete 10000 10 7 --degree=10
08-comb comb 10000 2 8
09-comb-wide comb 10000 10 9 --degree=10
10-random-100-registers random 10000 100 10 --degree=10
11-random-full-costs random 10000 4 11 --costs=-2147483648,2147483647
12-random-largest-load-store random 10000 5 12 --load=2147483647,2147483647 --store=2147483647,2147483647
13-random-all-extremes random 10000 3 13 --costs=-2147483648,2147483647 --load=1,2147483647 --store=1,2147483647
14-random-small random 40 2 14 --degree=2
15-full-ternary full 9997 3 15 --degree=3
EOF

# A program as the format's folder: its one source and a build script making run.
program() {
  mkdir -p "$1"
  cp "$2" "$1/"
  printf '#!/bin/sh\ng++ -std=c++20 -O2 -o run *.cpp\n' >"$1/build"
  chmod +x "$1/build"
}
program "$out/input_validators/brannik-validate" "$bin/brannik-validate.cpp"
program "$out/output_validators/brannik-kattis" "$bin/brannik-kattis.cpp"

cp "$bin/brannik-solve.cpp" "$out/submissions/accepted/"
cp "$here/store_everything.cpp" "$out/submissions/wrong_answer/store-everything.cpp"
sed 's/^constexpr long long claim_error = 0;$/constexpr long long claim_error = 1;/' "$here/store_everything.cpp" \
  >"$out/submissions/wrong_answer/wrong-total.cpp"
grep -q '^constexpr long long claim_error = 1;$' "$out/submissions/wrong_answer/wrong-total.cpp"

# problem.yaml at the zip's top, as DOMjudge imports it.
(cd "$out" && "${CMAKE:-cmake}" -E tar cf "../$(basename "$out").zip" --format=zip -- \
  problem.yaml problem_statement data input_validators output_validators submissions)
