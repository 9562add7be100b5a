#include "app/command_line.h"

#include <cstring>

#include "app/interpreter.h"

namespace {

bool onlyWhiteSpace(const char* arg) {
  for (const char* p = arg; *p; ++p)
    if (!isWhiteSpace(*p)) return false;
  return true;
}

// Begins and ends with a double quote and holds none between: the word reader
// takes it exactly as the user meant it.
bool isOneQuotedWord(const char* arg) {
  size_t n = strlen(arg);
  return n >= 2 && arg[0] == '"' && arg[n - 1] == '"' && memchr(arg + 1, '"', n - 2) == nullptr;
}

}  // namespace

bool joinArguments(int count, const char* const* args, std::string* line, int* badArgument,
                   const char** reason) {
  line->clear();
  for (int i = 0; i < count; ++i) {
    const char* arg = args[i];
    // A lone blank command line stays what it is: nothing set, the first
    // required-setting check reports it.
    bool wrap = arg[0] == '\0' || strchr(arg, ' ') != nullptr || isWhiteSpace(arg[0]);
    if (count == 1 && arg[0] != '\0' && onlyWhiteSpace(arg)) wrap = false;
    if (strchr(arg, '"') && !isOneQuotedWord(arg)) {
      // Such a quote would end or open a quoted word in the middle of the
      // argument, and the rest would be read as further commands.
      if (arg[0] == '"' || wrap) {
        *badArgument = i + 1;
        *reason = arg[0] == '"' ? "begins with a double quote but is not one quoted word"
                                : "a double quote cannot stand in an argument with blanks";
        return false;
      }
    } else if (strchr(arg, '"')) {
      wrap = false;  // already one quoted word
    }
    if (i > 0) *line += ' ';
    if (wrap) *line += '"';
    *line += arg;
    if (wrap) *line += '"';
  }
  return true;
}
