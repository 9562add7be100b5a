#!/bin/bash
# Loads the committed completion script into a shell and completes command
# names, keywords (after colours in both forms and after font descriptions)
# and file names; for bash also checks that the freshness check notices an
# edited script.
# Usage: completion-check.sh bash|zsh GEN_COMPLETION SOURCE_DIR
set -u
shell=$1 gen=$2 src=$3
tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT
failures=0
bad() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir "$tmp/files" && cd "$tmp/files" || exit 1
touch data.csv dates.txt sales.opt

if [ "$shell" = bash ]; then
  # The candidates bash offers for LINE, which ends where the cursor is.
  candidates() {
    bash --norc --noprofile -c '
      source /usr/share/bash-completion/bash_completion 2>/dev/null
      source "$1" || exit 1
      read -ra COMP_WORDS <<<"$2"
      [[ $2 == *" " ]] && COMP_WORDS+=("")
      COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMP_LINE=$2 COMP_POINT=${#2}
      _plotvane 2>/dev/null
      for c in "${COMPREPLY[@]}"; do echo "$c"; done | sort | tr "\n" " "' _ "$src/completions/plotvane.bash" "$1"
  }
  while IFS='|' read -r line want; do
    got=$(candidates "$line")
    [ "$got" = "$want" ] || bad "[$line]: offered [$got], expected [$want]"
  done <<'EOF'
plotvane -barc|-barcolor -barcolour 
plotvane --h|--help 
plotvane -datum a 1 -outp|-output 
plotvane -chart |Bar 
plotvane -CHART Bar V|V Vert Vertical 
plotvane -headingtitle 18 Helvetica-B|Helvetica-B Helvetica-BO Helvetica-Bold Helvetica-BoldOblique 
plotvane -axesline 1 0 0 0 |F Full XY 
plotvane -axesline 1 "#000000" F|F Full 
plotvane -axescaptionx 10 Helv 0 0 0 Stroke #FF0000 C|C Center Centre 
plotvane -axescaptiony 10 Helv #000000 Normal B|B Bot Bottom 
plotvane -datasort Second D|D Desc Descending 
plotvane -title |
plotvane -dataset da|data.csv dates.txt 
plotvane -options - -output |data.csv dates.txt sales.opt 
EOF

  # The freshness check notices an edited script, and --write repairs it.
  mkdir -p "$tmp/root/completions"
  cp "$src/completions/plotvane.bash" "$src/completions/_plotvane" "$tmp/root/completions/"
  "$gen" --check "$tmp/root" >/dev/null 2>&1 || bad "--check fails on the committed scripts"
  sed -i 's/-barcolour //' "$tmp/root/completions/plotvane.bash"
  "$gen" --check "$tmp/root" >/dev/null 2>&1
  [ $? -eq 1 ] || bad "--check did not notice a command missing from the bash script"
  "$gen" --write "$tmp/root" && "$gen" --check "$tmp/root" || bad "--write did not repair the script"
else
  # An interactive zsh with the completion system, driven through a
  # pseudo-terminal: each line is typed with a TAB and run; plotvane is a
  # function that prints the words it got.
  PV_SRC=$src timeout 300 zsh -f <<'ZSH' || bad "zsh completion"
zmodload zsh/zpty || exit 1
zpty z zsh -f -i
zpty -w z "PS1='> '; fpath=($PV_SRC/completions \$fpath); autoload -Uz compinit; compinit -u -D -d /dev/null"
zpty -w z 'plotvane() { print -r -- "ARGS[$*]" }'
# The quotes keep the echo of the typed line from matching.
zpty -w z "print RE''ADY"
zpty -r -m z out '*READY*' || exit 1
failures=0
check() {  # TYPED WANT
  local out= chunk i
  zpty -w -n z "$1"$'\t'
  sleep 0.3
  zpty -w -n z $'\r'
  for i in {1..200}; do
    zpty -r -t z chunk && out+=$chunk
    [[ $out == *"ARGS[$2]"* ]] && return 0
    sleep 0.05
  done
  print -r -- "FAIL: typed [$1], wanted [$2]"
  failures=$((failures + 1))
}
check 'plotvane -datasor' '-datasort'
check 'plotvane -chart B' '-chart Bar'
check 'plotvane -chart Bar Horiz' '-chart Bar Horizontal'
check 'plotvane -axesline 1 "#000000" X' '-axesline 1 #000000 XY'
check 'plotvane -axesline 1 0 0 0 Fu' '-axesline 1 0 0 0 Full'
check 'plotvane -axescaptionx 8 Helv 0 0 0 Stroke "#FF0000" Ri' '-axescaptionx 8 Helv 0 0 0 Stroke #FF0000 Right'
check 'plotvane -options sal' '-options sales.opt'
zpty -d z
exit $failures
ZSH
fi

[ $failures -eq 0 ] || exit 1
echo "$shell completes command names, keywords and file names"
