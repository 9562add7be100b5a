#include "app/interpreter.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/commands.h"
#include "app/log.h"
#include "app/platform.h"
#include "app/standard_streams.h"
#include "app/utf8.h"

const char* skipWhiteSpace(const char* text) {
  while (isWhiteSpace(*text)) ++text;
  return text;
}

const char* readWord(const char* text, char* dest, int limit, WordStatus* status) {
  const char* p = skipWhiteSpace(text);
  const char* begin;
  const char* end;
  if (*p == '"') {
    begin = ++p;
    while (*p != '\0' && *p != '"') ++p;
    end = p;
    if (*p == '"') ++p;
  } else {
    begin = p;
    while (*p != '\0' && *p != ' ') ++p;
    end = p;
  }
  long length = end - begin;
  if (length == 0) {
    dest[0] = '\0';
    *status = WordStatus::Missing;
  } else if (length > limit) {
    strcpy(dest, kTooLongMarker);
    *status = WordStatus::TooLong;
  } else {
    memcpy(dest, begin, static_cast<size_t>(length));
    dest[length] = '\0';
    *status = WordStatus::Ok;
  }
  return p;
}

const char* readInteger(const char* text, int* value) {
  const char* p = skipWhiteSpace(text);
  bool negative = false;
  if (*p == '-') {
    negative = true;
    ++p;
  }
  long long v = 0;
  while (*p != '\0' && *p != ' ') {
    if (*p < '0' || *p > '9') {
      *value = -1;
      return p;
    }
    if (v <= INT_MAX) v = v * 10 + (*p - '0');
    ++p;
  }
  if (v > INT_MAX) v = INT_MAX;
  *value = static_cast<int>(negative ? -v : v);
  return p;
}

namespace {

constexpr int kMaxNumberRun = 15;

bool isRealChar(char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'; }
bool isComponentChar(char c) { return (c >= '0' && c <= '9') || c == '.'; }

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// atoi without its undefined behaviour on overflow: saturates at INT_MAX.
int digitsValue(const char* digits) {
  long long v = 0;
  for (const char* p = digits; *p >= '0' && *p <= '9'; ++p) {
    v = v * 10 + (*p - '0');
    if (v > INT_MAX) return INT_MAX;
  }
  return static_cast<int>(v);
}

}  // namespace

const char* readReal(const char* text, double* value, bool* ok, bool* hadPoint) {
  const char* p = skipWhiteSpace(text);
  char run[kMaxNumberRun + 1];
  int n = 0;
  while (n < kMaxNumberRun && isRealChar(*p)) run[n++] = *p++;
  run[n] = '\0';
  if (hadPoint) *hadPoint = memchr(run, '.', static_cast<size_t>(n)) != nullptr;
  if (*p != '\0' && !isWhiteSpace(*p)) {
    *ok = false;
    return p;
  }
  if (*p != '\0') ++p;
  *value = atof(run);
  *ok = true;
  return p;
}

const char* readColor(const char* text, RgbColor* color) {
  const char* p = skipWhiteSpace(text);
  if (*p == '#') {
    ++p;
    int digits[6];
    for (int i = 0; i < 6; ++i) {
      digits[i] = hexValue(*p);
      if (digits[i] < 0) {
        // Left unchanged; continue after the offending character, but never
        // beyond the end of the text.
        if (*p != '\0') ++p;
        return p;
      }
      ++p;
    }
    color->red = (digits[0] * 16 + digits[1]) / 255.0;
    color->green = (digits[2] * 16 + digits[3]) / 255.0;
    color->blue = (digits[4] * 16 + digits[5]) / 255.0;
    return p;
  }
  // Components missing at the end of the text read as empty, so as 0.
  double parts[3];
  for (int i = 0; i < 3; ++i) {
    char run[kMaxNumberRun + 1];
    int n = 0;
    while (n < kMaxNumberRun && isComponentChar(*p)) run[n++] = *p++;
    run[n] = '\0';
    if (*p != '\0' && !isWhiteSpace(*p)) return p;  // left unchanged
    if (*p != '\0') ++p;
    if (strchr(run, '.'))
      parts[i] = atof(run);
    else
      parts[i] = digitsValue(run) * (1.0 / 255.0);
  }
  color->red = parts[0];
  color->green = parts[1];
  color->blue = parts[2];
  return p;
}

const char* readKeyword(const char* text, const KeywordEntry* table, int limit, int* value,
                        WordStatus* status) {
  char word[64];
  if (limit > static_cast<int>(sizeof word) - 1) limit = sizeof word - 1;
  const char* p = readWord(text, word, limit, status);
  *value = *status == WordStatus::Ok ? lookupKeyword(table, word) : kKeywordNotFound;
  return p;
}

const char* readRequiredWord(const char* text, char* dest, int limit, const char* display,
                             const char* missing, const char* tooLong) {
  WordStatus st;
  const char* p = readWord(text, dest, limit, &st);
  if (st == WordStatus::Missing) {
    logLine("ERROR: %s - %s", display, missing);
    return nullptr;
  }
  if (st == WordStatus::TooLong) {
    logLine("ERROR: %s - %s", display, tooLong);
    return nullptr;
  }
  return p;
}

const char* readRequiredText(const char* text, char* dest, int limit, const char* display,
                             const char* missing, const char* tooLong) {
  chartSettings.textGiven = 1;
  if (chartSettings.textEncoding != Utf8Text)
    return readRequiredWord(text, dest, limit, display, missing, tooLong);
  // More bytes than four per character cannot fit; fewer may still be too
  // many characters.
  const char* p = readRequiredWord(text, dest, 4 * limit, display, missing, tooLong);
  if (!p) return nullptr;
  size_t length = strlen(dest);
  if (!utf8IsValid(dest, length)) {
    logLine("ERROR: %s - not valid UTF-8", display);
    return nullptr;
  }
  if (utf8CharCount(dest, length) > static_cast<size_t>(limit)) {
    strcpy(dest, kTooLongMarker);
    logLine("ERROR: %s - %s", display, tooLong);
    return nullptr;
  }
  return p;
}

const char* readRequiredKeyword(const char* text, const KeywordEntry* table, int limit, int* value,
                                const char* display, const char* missing, const char* tooLong,
                                const char* unknown) {
  WordStatus st;
  const char* p = readKeyword(text, table, limit, value, &st);
  if (st == WordStatus::Missing) {
    logLine("ERROR: %s - %s", display, missing);
    return nullptr;
  }
  if (st == WordStatus::TooLong) {
    logLine("ERROR: %s - %s", display, tooLong);
    return nullptr;
  }
  if (unknown && *value == kKeywordNotFound) {
    logLine("ERROR: %s - %s", display, unknown);
    return nullptr;
  }
  return p;
}

bool colorIsValid(const RgbColor& c) {
  return c.red >= 0.0 && c.red <= 1.0 && c.green >= 0.0 && c.green <= 1.0 && c.blue >= 0.0 &&
         c.blue <= 1.0;
}

int interpretCommands(const char* text) {
  const char* p = text;
  for (;;) {
    p = skipWhiteSpace(p);
    if (*p == '\0' || *p == ';') return 0;
    if (*p != '-') {
      logLine("ERROR: No command character [%.200s]", p);
      return 1;
    }
    const char* name = ++p;
    while (*p != '\0' && !isWhiteSpace(*p)) ++p;
    int length = static_cast<int>(p - name);
    if (*p != '\0') ++p;
    const CommandInfo* command = findCommand(name, length);
    if (!command) {
      logLine("ERROR: Unknown command [%.*s]", length < 200 ? length : 200, name);
      return 1;
    }
    p = command->handler(p);
    if (!p) return 1;
  }
}

namespace {

// An option file that names itself, directly or through others, would
// otherwise recurse until the stack runs out.
constexpr int kMaxOptionsNesting = 32;
int optionsNesting = 0;

constexpr int kOptionsPiece = 499;

// Trims the one line-break character a piece may end with.
void trimPiece(char* line) {
  size_t n = strlen(line);
  if (n > 0 && isWhiteSpace(line[n - 1])) line[n - 1] = '\0';
}

}  // namespace

const char* cmdOptions(const char* a) {
  char path[kMaxPath + 1];
  const char* p = readRequiredWord(a, path, kMaxPath, "Options", "no filename", "filename too long");
  if (!p) return nullptr;
  if (optionsNesting >= kMaxOptionsNesting) {
    logLine("ERROR: Options - nesting too deep [%s]", path);
    return nullptr;
  }
  FILE* f = openInputFile(path, "Options");
  if (!f) return nullptr;
  ++optionsNesting;
  bool failed = false;
  char line[kOptionsPiece + 1];
  while (readTextPiece(f, line, kOptionsPiece)) {
    trimPiece(line);
    if (interpretCommands(line) != 0) {
      failed = true;
      break;
    }
  }
  // A read error is not the end of the file: the rest of the file would be
  // silently skipped.
  if (!failed && ferror(f)) {
    logLine("ERROR: Options - could not open [%s], error=%d", path, errno);
    failed = true;
  }
  --optionsNesting;
  closeInputFile(f);
  return failed ? nullptr : p;
}
