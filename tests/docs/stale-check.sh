#!/bin/sh
# The freshness check must notice a reference or manual page that no longer
# matches the tables, and a README without its markers; otherwise the
# freshness test could pass on anything.
# Usage: stale-check.sh GEN_REFERENCE SOURCE_DIR
set -u
gen=$1 src=$2
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
failures=0

expect() {  # CODE CASE
  "$gen" --check "$tmp/root" >"$tmp/out" 2>&1
  rc=$?
  if [ $rc -ne "$1" ]; then
    cat "$tmp/out"
    echo "FAIL: $2: exit code $rc, expected $1"
    failures=$((failures + 1))
  fi
}
fresh() {
  rm -rf "$tmp/root" && mkdir "$tmp/root"
  cp "$src/README.md" "$src/plotvane.1" "$tmp/root/"
}

fresh; expect 0 "the committed files"
fresh; sed 's/Sets the owner password/Sets an owner password/' "$src/README.md" >"$tmp/root/README.md"
expect 1 "a changed line in the README reference"
fresh; sed 's/^\\fBTop\\fR \\(em T$/\\fBTop\\fR/' "$src/plotvane.1" >"$tmp/root/plotvane.1"
cmp -s "$src/plotvane.1" "$tmp/root/plotvane.1" && { echo "FAIL: the manual page edit did not apply"; failures=$((failures + 1)); }
expect 1 "a lost alias in the manual page"
fresh; rm "$tmp/root/plotvane.1"
expect 1 "a missing manual page"
fresh; grep -v '^<!-- end of command reference -->$' "$src/README.md" >"$tmp/root/README.md"
expect 2 "a README without its end marker"

# --write repairs what --check found.
fresh; printf 'stale\n' >"$tmp/root/plotvane.1"
"$gen" --write "$tmp/root" >/dev/null 2>&1 || { echo "FAIL: --write"; failures=$((failures + 1)); }
expect 0 "after --write"

[ $failures -eq 0 ] || exit 1
echo "the freshness check notices every stale case"
