#!/bin/sh
# Writes the register task's scoring package in the Kattis format into
# <scoring-dir>, and the same zipped into <scoring-dir>.zip, from its
# pass-fail package <package-dir>: the same statement, tests and validators,
# but every valid answer is accepted with a score, the least in full and a
# dearer one in part (the output validator's --score, in testdata.yaml), the
# secret tests in the groups of groups.txt, each worth its points as its
# worst test scores, and the sample worth nothing.
# The scoring package's folder is named as the pass-fail one's, a short name of
# the Kattis format's ([a-z0-9]+), in a folder of its own.
# Usage: checker/package/make-regs-scoring-package.sh <build-dir> <package-dir> <scoring-dir>
set -eu
[ $# -eq 3 ] || { echo "usage: $0 <build-dir> <package-dir> <scoring-dir>" >&2; exit 2; }
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$1" && pwd)/checker
from=$2
out=$3

rm -rf "$out" "$out.zip"
mkdir -p "$out/problem_statement" "$out/data/secret" "$out/submissions/accepted" \
  "$out/submissions/partially_accepted" "$out/submissions/wrong_answer"
sed -e 's/^validation: custom$/type: scoring\nvalidation: custom score\ngrading:\n  show_test_data_groups: true/' \
  -e 's/^# a valid schedule whose claimed total is its cost, and that cost the least.$/# every valid schedule whose claimed total is its cost scores, the least in full./' \
  "$from/problem.yaml" >"$out/problem.yaml"
grep -q '^validation: custom score$' "$out/problem.yaml"
cp "$from/.timelimit" "$out/" 2>/dev/null || true
cp -r "$from/input_validators" "$from/output_validators" "$from/data/sample" "$out/"
mv "$out/sample" "$out/data/"
{
  # Acceptance asks no more than a valid schedule and its true cost here.
  perl -0pe 's/the first line equals the cost of\nthe steps, and that cost is the least possible\./and the first line equals the cost\nof the steps./ or die' \
    "$from/problem_statement/problem.en.tex"
  cat <<'TEX'

\section*{Scoring}

An answer that is not accepted scores nothing. An accepted answer scores a
share of the test: all of it when its cost is the least possible, and
otherwise $\left(\frac{S^{+} - S}{S^{+} - S^{*}}\right)^{2}$, where $S$ is the
number of results it stores, $S^{*}$ the number that the least cost stores,
and $S^{+}$ the number of inner nodes less one (every result stored but the
root's). The tests are in groups; a group is worth its points times the
share of its worst test. The sample is worth nothing.
TEX
} >"$out/problem_statement/problem.en.tex"

# Every test of a group worth P points scores its share of P; the group its
# worst test's, the secret tests together the groups' sum, and the whole the
# secret tests' alone.
cat >"$out/data/testdata.yaml" <<'EOF2'
on_reject: continue
grader_flags: ignore_sample
range: 0 100
output_validator_flags: --score power
EOF2
cat >"$out/data/sample/testdata.yaml" <<'EOF2'
grader_flags: sum
EOF2
cat >"$out/data/secret/testdata.yaml" <<'EOF2'
grader_flags: sum
EOF2
grep -v -e '^#' -e '^[[:space:]]*$' "$here/groups.txt" | while read -r group points _; do
  mkdir -p "$out/data/secret/$group"
  printf 'grader_flags: min\nrange: 0 %s\noutput_validator_flags: --score power --points %s\n' "$points" "$points" \
    >"$out/data/secret/$group/testdata.yaml"
done
grep -v -e '^#' -e '^[[:space:]]*$' "$here/tests.txt" | while read -r name group _; do
  [ -d "$out/data/secret/$group" ] || { echo "tests.txt: $name: no such group: $group" >&2; exit 1; }
  cp "$from/data/secret/$name.in" "$from/data/secret/$name.ans" "$out/data/secret/$group/"
done

cp "$from/submissions/accepted/brannik-solve.cpp" "$out/submissions/accepted/"
cp "$bin/one-store-more.cpp" "$out/submissions/partially_accepted/"
cp "$from/submissions/wrong_answer/int-total.cpp" "$out/submissions/wrong_answer/"

(cd "$out" && "${CMAKE:-cmake}" -E tar cf "../$(basename "$out").zip" --format=zip -- \
  problem.yaml .timelimit problem_statement data input_validators output_validators submissions)
