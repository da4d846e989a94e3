#!/bin/sh
# Writes a task whose Kattis-format package is <dir>/<name> for the two other
# systems that juries host on, beside it: CMS's task folder (its Italian
# layout) <dir>/cms/<name>, and Polygon's package <dir>/polygon/<name> with
# the same zipped, <dir>/polygon/<name>.zip. All three get one time limit: the
# model solution's slowest run over the tests times a factor, rounded up to a
# tenth of a second, at least a second (in the Kattis package: .timelimit, and
# the factor as problem.yaml's time_multiplier). The tests are the Kattis
# package's, the sample first, then group by group (CMS's groups are runs of
# consecutive tests); the statement is its LaTeX, rendered with pdflatex when
# that is installed.
#
# Usage: hosting/make-hosting-packages.sh [options] <kattis-package-dir>
#   --tests <file>        the tests in order, a line each (as in tests.txt):
#                         <name> <group> <how> [<arguments>], <name>.in in
#                         data/secret (data/sample for the group "sample"),
#                         <how> "gen" when the generator made it from those
#                         arguments; lines that begin with # are comments
#   --groups <file>       the groups in order, a line each: <name> <points> [what
#                         the tests share]; the points add up to 100, and the
#                         sample is a group of its own worth nothing
#   --model <program>     the model solution: reads a test, writes its answer
#   --main <path>         its source in the Kattis package (submissions/...)
#   --generator <name>    the program that "gen" tests name
#   --generator-source <file>  its one source file, for Polygon to run it
#   --checker <file>      the checker's one source file: testlib's calling
#                         convention, CMS's protocol with -DCMS; without one,
#                         answers are compared token by token
#   --checker-score <form>  the form of the score that the CMS folder's
#                         checker is built with (BRANNIK_SCORE), by default
#                         the source's own
#   --score-type <type>   CMS's score type of the groups: GroupMin (a group
#                         scores its points times its worst test's score) or
#                         GroupMul (times the product of its tests' scores)
# The environment's TIME_FACTOR (default 5) is the factor of the time limit.
set -eu
usage() {
  echo "usage: $0 --tests <file> --groups <file> --model <program> --main <path> [--generator <name>]" \
    "[--generator-source <file>] [--checker <file>] [--checker-score <form>] [--score-type <type>]" \
    "<kattis-package-dir>" >&2
  exit 2
}
tests='' groups='' model='' main='' generator='' generator_source='' checker='' checker_score='' score_type=GroupMin
while [ $# -gt 1 ]; do
  case $1 in
    --tests) tests=$2 ;;
    --groups) groups=$2 ;;
    --model) model=$2 ;;
    --main) main=$2 ;;
    --generator) generator=$2 ;;
    --generator-source) generator_source=$2 ;;
    --checker) checker=$2 ;;
    --checker-score) checker_score=$2 ;;
    --score-type) score_type=$2 ;;
    *) usage ;;
  esac
  shift 2
done
[ $# -eq 1 ] && [ -n "$tests" ] && [ -n "$groups" ] && [ -n "$model" ] && [ -n "$main" ] || usage
kattis=$(cd "$1" && pwd)
name=$(basename "$kattis")
cms=$(dirname "$kattis")/cms/$name
polygon=$(dirname "$kattis")/polygon/$name
factor=${TIME_FACTOR:-5}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "$0: $*" >&2
  exit 1
}
case $factor in '' | *[!0-9.]* | *.*.* | .) fail "TIME_FACTOR is not a number: $factor" ;; esac
case $score_type in GroupMin | GroupMul) ;; *) fail "not a score type of groups: $score_type" ;; esac

title=$(sed -n 's/^name: *//p' "$kattis/problem.yaml")
memory=$(sed -n 's/^ *memory: *\([0-9][0-9]*\).*/\1/p' "$kattis/problem.yaml")
memory=${memory:-1024}

# The groups, the sample's first: "<name> <points>" in $work/groups.
{
  echo "sample 0"
  grep -v -e '^#' -e '^sample ' -e '^[[:space:]]*$' "$groups"
} | while read -r group points _; do echo "$group $points"; done >"$work/groups"
points_of() {
  awk -v g="$1" '$1 == g { print $2 }' "$work/groups"
}
tests_of() {
  awk -v g="$1" '$2 == g' "$work/order"
}
total=0
while read -r group points; do total=$((total + points)); done <"$work/groups"
[ "$total" -eq 100 ] || fail "$groups: the points add up to $total, not 100"

# The tests in their hosting order, a line each: <path> <group> [<call>], the
# path as in data/ without .in. A sample that the list does not name is made
# by hand.
grep -v -e '^#' -e '^[[:space:]]*$' "$tests" | while read -r test group how args; do
  folder=secret
  [ "$group" = sample ] && folder=sample
  call=''
  [ "$how" = gen ] && call="$generator $args"
  [ -n "$(points_of "$group")" ] || fail "$tests: $test: no such group: $group"
  echo "$folder/$test $group $call"
done >"$work/listed"
for input in "$kattis"/data/sample/*.in; do
  test=sample/$(basename "$input" .in)
  grep -q "^$test " "$work/listed" || echo "$test sample"
done >"$work/samples"
while read -r group _; do
  awk -v g="$group" '$2 == g' "$work/samples" "$work/listed"
done <"$work/groups" >"$work/order"
while read -r group _; do
  [ -n "$(tests_of "$group")" ] || fail "$groups: the group $group has no test"
done <"$work/groups"
for input in "$kattis"/data/*/*.in; do
  test=${input#"$kattis/data/"}
  grep -q "^${test%.in} " "$work/order" || fail "$test is in no group of $tests"
done
while read -r test _; do
  [ -f "$kattis/data/$test.in" ] && [ -f "$kattis/data/$test.ans" ] || fail "data/$test: no test or no answer"
done <"$work/order"
count=$(wc -l <"$work/order")

# The time limit: the model solution's slowest run, wall clock, times the factor.
slowest=0
while read -r test _; do
  start=$(date +%s%N)
  "$model" <"$kattis/data/$test.in" >/dev/null || fail "the model solution fails on $test"
  stop=$(date +%s%N)
  [ $((stop - start)) -le "$slowest" ] || slowest=$((stop - start))
done <"$work/order"
seconds=$(awk -v ns="$slowest" -v f="$factor" 'BEGIN {
  t = ns * f / 1e8; tenths = int(t); if (tenths < t) tenths++; if (tenths < 10) tenths = 10
  printf "%d.%d", tenths / 10, tenths % 10 }')
milliseconds=$(awk -v s="$seconds" 'BEGIN { printf "%d", s * 1000 + 0.5 }')
echo "$name: the model solution's slowest run $(awk -v ns="$slowest" 'BEGIN { printf "%.3f", ns / 1e9 }') s," \
  "times $factor: time limit $seconds s"
echo "$seconds" >"$kattis/.timelimit"
sed -i '/^ *time_multiplier:/d' "$kattis/problem.yaml"
if grep -q '^limits:' "$kattis/problem.yaml"; then
  sed -i "s/^limits:.*/&\n  time_multiplier: $factor/" "$kattis/problem.yaml"
else
  printf 'limits:\n  time_multiplier: %s\n' "$factor" >>"$kattis/problem.yaml"
fi

# The statement: the Kattis package's LaTeX in a document of its own with the
# limits and the samples, which Polygon's export keeps as statements/english.
english=$polygon/statements/english
rm -rf "$cms" "$polygon" "$polygon.zip"
mkdir -p "$english"
cp "$kattis/problem_statement/problem.en.tex" "$english/"
number=0
for input in "$kattis"/data/sample/*.in; do
  number=$((number + 1))
  cp "$input" "$english/example.$(printf %02d $number)"
  cp "${input%.in}.ans" "$english/example.$(printf %02d $number).a"
done
{
  cat <<EOF
% $title: the statement of the Kattis-format package with its limits and samples.
\\documentclass[11pt]{article}
\\usepackage[a4paper,margin=25mm]{geometry}
\\usepackage{verbatim}
\\pagestyle{empty}
\\newcommand{\\problemname}[1]{\\begin{center}{\\LARGE\\bfseries #1}\\\\[2ex]
Time limit: $seconds s \\qquad Memory limit: $memory MiB\\end{center}}
\\begin{document}
\\input{problem.en.tex}
\\section*{Samples}
EOF
  for example in "$english"/example.??; do
    printf '\\subsection*{Input %s}\\verbatiminput{example.%s}\n' "${example##*.}" "${example##*.}"
    printf '\\subsection*{Output %s}\\verbatiminput{example.%s.a}\n' "${example##*.}" "${example##*.}"
  done
  printf '\\end{document}\n'
} >"$english/problem.tex"
pdf=''
if command -v pdflatex >/dev/null; then
  cp -r "$english" "$work/latex"
  (cd "$work/latex" && pdflatex -interaction=batchmode -halt-on-error problem.tex >/dev/null) ||
    fail "pdflatex cannot render the statement: $(tail -n 20 "$work/latex/problem.log")"
  pdf=$work/latex/problem.pdf
else
  echo "$name: pdflatex not found, the statement PDF is left out (apt-get install texlive-latex-base)" >&2
fi

# Each group's points and count for CMS, [[points, count], ...].
parameters=$(while read -r group points; do
  echo "$points $(tests_of "$group" | wc -l)"
done <"$work/groups" | awk '{ printf "%s[%s, %s]", (NR > 1 ? ", " : "["), $1, $2 } END { print "]" }')

# CMS: task.yaml, input/ and output/ from 0, gen/GEN with the groups.
mkdir -p "$cms/input" "$cms/output" "$cms/gen" "$cms/sol"
public=''
index=0
while read -r test group _; do
  cp "$kattis/data/$test.in" "$cms/input/input$index.txt"
  cp "$kattis/data/$test.ans" "$cms/output/output$index.txt"
  [ "$group" = sample ] && public=${public:+$public,}$index
  index=$((index + 1))
done <"$work/order"
cat >"$cms/task.yaml" <<EOF
# $title for CMS, in its Italian task folder layout (cmsImportTask -L italy_yaml),
# written from its Kattis-format package with the same tests and answers.
name: $name
title: "$(printf '%s' "$title" | sed 's/[\\"]/\\&/g')"
primary_language: en
time_limit: $seconds
memory_limit: $memory
n_input: $count
public_testcases: "$public"
infile: ""
outfile: ""
token_mode: disabled
# check/checker scores a valid answer that is not the least by the form
# "${checker_score:-of its source}" (the README's partial scores).
score_type: $score_type
score_type_parameters: $parameters
EOF
{
  echo "# The tests of input/ in order, a line each: the arguments of the program"
  echo "# named after it, or #COPY: for a test made by hand. A group begins with"
  echo "# \"# ST: <points>\"; $score_type scores it (task.yaml)."
  index=0 previous=''
  while read -r test group program args; do
    [ "$group" = "$previous" ] || echo "# ST: $(points_of "$group")"
    previous=$group
    if [ -n "$program" ]; then
      echo "$args # $program, $test"
    else
      echo "#COPY: input/input$index.txt, $test"
    fi
    index=$((index + 1))
  done <"$work/order"
} >"$cms/gen/GEN"
cp "$kattis/$main" "$cms/sol/"
if [ -n "$checker" ]; then
  mkdir -p "$cms/check"
  # shellcheck disable=SC2046 # the form's definition is one word, or none
  "${CXX:-g++}" -O2 -static -DCMS $([ -z "$checker_score" ] || echo "-DBRANNIK_SCORE=\"$checker_score\"") \
    -o "$cms/check/checker" "$checker" || fail "$checker does not build for CMS"
fi
[ -z "$pdf" ] || { mkdir -p "$cms/statement" && cp "$pdf" "$cms/statement/statement.pdf"; }

# Polygon: problem.xml, tests/NN and NN.a, files/, solutions/, statements/.
xml() {
  printf '%s' "$1" | sed 's/&/\&amp;/g; s/</\&lt;/g; s/>/\&gt;/g; s/"/\&quot;/g'
}
language() {
  case $1 in
    *.cpp | *.cc) echo ' type="cpp.g++17"' ;;
    *.c) echo ' type="c.gcc"' ;;
    *.py) echo ' type="python.3"' ;;
    *.java) echo ' type="java11"' ;;
  esac
}
mkdir -p "$polygon/tests" "$polygon/files" "$polygon/solutions"
index=0
while read -r test _; do
  index=$((index + 1))
  cp "$kattis/data/$test.in" "$polygon/tests/$(printf %02d $index)"
  cp "$kattis/data/$test.ans" "$polygon/tests/$(printf %02d $index).a"
done <"$work/order"
[ -z "$checker" ] || { cp "$checker" "$polygon/files/check.cpp" && cp "$checker" "$polygon/check.cpp"; }
[ -z "$generator_source" ] || cp "$generator_source" "$polygon/files/"
if [ -n "$pdf" ]; then
  mkdir -p "$polygon/statements/.pdf/english"
  cp "$pdf" "$polygon/statements/.pdf/english/problem.pdf"
fi
# CMS reads a Polygon package's own options here: the groups' score type.
cat >"$polygon/files/cms_conf.py" <<EOF
# CMS's options for this task that Polygon's format cannot hold: the score
# type of the groups (CMS's Polygon loader would give every test an equal share).
datasets = {"tests": {"score_type": "$score_type", "score_type_parameters": $parameters}}
EOF
# The submissions by their folder's verdict, the model solution as the main one.
cp "$kattis/$main" "$polygon/solutions/"
for source in "$kattis"/submissions/*/*; do
  [ -f "$source" ] && [ "$source" != "$kattis/$main" ] || continue
  [ ! -e "$polygon/solutions/$(basename "$source")" ] || fail "two submissions named $(basename "$source")"
  cp "$source" "$polygon/solutions/"
done
{
  echo '<?xml version="1.0" encoding="utf-8" standalone="no"?>'
  echo "<problem revision=\"1\" short-name=\"$(xml "$name")\">"
  echo '    <names>'
  echo "        <name language=\"english\" value=\"$(xml "$title")\"/>"
  echo '    </names>'
  echo '    <statements>'
  echo '        <statement charset="UTF-8" language="english" path="statements/english/problem.tex" type="application/x-tex"/>'
  [ -z "$pdf" ] ||
    echo '        <statement language="english" path="statements/.pdf/english/problem.pdf" type="application/pdf"/>'
  echo '    </statements>'
  echo '    <judging input-file="" output-file="">'
  echo '        <testset name="tests">'
  echo "            <time-limit>$milliseconds</time-limit>"
  echo "            <memory-limit>$((memory * 1024 * 1024))</memory-limit>"
  echo "            <test-count>$count</test-count>"
  echo '            <input-path-pattern>tests/%02d</input-path-pattern>'
  echo '            <answer-path-pattern>tests/%02d.a</answer-path-pattern>'
  echo '            <tests>'
  # A group's points stand on its first test: a complete group scores their sum.
  previous=''
  while read -r test group call; do
    points=0
    [ "$group" = "$previous" ] || points=$(points_of "$group")
    previous=$group
    attributes="group=\"$(xml "$group")\""
    if [ -n "$call" ] && [ -n "$generator_source" ]; then
      attributes="cmd=\"$(xml "$call")\" $attributes method=\"generated\""
    else
      attributes="$attributes method=\"manual\""
    fi
    attributes="$attributes points=\"$points\""
    [ "$group" != sample ] || attributes="$attributes sample=\"true\""
    echo "                <test $attributes/>"
  done <"$work/order"
  echo '            </tests>'
  echo '            <groups>'
  while read -r group points; do
    policy='feedback-policy="icpc"'
    [ "$group" != sample ] || policy='feedback-policy="complete"'
    echo "                <group $policy name=\"$(xml "$group")\" points=\"$points\" points-policy=\"complete-group\"/>"
  done <"$work/groups"
  echo '            </groups>'
  echo '        </testset>'
  echo '    </judging>'
  echo '    <files>'
  echo '        <resources/>'
  if [ -n "$generator_source" ]; then
    source=files/$(basename "$generator_source")
    echo '        <executables>'
    echo '            <executable>'
    echo "                <source path=\"$(xml "$source")\"$(language "$source")/>"
    echo '            </executable>'
    echo '        </executables>'
  fi
  echo '    </files>'
  echo '    <assets>'
  if [ -n "$checker" ]; then
    echo '        <checker type="testlib">'
    echo '            <source path="files/check.cpp" type="cpp.g++17"/>'
    echo '            <copy path="check.cpp"/>'
    echo '        </checker>'
  else
    echo '        <checker name="std::wcmp.cpp" type="testlib"/>'
  fi
  echo '        <solutions>'
  tag=''
  for source in "$kattis/$main" "$kattis"/submissions/*/*; do
    [ -f "$source" ] || continue
    if [ -z "$tag" ]; then
      tag=main
    elif [ "$source" = "$kattis/$main" ]; then
      continue
    else
      case $source in
        */accepted/*) tag=accepted ;;
        */wrong_answer/*) tag=wrong-answer ;;
        */time_limit_exceeded/*) tag=time-limit-exceeded ;;
        *) tag=rejected ;;
      esac
    fi
    path=solutions/$(basename "$source")
    echo "            <solution tag=\"$tag\">"
    echo "                <source path=\"$(xml "$path")\"$(language "$path")/>"
    echo '            </solution>'
  done
  echo '        </solutions>'
  echo '    </assets>'
  echo '</problem>'
} >"$polygon/problem.xml"
(cd "$polygon" && "${CMAKE:-cmake}" -E tar cf "../$name.zip" --format=zip -- *)
