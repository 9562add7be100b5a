#!/bin/sh
# Installs the build into a temporary prefix and checks that the installed
# program works on its own: the manual page and the completion scripts are
# in place, and the quick-start chart and every example in examples/ are
# written with exit code 0.
# Usage: install-check.sh CMAKE BUILD_DIR SOURCE_DIR
set -u
cmake=$1 build=$2 src=$3
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/prefix
failures=0
bad() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$cmake" --install "$build" --prefix "$prefix" >"$tmp/install.log" 2>&1 ||
  { cat "$tmp/install.log"; echo "FAIL: cmake --install"; exit 1; }
bin=$prefix/bin/plotvane
[ -x "$bin" ] || { echo "FAIL: $bin not installed"; exit 1; }
page=$prefix/share/man/man1/plotvane.1
if [ ! -f "$page" ]; then
  bad "manual page not installed at $page"
elif ! cmp -s "$page" "$src/plotvane.1"; then
  bad "installed manual page differs from plotvane.1"
fi

# The completion scripts where bash-completion and zsh look for them.
for pair in "share/bash-completion/completions/plotvane completions/plotvane.bash" \
            "share/zsh/site-functions/_plotvane completions/_plotvane"; do
  set -- $pair
  cmp -s "$prefix/$1" "$src/$2" || bad "completion script not installed as $1"
done

# A PDF as the readers expect it: header, end marker and, when asked and
# qpdf is there, a clean structural check. (The examples' own test reads
# them with every reader, passwords included; here the point is that the
# installed program writes them.)
check_pdf() {  # PDF CASE [qpdf]
  [ -s "$1" ] || { bad "$2: no PDF written"; return; }
  head -c 5 "$1" | grep -q '^%PDF-' || bad "$2: no PDF header"
  tail -c 16 "$1" | grep -q '%%EOF' || bad "$2: no end-of-file marker"
  if [ "${3:-}" = qpdf ] && command -v qpdf >/dev/null 2>&1; then
    qpdf --check "$1" >"$tmp/qpdf.log" 2>&1 || { cat "$tmp/qpdf.log"; bad "$2: qpdf --check"; }
  fi
}

# Run from an empty folder with nothing on the path, so that nothing from
# the build tree can stand in for the installed program.
mkdir "$tmp/run" && cd "$tmp/run" || exit 1
env -i PATH=/usr/bin:/bin "$bin" -chart Bar V -barcolor "#FF0000" "#C00000" \
  -datum North 12 -datum South 7 -headingtitle 18 Helv "#000000" Normal \
  -title Sales -output sales >"$tmp/run.log" 2>&1
rc=$?
[ $rc -eq 0 ] || { cat "$tmp/run.log"; bad "quick-start chart: exit code $rc"; }
check_pdf sales.pdf "quick-start chart" qpdf

# Examples may name their datasets relative to their own folder, so each runs
# in a copy of examples/.
if [ -d "$src/examples" ]; then
  cp -R "$src/examples" "$tmp/examples"
  cd "$tmp/examples" || exit 1
  for opt in *.opt; do
    [ -f "$opt" ] || continue
    name=${opt%.opt}
    env -i PATH=/usr/bin:/bin "$bin" -options "$opt" -output "$tmp/out-$name" >"$tmp/run.log" 2>&1
    rc=$?
    [ $rc -eq 0 ] || { cat "$tmp/run.log"; bad "example $opt: exit code $rc"; }
    check_pdf "$tmp/out-$name.pdf" "example $opt"
  done
fi

[ $failures -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "installed program, manual page and examples all fine"
