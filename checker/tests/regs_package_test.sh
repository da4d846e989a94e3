#!/bin/sh
# The register task's package, checked as far as it can be without Kattis's
# verifyproblem: its validators build with their own build scripts, the input
# validator accepts every test, the output validator accepts every answer file
# as a team output, and of the submissions, compiled as Kattis compiles C++,
# the accepted one is accepted on every test and the wrong answers rejected.
# The same task for CMS and Polygon beside it agrees with it
# (hosting/check-hosting-packages.py), and the CMS folder's checker is static
# and judges the sample as brannik-cms does.
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
for source in "$p"/submissions/*/*.cpp; do
  name=$(basename "$source" .cpp)
  g++ -std=gnu++17 -O2 -o "$work/$name" "$source" || fail "$name does not build"
done

# The status of the output validator on a test with a team output.
judged() {
  rm -rf "$work/feedback" && mkdir "$work/feedback"
  status=0
  "$work/kattis/run" "$1" "${1%.in}.ans" "$work/feedback" <"$2" || status=$?
  echo "$status"
}
dearer=0
for test in "$p"/data/*/*.in; do
  status=0
  "$work/validate/run" <"$test" >"$work/verdict" || status=$?
  [ "$status" -eq 42 ] || fail "$test is not valid: $(cat "$work/verdict")"
  [ "$(judged "$test" "${test%.in}.ans")" -eq 42 ] || fail "${test%.in}.ans is not accepted"

  "$work/brannik-solve" <"$test" >"$work/team"
  [ "$(judged "$test" "$work/team")" -eq 42 ] || fail "brannik-solve on $test is not accepted"
  "$work/store-everything" <"$test" >"$work/team"
  case $(judged "$test" "$work/team") in
    42) ;;
    43) dearer=$((dearer + 1)) ;;
    *) fail "store-everything on $test: not judged, $(cat "$work/feedback"/*)" ;;
  esac
  "$work/wrong-total" <"$test" >"$work/team"
  [ "$(judged "$test" "$work/team")" -eq 43 ] || fail "wrong-total on $test is not rejected"
done
[ "$dearer" -gt 0 ] || fail "store-everything is accepted on every test"

"$here/../../hosting/check-hosting-packages.py" "$p" || fail "the CMS or Polygon package does not agree with the Kattis package"
"${CMAKE:-cmake}" -E tar tf "$work/regs.zip" | grep -qx .timelimit || fail "regs.zip has no .timelimit"
cms=$work/cms/regs
! ldd "$cms/check/checker" >/dev/null 2>&1 || fail "the CMS folder's checker loads shared libraries"
scored() {
  "$cms/check/checker" "$cms/input/input0.txt" "$cms/output/output0.txt" "$1" 2>/dev/null
}
[ "$(scored "$cms/output/output0.txt")" = 1.0 ] || fail "the CMS checker does not accept the sample's answer"
"$work/store-everything" <"$cms/input/input0.txt" >"$work/team"
[ "$(scored "$work/team")" = 0.0 ] || fail "the CMS checker accepts a dearer answer to the sample"
