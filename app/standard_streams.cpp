#include "app/standard_streams.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/interpreter.h"
#include "app/log.h"
#include "app/platform.h"
#include "app/settings.h"

bool isStandardStreamName(const char* path) { return std::strcmp(path, "-") == 0; }

FILE* openInputFile(const char* path, const char* display) {
  if (!isStandardStreamName(path)) {
    FILE* f = openTextFile(path);
    if (!f) logLine("ERROR: %s - could not open [%s], error=%d", display, path, errno);
    return f;
  }
  if (chartSettings.standardInputUsed) {
    logLine("ERROR: %s - standard input can be read only once", display);
    return nullptr;
  }
  // A closed standard input, or a folder given as one, is reported as a file
  // that cannot be opened would be.
  struct stat st;
  int error = 0;
  if (fstat(STDIN_FILENO, &st) != 0)
    error = errno;
  else if (S_ISDIR(st.st_mode))
    error = EISDIR;
  if (error != 0) {
    logLine("ERROR: %s - could not open [%s], error=%d", display, path, error);
    return nullptr;
  }
  chartSettings.standardInputUsed = 1;
  skipByteOrderMark(stdin);
  return stdin;
}

void closeInputFile(FILE* file) {
  if (file && file != stdin) fclose(file);
}

namespace {

bool isOutputCommand(const char* name, size_t length) {
  static const char kName[] = "output";
  if (length != sizeof kName - 1) return false;
  for (size_t i = 0; i < length; ++i) {
    char c = name[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != kName[i]) return false;
  }
  return true;
}

}  // namespace

bool commandLineWritesToStandardOutput(const char* commandLine) {
  // Words as the readers see them: quoted words run to the closing quote.
  const char* p = commandLine;
  for (;;) {
    p = skipWhiteSpace(p);
    if (*p == '\0') return false;
    if (*p == '-') {
      const char* name = ++p;
      while (*p != '\0' && !isWhiteSpace(*p)) ++p;
      if (isOutputCommand(name, static_cast<size_t>(p - name)) && *p != '\0') {
        char word[kMaxPath + 1];
        WordStatus status;
        const char* after = readWord(p + 1, word, kMaxPath, &status);
        if (status == WordStatus::Ok && isStandardStreamName(word)) return true;
        p = after;
      }
      continue;
    }
    if (*p == '"') {
      ++p;
      while (*p != '\0' && *p != '"') ++p;
      if (*p == '"') ++p;
      continue;
    }
    while (*p != '\0' && !isWhiteSpace(*p)) ++p;
  }
}
