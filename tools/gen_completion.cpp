// Writes the bash and zsh completion scripts from the program's own command
// and keyword tables, so that completion offers exactly what the interpreter
// accepts: command names after "-", keywords where a keyword argument is due,
// file names where a file is due.
//
//   gen_completion --bash              bash script to standard output
//   gen_completion --zsh               zsh script to standard output
//   gen_completion --write ROOT        updates ROOT/completions/plotvane.bash and _plotvane
//   gen_completion --check ROOT        exit 1 when either file is out of date
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/commands.h"
#include "tools/generated_file.h"

namespace {

const char kBashFile[] = "completions/plotvane.bash";
const char kZshFile[] = "completions/_plotvane";

bool fail(const std::string& message) {
  fprintf(stderr, "gen_completion: %s\n", message.c_str());
  return false;
}

std::string lower(const std::string& s) {
  std::string r;
  for (char c : s) r += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return r;
}

// A keyword table's key: its title in lower case without spaces.
std::string tableKey(const char* title) {
  std::string r;
  for (char c : lower(title))
    if (c != ' ') r += c;
  return r;
}

struct Tables {
  std::vector<std::string> commands;                        // "-name", in table order
  std::map<std::string, std::vector<std::string>> byKinds;  // argument kinds -> lower-case names
  std::map<std::string, std::string> keywords;              // table key -> names, space-separated
};

// Every argument kind must be a basic kind or a keyword table, and every
// command with arguments must list their kinds, so that a new command or
// table cannot silently go without completion.
bool collect(Tables* t) {
  int tableCount = 0;
  const KeywordTableInfo* tables = keywordTables(&tableCount);
  for (int i = 0; i < tableCount; ++i) {
    std::string names;
    for (int k = 0; k < tables[i].count; ++k)
      names += (k ? " " : "") + std::string(tables[i].entries[k].name);
    t->keywords[tableKey(tables[i].title)] = names;
  }
  const std::set<std::string> basic = {"file", "text", "number", "color", "font"};
  int count = 0;
  const CommandInfo* table = commandTable(&count);
  for (int i = 0; i < count; ++i) {
    const CommandInfo& c = table[i];
    t->commands.push_back(std::string("-") + c.name);
    if (c.synopsis[0] && !c.arguments)
      return fail(std::string("command \"") + c.name + "\" has arguments but no argument kinds");
    if (!c.arguments) continue;
    std::istringstream words(c.arguments);
    std::string kind;
    while (words >> kind)
      if (!basic.count(kind) && !t->keywords.count(kind))
        return fail(std::string("command \"") + c.name + "\": unknown argument kind \"" + kind + "\"");
    t->byKinds[c.arguments].push_back(lower(c.name));
  }
  return true;
}

std::string join(const std::vector<std::string>& v, const char* sep) {
  std::string r;
  for (size_t i = 0; i < v.size(); ++i) r += (i ? sep : "") + v[i];
  return r;
}

// The functions both shells share: the argument kinds of a command, named in
// lower case without its "-", and the keywords of a table.
std::string sharedFunctions(const Tables& t) {
  std::ostringstream o;
  o << "_plotvane_kinds() {\n  case $1 in\n";
  for (const auto& k : t.byKinds) o << "    " << join(k.second, "|") << ") echo " << k.first << " ;;\n";
  o << "  esac\n}\n\n";
  o << "_plotvane_keywords() {\n  case $1 in\n";
  for (const auto& k : t.keywords) o << "    " << k.first << ") echo '" << k.second << "' ;;\n";
  o << "  esac\n}\n";
  return o.str();
}

const char kBashWalk[] = R"sh(
# Walks the words before the one being completed and leaves in _plotvane_due
# the kinds of the arguments still due for the last command: a colour takes
# one "#RRGGBB" word or three components, a font description takes size,
# font, colour and style, and a stroke colour after the style Stroke.
_plotvane_walk() {
  local i w kind
  _plotvane_due=()
  for ((i = 1; i < COMP_CWORD; i++)); do
    w=${COMP_WORDS[i]}
    w=${w#[\"\'\\]}
    if ((${#_plotvane_due[@]} == 0)); then
      w=${w,,}
      [[ $w == -* ]] && _plotvane_due=($(_plotvane_kinds "${w#-}"))
      continue
    fi
    kind=${_plotvane_due[0]}
    _plotvane_due=("${_plotvane_due[@]:1}")
    case $kind in
      color) [[ $w == \#* ]] || _plotvane_due=(number number "${_plotvane_due[@]}") ;;
      font) _plotvane_due=(fontname color textstyle "${_plotvane_due[@]}") ;;
      textstyle) [[ ${w,,} == stroke ]] && _plotvane_due=(color "${_plotvane_due[@]}") ;;
    esac
  done
}

_plotvane() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  COMPREPLY=()
  _plotvane_walk
  local kind=${_plotvane_due[0]-}
  case $kind in
    '')
      local names=$_plotvane_commands
      ((COMP_CWORD == 1)) && names+=" --help --version"
      COMPREPLY=($(compgen -W "$names" -- "$cur"))
      ;;
    file)
      if declare -F _filedir >/dev/null; then
        _filedir
      else
        compopt -o filenames 2>/dev/null
        COMPREPLY=($(compgen -f -- "$cur"))
      fi
      ;;
    text | number | color | font) ;;
    *) COMPREPLY=($(compgen -W "$(_plotvane_keywords "$kind")" -- "$cur")) ;;
  esac
}
complete -F _plotvane plotvane
)sh";

bool bash(std::string* out) {
  Tables t;
  if (!collect(&t)) return false;
  std::ostringstream o;
  o << "# bash completion for plotvane. Generated by tools/gen_completion from the\n"
       "# command and keyword tables; do not edit.\n\n"
       "_plotvane_commands='"
    << join(t.commands, " ") << "'\n\n";
  o << sharedFunctions(t);
  o << kBashWalk;
  *out = o.str();
  return true;
}

const char kZshWalk[] = R"sh(
# Walks the words before the one being completed and leaves in due the kinds
# of the arguments still due for the last command: a colour takes one
# "#RRGGBB" word or three components, a font description takes size, font,
# colour and style, and a stroke colour after the style Stroke.
local -a due
local i w kind
for ((i = 2; i < CURRENT; i++)); do
  w=${(Q)words[i]}
  if ((${#due} == 0)); then
    [[ $w == -* ]] && due=(${=$(_plotvane_kinds ${${w#-}:l})})
    continue
  fi
  kind=${due[1]}
  shift due
  case $kind in
    color) [[ $w == \#* ]] || due=(number number $due) ;;
    font) due=(fontname color textstyle $due) ;;
    textstyle) [[ ${w:l} == stroke ]] && due=(color $due) ;;
  esac
done

kind=${due[1]-}
case $kind in
  '')
    local -a names
    names=(${=_plotvane_commands})
    ((CURRENT == 2)) && names+=(--help --version)
    compadd -- $names
    ;;
  file) _files ;;
  text | number | color | font) _message -e arguments "${kind}" ;;
  *) compadd -- ${=$(_plotvane_keywords $kind)} ;;
esac
)sh";

bool zsh(std::string* out) {
  Tables t;
  if (!collect(&t)) return false;
  std::ostringstream o;
  o << "#compdef plotvane\n"
       "# zsh completion for plotvane. Generated by tools/gen_completion from the\n"
       "# command and keyword tables; do not edit.\n\n"
       "_plotvane_commands='"
    << join(t.commands, " ") << "'\n\n";
  o << sharedFunctions(t);
  o << kZshWalk;
  *out = o.str();
  return true;
}

bool readFile(const std::string& path, std::string* out) {
  return readWholeFile(path, out);
}

bool writeFile(const std::string& path, const std::string& text) {
  return writeWholeFile(path, text) || fail("cannot write " + path);
}

int update(const std::string& root, bool write) {
  std::string b, z;
  if (!bash(&b) || !zsh(&z)) return 2;
  int stale = 0;
  for (const auto& f : {std::make_pair(kBashFile, &b), std::make_pair(kZshFile, &z)}) {
    std::string path = root + "/" + f.first, old;
    bool present = readFile(path, &old);
    if (present && old == *f.second) continue;
    if (write) {
      if (!writeFile(path, *f.second)) return 2;
      continue;
    }
    fprintf(stderr, "%s is out of date\n", f.first);
    stale = 1;
  }
  if (stale) fprintf(stderr, "regenerate with: gen_completion --write %s\n", root.c_str());
  return stale;
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  std::string text;
  if ((mode == "--bash" || mode == "--zsh") && argc == 2) {
    if (!(mode == "--bash" ? bash(&text) : zsh(&text))) return 2;
    fputs(text.c_str(), stdout);
    return 0;
  }
  if ((mode == "--write" || mode == "--check") && argc == 3) return update(argv[2], mode == "--write");
  fprintf(stderr, "usage: gen_completion --bash | --zsh | --write ROOT | --check ROOT\n");
  return 2;
}
