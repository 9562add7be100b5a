#include "app/usage.h"

#include <gnu/libc-version.h>
#include <zlib.h>

#include <map>
#include <string>
#include <vector>

#include "app/commands.h"

namespace {

bool finish(FILE* out) { return fflush(out) == 0 && !ferror(out); }

}  // namespace

bool printUsage(FILE* out) {
  fputs("Usage: plotvane -COMMAND [ARGUMENTS] ...\n"
        "       plotvane --help | --version\n"
        "\n"
        "Draws a vertical or horizontal bar chart from commands and writes it as a\n"
        "one-page PDF file. Each command is \"-\" directly followed by its name (in any\n"
        "letter case), then its arguments; option files hold the same commands. A run\n"
        "needs -chart, data (-datum or -dataset), -barcolor and -output.\n"
        "\n"
        "In pipelines, \"-\" as the FILE of -options or -dataset reads standard input\n"
        "(once per run), and \"-output -\" writes the PDF to standard output and the log\n"
        "to standard error.\n"
        "\n"
        "Commands:\n",
        out);
  // Commands sharing a handler are one command under several names.
  struct Line {
    std::string names;
    const char* synopsis;
  };
  int count = 0;
  const CommandInfo* table = commandTable(&count);
  std::vector<Line> lines;
  std::map<CommandHandler, size_t> byHandler;
  for (int i = 0; i < count; ++i) {
    auto it = byHandler.find(table[i].handler);
    if (it != byHandler.end()) {
      lines[it->second].names += std::string(", -") + table[i].name;
    } else {
      byHandler[table[i].handler] = lines.size();
      lines.push_back({std::string("  -") + table[i].name, table[i].synopsis});
    }
  }
  for (const Line& l : lines)
    fprintf(out, "%s%s%s\n", l.names.c_str(), l.synopsis[0] ? " " : "", l.synopsis);
  fputs("\n"
        "Example:\n"
        "  plotvane -chart Bar V -barcolor \"#FF0000\" \"#C00000\" -datum North 12 \\\n"
        "           -datum South 7 -output sales\n"
        "\n"
        "Every command, keyword and file format is described in the manual page\n"
        "(man plotvane) and in the README.\n",
        out);
  return finish(out);
}

bool printVersion(FILE* out) {
  fprintf(out, "plotvane 1.00\nzlib %s\nGNU C library %s\n", zlibVersion(), gnu_get_libc_version());
  return finish(out);
}
