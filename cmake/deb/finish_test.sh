#!/bin/sh
# The finishing of the Debian package (finish.cmake) on a staged tree of its
# own: the manual pages and the changelog compressed with neither name nor
# time, so that two stagings give the same bytes, the copyright file beside
# the changelog, and a static build or a changelog behind the release refused.
# Usage: cmake/deb/finish_test.sh <cmake> <release>
set -eu
here=$(cd "$(dirname "$0")" && pwd)
cmake=$1
release=$2
# shellcheck source=../../testing/package_test.sh
. "$here/../../testing/package_test.sh"

# stage <folder>: a staged package with two manual pages, as the
# installation writes them.
printf '.TH A 1\n' >"$work/a.1"
printf '.TH B 1\n' >"$work/b.1"
stage() {
  mkdir -p "$1/usr/share/man/man1"
  install -m 644 "$work/a.1" "$work/b.1" "$1/usr/share/man/man1"
}
# What the finishing adds is readable by all whatever the umask.
umask 077

# finish <folder> <release> <linked whole>: finish.cmake on the folder.
finish() {
  "$cmake" -DCPACK_TEMPORARY_DIRECTORY="$1" -DCPACK_PACKAGING_INSTALL_PREFIX=/usr \
    -DCPACK_PACKAGE_NAME=contest-tools -DCPACK_PACKAGE_VERSION="$2" -DCPACK_DEB_SOURCE="$here" \
    -DCPACK_DEB_LINKED_WHOLE="$3" -P "$here/finish.cmake" >"$1.log" 2>&1
}

# The refusals: <release> <linked whole> <what the message says>.
while read -r version whole says; do
  stage "$work/refused"
  ! finish "$work/refused" "$version" "$whole" || fail "finish.cmake packed release $version, linked whole: $whole"
  grep -q -- "$says" "$work/refused.log" || fail "finish.cmake did not say '$says': $(cat "$work/refused.log")"
  [ -e "$work/refused/usr/share/man/man1/a.1" ] || fail "a refused staging was changed"
  rm -rf "$work/refused"
done <<LIST
$release ON -DSTATIC=OFF
0.0.1 OFF changelog: its top entry is not of release 0.0.1
LIST

# Two stagings, the second an hour older, finish to the same bytes.
stage "$work/one"
stage "$work/two"
find "$work/two" -exec touch -d '-1 hour' {} +
finish "$work/one" "$release" OFF || fail "finish.cmake failed: $(cat "$work/one.log")"
finish "$work/two" "$release" OFF || fail "finish.cmake failed: $(cat "$work/two.log")"
diff -r "$work/one" "$work/two" >/dev/null || fail "two stagings finish differently"

# Each file: <path> <its content, uncompressed>.
while read -r path content; do
  file=$work/one/$path
  [ -f "$file" ] || fail "$path is missing"
  [ "$(stat -c %a "$file")" = 644 ] || fail "$path has mode $(stat -c %a "$file")"
  case $path in
    *.gz)
      # The gzip header's flags and time: no name, no time.
      [ "$(od -An -tx1 -j3 -N5 "$file" | tr -d ' ')" = 0000000000 ] || fail "$path keeps a name or a time"
      gzip -dc "$file" >"$work/content" ;;
    *) cp "$file" "$work/content" ;;
  esac
  cmp -s "$work/content" "$content" || fail "$path is not $content"
done <<LIST
usr/share/man/man1/a.1.gz $work/a.1
usr/share/man/man1/b.1.gz $work/b.1
usr/share/doc/contest-tools/changelog.gz $here/changelog
usr/share/doc/contest-tools/copyright $here/copyright
LIST
[ "$(stat -c %a "$work/one/usr/share/doc/contest-tools")" = 755 ] || fail "usr/share/doc/contest-tools is not 755"
