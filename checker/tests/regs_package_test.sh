#!/bin/sh
# The register task's package, checked as far as it can be without Kattis's
# verifyproblem: its validators build with their own build scripts, the input
# validator accepts every test, the output validator accepts every answer file
# and the solver's output as a team output and rejects that output with a wrong
# total, and every submission, compiled as Kattis compiles C++ and run under
# its limits, gets the verdict of its folder (the package's report, whose slow
# runs stop at the time limit).
# Usage: checker/tests/regs_package_test.sh <build-dir>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "$*" >&2
  exit 1
}

p=$work/regs
CMAKE=${CMAKE:-cmake} "$here/../package/make-regs-package.sh" "$1" "$p"
"${CMAKE:-cmake}" -E tar tf "$work/regs.zip" | grep -qx problem.yaml || fail "regs.zip has no problem.yaml at its top"

# Built in a copy of its folder, as a judging system builds it.
built() {
  cp -r "$1" "$work/$2"
  (cd "$work/$2" && ./build) || fail "$1: its build script failed"
  [ -x "$work/$2/run" ] || fail "$1: its build script made no run"
}
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
