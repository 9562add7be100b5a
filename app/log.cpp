#include "app/log.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "app/platform.h"
#include "app/settings.h"

namespace {

LogConsole console = LogConsole::Output;
std::string held;

}  // namespace

void setLogConsole(LogConsole where) {
  console = where;
  if (where == LogConsole::Held || held.empty()) return;
  FILE* f = where == LogConsole::Error ? stderr : stdout;
  fputs(held.c_str(), f);
  fflush(f);
  held.clear();
}

LogConsole logConsole() { return console; }

void logLine(const char* format, ...) {
  char message[1024];
  va_list args;
  va_start(args, format);
  formatBounded(message, sizeof message, format, args);
  va_end(args);

  int h, m, s;
  localTimeOfDay(&h, &m, &s);
  char stamp[32];
  snprintf(stamp, sizeof stamp, "%02d:%02d:%02d ", h, m, s);

  // Opened and closed for every line so that the file is complete at any
  // moment and other processes may read it during the run.
  if (chartSettings.logFile[0] != '\0') {
    FILE* f = fopen(chartSettings.logFile, "a");
    if (f) {
      fprintf(f, "%s%s\n", stamp, message);
      fclose(f);
    }
  }
  if (console == LogConsole::Held) {
    held += stamp;
    held += message;
    held += '\n';
    return;
  }
  FILE* out = console == LogConsole::Error ? stderr : stdout;
  fprintf(out, "%s%s\n", stamp, message);
  fflush(out);
}
