#!/bin/sh
# Writes the fence task's Kattis-format test package into <package-dir>: a test
# set made by quillot-gen from fixed sizes and seeds, quillot-validate as its
# input validator, quillot-gen as its generator with the generators.yaml that
# made the tests. The question is the jury's: given their <solution> (a program
# that reads a test on standard input and writes its answer), it writes the
# answer files and puts the solution among the accepted submissions, and
# writes the same task for CMS and Polygon beside the package, its time limit
# from the solution's runs (hosting/make-hosting-packages.py); without it,
# README.md in the package lists what the jury must add. Either way the
# package is also written in the 2025-09 format.
# Usage: generator/package/make-fence-package.sh [--allow-shared] <build-dir> <package-dir> [<solution>]
set -eu
shared=no
if [ "${1-}" = --allow-shared ]; then
  shared=yes
  shift
fi
[ $# -eq 2 ] || [ $# -eq 3 ] || {
  echo "usage: $0 [--allow-shared] <build-dir> <package-dir> [<solution>]" >&2
  exit 2
}
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "$1" && pwd)/generator
out=$2
solution=${3-}

hosting=$(mktemp -d)
trap 'rm -rf "$hosting"' EXIT
rm -rf "$out"
mkdir -p "$out/problem_statement" "$out/data/sample" "$out/data/secret" "$out/generators"
cp "$here/problem.yaml" "$out/"
cp "$here/problem.en.tex" "$out/problem_statement/"

# A program as the format's folder: the program itself and a build script that
# copies it to run. The programs are linked statically, so that they run on a
# judging machine without CGAL or GMP; a shared build is refused unless asked
# for (the suite's sanitizer build).
program() {
  if [ "$shared" = no ] && ldd "$2" >/dev/null 2>&1; then
    echo "$2 is linked with shared libraries: configure with -DSTATIC=ON and without sanitizers" >&2
    exit 1
  fi
  mkdir -p "$1"
  cp "$2" "$1/"
  printf '#!/bin/sh\ncp %s run\n' "$(basename "$2")" >"$1/build"
  chmod +x "$1/build"
}
program "$out/input_validators/quillot-validate" "$bin/quillot-validate"
program "$out/generators/quillot-gen" "$bin/quillot-gen"

# The sample, then one secret test a line: its name and quillot-gen's <N> <seed>,
# both variants from the smallest fence to the largest, every seed its own.
"$bin/quillot-gen" 12 7 >"$out/data/sample/1.in"
echo "1 sample gen 12 7" >"$hosting/tests"
{
  printf '# How data/ was made: quillot-gen <N> <seed>, with fixed seeds.\n'
  printf 'data:\n  sample:\n    type: directory\n    data:\n      "1": quillot-gen 12 7\n'
  printf '  secret:\n    type: directory\n    data:\n'
} >"$out/generators/generators.yaml"
number=0
while read -r name size seed; do
  number=$((number + 1))
  "$bin/quillot-gen" "$size" "$seed" >"$out/data/secret/$(printf %02d "$number")-$name.in"
  printf '      - %s: quillot-gen %s %s\n' "$name" "$size" "$seed" >>"$out/generators/generators.yaml"
  echo "$(printf %02d "$number")-$name secret gen $size $seed" >>"$hosting/tests"
done <<'EOF'
smallest-tent 4 1
smallest-rectangle 5 2
tent-12 12 3
rectangle-13 13 4
tent-100 100 5
rectangle-101 101 6
tent-300 300 7
rectangle-301 301 8
tent-1000 1000 9
rectangle-3001 3001 10
tent-10000 10000 11
rectangle-15001 15001 12
tent-29996 29996 13
rectangle-29997 29997 14
largest-tent 30000 15
largest-rectangle 29999 16
EOF

if [ -n "$solution" ]; then
  for test in "$out"/data/*/*.in; do
    "$solution" <"$test" >"${test%.in}.ans"
  done
  program "$out/submissions/accepted/solution" "$solution"
  # One group of every secret test, pass or fail as the Kattis package judges;
  # the answers are compared token by token.
  echo "secret 100 every test of the set" >"$hosting/groups"
  "$here/../../hosting/make-hosting-packages.py" --tests "$hosting/tests" --groups "$hosting/groups" \
    --model "$solution" --main "submissions/accepted/solution/$(basename "$solution")" --generator quillot-gen "$out"
  todo='- the question and the form of the answer, in problem_statement/problem.en.tex
  (statement/ in the 2025-09 package);
- an output validator in output_validators/ (and validation: custom in
  problem.yaml; output_validator/ in the 2025-09 package) if answers are not
  compared token by token.'
else
  # Without answers the 2025-09 layout alone: no CMS or Polygon package, and
  # none of an earlier solution stays.
  "$here/../../hosting/make-hosting-packages.py" "$out"
  todo='- the question and the form of the answer, in problem_statement/problem.en.tex
  (statement/ in the 2025-09 package);
- the answer of every test, data/sample/*.ans and data/secret/*.ans beside the
  .in files: run generator/package/make-fence-package.sh again with the solution
  (cmake -DFENCE_SOLUTION=/path/to/solution, then the target packages);
- that solution in submissions/accepted/;
- an output validator in output_validators/ (and validation: custom in
  problem.yaml; output_validator/ in the 2025-09 package) if answers are not
  compared token by token.'
fi
cat >"$out/README.md" <<EOF
# The fence task's package

The tests in data/ are quillot-gen's, made by the commands of
generators/generators.yaml; input_validators/quillot-validate judges every test.
Both programs are statically linked x86-64 Linux binaries behind a build script
that copies them.

The jury must add:

$todo
EOF
