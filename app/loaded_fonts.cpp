#include "app/loaded_fonts.h"

#include <strings.h>

#include <memory>
#include <string>
#include <vector>

#include "app/settings.h"
#include "pdf/font/pdf_font_program.h"

namespace {

struct LoadedFont {
  std::string name;
  std::unique_ptr<PdfFontProgram> program;
};

std::vector<LoadedFont>& fonts() {
  static std::vector<LoadedFont> list;
  return list;
}

const LoadedFont* byValue(int font) {
  int index = font - kFirstLoadedFont;
  if (index < 0 || index >= static_cast<int>(fonts().size())) return nullptr;
  return &fonts()[static_cast<size_t>(index)];
}

}  // namespace

int loadedFontCount() { return static_cast<int>(fonts().size()); }

int findLoadedFont(const char* name) {
  for (size_t i = 0; i < fonts().size(); ++i)
    if (strcasecmp(fonts()[i].name.c_str(), name) == 0) return kFirstLoadedFont + static_cast<int>(i);
  return 0;
}

int addLoadedFont(const char* name, PdfFontProgram* program) {
  fonts().push_back(LoadedFont{name, std::unique_ptr<PdfFontProgram>(program)});
  return kFirstLoadedFont + static_cast<int>(fonts().size()) - 1;
}

const char* loadedFontName(int font) {
  const LoadedFont* f = byValue(font);
  return f ? f->name.c_str() : nullptr;
}

const PdfFontProgram* loadedFontProgram(int font) {
  const LoadedFont* f = byValue(font);
  return f ? f->program.get() : nullptr;
}

void clearLoadedFonts() { fonts().clear(); }

const char* fontSpecName(int font) {
  const char* name = standardFontName(font);
  return name ? name : loadedFontName(font);
}
