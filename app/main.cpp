// Entry: rebuilds the one command-line text the command language is defined
// on from argv, and refuses arguments that could not arrive as typed.
#include <strings.h>

#include <cstring>
#include <string>

#include "app/command_line.h"
#include "app/log.h"
#include "app/platform.h"
#include "app/run.h"
#include "app/usage.h"

int main(int argc, char** argv) {
  prepareProcess();
  // The answers every command-line tool gives; the command language has no
  // such words, so nothing else changes meaning.
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) return printUsage(stdout) ? 0 : 1;
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) return printVersion(stdout) ? 0 : 1;
  std::string line;
  int bad = 0;
  const char* reason = "";
  if (!joinArguments(argc - 1, argv + 1, &line, &bad, &reason)) {
    // Nothing is interpreted: a misread argument could name another output
    // file or drop a password. Standard output may still be the PDF's.
    for (int i = 1; i + 1 < argc; ++i)
      if (strcasecmp(argv[i], "-output") == 0 && std::strcmp(argv[i + 1], "-") == 0)
        setLogConsole(LogConsole::Error);
    logLine("ERROR: Argument %d - %s", bad, reason);
    logLine("Finished");
    return 1;
  }
  return plotvaneEntry(line.c_str());
}
