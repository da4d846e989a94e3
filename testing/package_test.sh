# What the package tests of both families share; sourced, not run, by a test
# that checks a problem package the build writes: a scratch folder removed at
# the exit, failing with a message, and a program built as a judging system
# builds it.
set -eu
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# fail <message...>: the test fails with the message.
fail() {
  echo "$*" >&2
  exit 1
}

# built <program-folder> <name>: builds the package's program folder in a copy
# of it, $work/<name>, with its own build script, which must make run.
built() {
  cp -r "$1" "$work/$2"
  (cd "$work/$2" && ./build) || fail "$1: its build script failed"
  [ -x "$work/$2/run" ] || fail "$1: its build script made no run"
}
