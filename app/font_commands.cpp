// "fontfile": loads a TrueType or OpenType font under a name that font
// specifications can then use.
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "app/commands.h"
#include "app/interpreter.h"
#include "app/loaded_fonts.h"
#include "app/log.h"
#include "app/settings.h"
#include "pdf/font/font_locator.h"
#include "pdf/font/pdf_font_program.h"
#include "pdf/pdf_exception.h"

namespace {

ChartSettings& cs = chartSettings;

bool isRegularFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// A file path, a path with a "#N" face suffix, or a fontconfig pattern.
bool resolveFontFile(const char* given, std::string* path, unsigned* face) {
  *path = given;
  *face = 0;
  if (isRegularFile(*path)) return true;
  const char* hash = std::strrchr(given, '#');
  if (hash && hash[1] && std::strspn(hash + 1, "0123456789") == std::strlen(hash + 1) &&
      std::strlen(hash + 1) <= 5) {
    std::string base(given, static_cast<size_t>(hash - given));
    if (isRegularFile(base)) {
      *path = base;
      *face = static_cast<unsigned>(std::atoi(hash + 1));
      return true;
    }
  }
  // A pattern never holds a "/": such a word was meant as a path.
  if (std::strchr(given, '/')) {
    logLine("ERROR: FontFile - cannot open [%s]", given);
    return false;
  }
  if (!locateFont(given, path, face)) {
    logLine("ERROR: FontFile - no installed font matches [%s]", given);
    return false;
  }
  return true;
}

}  // namespace

const char* cmdFontFile(const char* a) {
  // Texts already read were read as bytes; from here on they are UTF-8.
  if (cs.textGiven) {
    logLine("ERROR: FontFile - must come before every text command");
    return nullptr;
  }
  char name[kMaxLoadedFontName + 1];
  const char* p = readRequiredWord(a, name, kMaxLoadedFontName, "FontFile", "no font name", "font name too long");
  if (!p) return nullptr;
  if (lookupKeyword(fontNameKeywords, name) != kKeywordNotFound) {
    logLine("ERROR: FontFile - [%s] is a standard font name", name);
    return nullptr;
  }
  if (findLoadedFont(name)) {
    logLine("ERROR: FontFile - font name [%s] already loaded", name);
    return nullptr;
  }
  if (loadedFontCount() >= kMaxLoadedFonts) {
    logLine("ERROR: FontFile - maximum number of fonts (%d) reached", kMaxLoadedFonts);
    return nullptr;
  }
  char file[kMaxPath + 1];
  p = readRequiredWord(p, file, kMaxPath, "FontFile", "no font file", "font file too long");
  if (!p) return nullptr;
  std::string path;
  unsigned face = 0;
  try {
    if (!resolveFontFile(file, &path, &face)) return nullptr;
    std::unique_ptr<PdfFontProgram> program = PdfFontProgram::Load(path.c_str(), face);
    addLoadedFont(name, program.release());
  } catch (const PdfException& e) {
    logLine("ERROR: FontFile - %s", e.what());
    return nullptr;
  }
  cs.textEncoding = Utf8Text;
  logLine("FontFile - %s is [%s] face %u", name, path.c_str(), face);
  return p;
}
