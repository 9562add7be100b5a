// Entry: rebuilds the one command-line text the command language is defined
// on from argv, and refuses arguments that could not arrive as typed.
#include <string>

#include "app/command_line.h"
#include "app/log.h"
#include "app/platform.h"
#include "app/run.h"

int main(int argc, char** argv) {
  prepareProcess();
  std::string line;
  int bad = 0;
  const char* reason = "";
  if (!joinArguments(argc - 1, argv + 1, &line, &bad, &reason)) {
    // Nothing is interpreted: a misread argument could name another output
    // file or drop a password.
    logLine("ERROR: Argument %d - %s", bad, reason);
    logLine("Finished");
    return 1;
  }
  return plotvaneEntry(line.c_str());
}
