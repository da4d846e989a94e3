#!/bin/sh
# The fence task's package, checked as far as it can be without Kattis's
# verifyproblem: its validator and generator build with their own build
# scripts, the validator accepts every test, the generator makes every test
# again from the commands of generators.yaml, a solution given writes an answer
# of every test and the same task for CMS and Polygon that agrees with the
# package (testing/check-hosting-packages.py), and without one the package
# says that the answers are missing and has no CMS or Polygon package, but
# its 2025-09 layout, without a time limit.
# Usage: generator/tests/fence_package_test.sh <build-dir>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=$1
# shellcheck source=../../testing/package_test.sh
. "$here/../../testing/package_test.sh"

# The stand-in solution answers with the vertex count. The suite's sanitizer
# build links the programs with shared libraries; the package takes them so.
p=$work/fence
printf '#!/bin/sh\nsed -n 2p\n' >"$work/solution"
chmod +x "$work/solution"
"$here/../package/make-fence-package.sh" --allow-shared "$build" "$p" "$work/solution"
"$here/../../testing/check-hosting-packages.py" "$p" || fail "the 2025-09, CMS or Polygon package does not agree with the Kattis package"

built "$p/input_validators/quillot-validate" validate
built "$p/generators/quillot-gen" gen
built "$p/submissions/accepted/solution" accepted

for test in "$p"/data/*/*.in; do
  status=0
  "$work/validate/run" <"$test" >"$work/verdict" || status=$?
  [ "$status" -eq 42 ] || fail "$test is not valid: $(cat "$work/verdict")"
  "$work/accepted/run" <"$test" | cmp -s - "${test%.in}.ans" || fail "${test%.in}.ans is not the solution's answer"
done

# Every command of generators.yaml, "<name>: quillot-gen <N> <seed>", makes its
# test again; the secret tests are numbered in the order of their commands.
made=0
number=0
while read -r key program size seed; do
  case $key in
    \"1\":) test=$p/data/sample/1.in ;;
    *) number=$((number + 1)) && test=$p/data/secret/$(printf %02d "$number")-${key%:}.in ;;
  esac
  [ "$program" = quillot-gen ] || fail "generators.yaml runs $program"
  "$work/gen/run" "$size" "$seed" | cmp -s - "$test" || fail "quillot-gen $size $seed does not make $test"
  made=$((made + 1))
done <<EOF
$(sed -n 's/^ *-\{0,1\} *\([^ ]*: quillot-gen .*\)$/\1/p' "$p/generators/generators.yaml")
EOF
set -- "$p"/data/*/*.in
[ "$made" -eq $# ] || fail "generators.yaml makes $made of the $# tests"

"$here/../package/make-fence-package.sh" --allow-shared "$build" "$p"
! ls "$p"/data/*/*.ans >/dev/null 2>&1 || fail "answers without a solution"
grep -q 'FENCE_SOLUTION' "$p/README.md" || fail "the package does not say that the answers are missing"
[ ! -e "$work/cms/fence" ] && [ ! -e "$work/polygon/fence.zip" ] || fail "CMS or Polygon packages without answers"
[ -f "$work/2025-09/fence/statement/problem.en.tex" ] && [ -f "$work/2025-09/fence.zip" ] &&
  ! grep -q '^ *time_limit:' "$work/2025-09/fence/problem.yaml" || fail "no 2025-09 package without answers, or one with a time limit"
