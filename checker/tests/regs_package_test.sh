#!/bin/sh
# The register task's package, checked as far as it can be without Kattis's
# verifyproblem: its validators build with their own build scripts, the input
# validator accepts every test, the output validator accepts every answer file
# and the solver's output as a team output and rejects that output with a wrong
# total, and every submission, compiled as Kattis compiles C++ and run under
# its limits, gets the verdict of its folder (the package's report, whose slow
# runs stop at the time limit), and the tests meet the coverage plan, whose
# unmet row fails the report.
# The same task for CMS and Polygon beside it agrees with it
# (testing/check-hosting-packages.py), the CMS folder's checker is static and
# judges the sample as brannik-cms does, and the scoring package scores the
# solver in full and an answer one store dearer in part.
# Usage: checker/tests/regs_package_test.sh <build-dir>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../../testing/package_test.sh
. "$here/../../testing/package_test.sh"

p=$work/regs
CMAKE=${CMAKE:-cmake} "$here/../package/make-regs-package.sh" "$1" "$p"
"${CMAKE:-cmake}" -E tar tf "$work/regs.zip" | grep -qx problem.yaml || fail "regs.zip has no problem.yaml at its top"

built "$p/input_validators/brannik-validate" validate
built "$p/output_validators/brannik-kattis" kattis
g++ -std=gnu++17 -O2 -o "$work/brannik-solve" "$p/submissions/accepted/brannik-solve.cpp" ||
  fail "brannik-solve does not build"

# The status of the output validator on a test with a team output.
judged() {
  rm -rf "$work/feedback" && mkdir "$work/feedback"
  status=0
  "$work/kattis/run" "$1" "${1%.in}.ans" "$work/feedback" <"$2" || status=$?
  echo "$status"
}
for test in "$p"/data/*/*.in; do
  status=0
  "$work/validate/run" <"$test" >"$work/verdict" || status=$?
  [ "$status" -eq 42 ] || fail "$test is not valid: $(cat "$work/verdict")"
  [ "$(judged "$test" "${test%.in}.ans")" -eq 42 ] || fail "${test%.in}.ans is not accepted"

  "$work/brannik-solve" <"$test" >"$work/team"
  [ "$(judged "$test" "$work/team")" -eq 42 ] || fail "brannik-solve on $test is not accepted"
  # The same schedule claiming one more than it costs.
  claim=$(head -n 1 "$work/team")
  { echo $((claim + 1)) && tail -n +2 "$work/team"; } >"$work/wrong"
  [ "$(judged "$test" "$work/wrong")" -eq 43 ] || fail "a wrong total on $test is not rejected"
done

"$here/../package/report-regs-package.sh" "$1" "$p" >"$work/report" || {
  cat "$work/report"
  fail "a submission does not get the verdict of its folder"
}
grep -q '<td class="verdict-AC"' "$p/report.html" || fail "the package's report.html has no grid"

# The coverage plan fails the report when a row that a test can reach is
# reached by none: the package with its sample alone has no N from 11 to 99.
mkdir -p "$work/sample-only/data" "$work/programs/accepted"
cp -r "$p/data/sample" "$work/sample-only/data/"
cp "$p/.timelimit" "$work/sample-only/"
cp "$work/brannik-solve" "$work/programs/accepted/"
status=0
"$1/checker/brannik-report" --plan "$here/../package/coverage.txt" "$work/sample-only" "$work/programs" 256 \
  >"$work/report" 2>"$work/unmet" || status=$?
[ "$status" -eq 1 ] || fail "the report of the sample alone ends with $status, not 1"
grep -qF 'N=11..99 stores=0 (N from 11 to 99, no store) is reached by no test' "$work/unmet" ||
  fail "the report of the sample alone does not name an unmet row: $(cat "$work/unmet")"
grep -qF '| N=11..99 stores=0: N from 11 to 99, no store | none |' "$work/report" ||
  fail "the report of the sample alone does not show an unmet row"

"$here/../../testing/check-hosting-packages.py" "$p" || fail "the 2025-09, CMS or Polygon package does not agree with the Kattis package"
"${CMAKE:-cmake}" -E tar tf "$work/regs.zip" | grep -qx .timelimit || fail "regs.zip has no .timelimit"
cms=$work/cms/regs
! ldd "$cms/check/checker" >/dev/null 2>&1 || fail "the CMS folder's checker loads shared libraries"
scored() {
  "$cms/check/checker" "$cms/input/input0.txt" "$cms/output/output0.txt" "$1" 2>/dev/null
}
[ "$(scored "$cms/output/output0.txt")" = 1.0 ] || fail "the CMS checker does not accept the sample's answer"
printf '15\n2 0\n5 0\n1 1\n' >"$work/team"  # every result stored: the sample's dearest answer
[ "$(scored "$work/team")" = 0.0 ] || fail "the CMS checker scores the sample's dearest answer above 0"

# The scoring package: on each secret test, with its group's flags, the
# solver's answer scores the group's points and an answer one store dearer no
# more; the groups' worst scores add up to 100 for the one and less for the
# other.
scoring=$work/scoring/regs
"$here/../package/make-regs-scoring-package.sh" "$1" "$p" "$scoring"
for group in "$scoring"/data/secret/*/; do
  flags=$(sed -n 's/^output_validator_flags: //p' "$group/testdata.yaml")
  points=${flags##* }
  for test in "$group"*.in; do
    for solution in "$work/brannik-solve" "$1/checker/one-store-more"; do
      "$solution" <"$test" >"$work/team"
      rm -rf "$work/feedback" && mkdir "$work/feedback"
      status=0
      # shellcheck disable=SC2086 # the flags are words
      "$work/kattis/run" "$test" "${test%.in}.ans" "$work/feedback" $flags <"$work/team" || status=$?
      [ "$status" -eq 42 ] || fail "$(basename "$solution") on $test is not accepted with a score"
      echo "$(basename "$group") $(basename "$solution") $points $(cat "$work/feedback/score.txt")"
    done
  done
done | awk '
  $4 > $3 { bad = 1 }
  !(($1, $2) in least) || $4 < least[$1, $2] { least[$1, $2] = $4 }
  END {
    for (key in least) { split(key, k, SUBSEP); total[k[2]] += least[key] }
    exit bad || total["brannik-solve"] != 100 || !(total["one-store-more"] < 100)
  }' || fail "the scoring package does not score the solver 100 and an answer one store dearer less"
