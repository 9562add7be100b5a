#include "pdf/font/font_locator.h"

#include <strings.h>

#include "pdf/font/font_libraries.h"

namespace {

// Families compare without regard to case or spaces, as fontconfig does.
std::string folded(const char* s) {
  std::string out;
  for (; *s; ++s)
    if (*s != ' ') out += static_cast<char>(*s >= 'A' && *s <= 'Z' ? *s + 32 : *s);
  return out;
}

}  // namespace

bool locateFont(const char* pattern, std::string* file, unsigned* faceIndex) {
  const FontLibraries& fc = FontLibraries::Get();
  FcConfig* config = fc.FcInitLoadConfigAndFonts();
  if (!config) return false;
  bool found = false;
  FcPattern* wanted = fc.FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
  if (wanted) {
    FcChar8* family = nullptr;
    std::string wantedFamily;
    if (fc.FcPatternGetString(wanted, FC_FAMILY, 0, &family) == FcResultMatch)
      wantedFamily = folded(reinterpret_cast<const char*>(family));
    fc.FcConfigSubstitute(config, wanted, FcMatchPattern);
    fc.FcDefaultSubstitute(wanted);
    FcResult result;
    FcPattern* match = fc.FcFontMatch(config, wanted, &result);
    if (match) {
      bool familyMatches = wantedFamily.empty();
      for (int i = 0; !familyMatches && fc.FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i)
        familyMatches = folded(reinterpret_cast<const char*>(family)) == wantedFamily;
      FcChar8* path = nullptr;
      int index = 0;
      if (familyMatches && fc.FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        *file = reinterpret_cast<const char*>(path);
        if (fc.FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
        // Variable fonts number their named instances above 0xFFFF.
        *faceIndex = static_cast<unsigned>(index) & 0xFFFF;
        found = true;
      }
      fc.FcPatternDestroy(match);
    }
    fc.FcPatternDestroy(wanted);
  }
  fc.FcConfigDestroy(config);
  return found;
}
