#include "chart/font_codes.h"

#include <cstdio>
#include <cstring>

#include "app/settings.h"
#include "app/utf8.h"
#include "pdf/font/pdf_unicode_codes.h"

std::string fontCodes(const char* utf8, int font) {
  std::string codes;
  const char* p = utf8;
  const char* end = utf8 + std::strlen(utf8);
  codes.reserve(static_cast<size_t>(end - p));
  while (p < end) {
    int32_t u = utf8Decode(&p, end);
    int code = -1;
    if (u >= 0) {
      if (font == Symbol)
        code = SymbolCodeOf(static_cast<uint32_t>(u));
      else if (font == ZapfDingbats)
        code = ZapfDingbatsCodeOf(static_cast<uint32_t>(u));
      else
        code = WinAnsiCodeOf(static_cast<uint32_t>(u));
    }
    if (code < 0) {
      const char* name = standardFontName(font);
      char head[96];
      std::snprintf(head, sizeof head, "ERROR: character U+%04X of [", static_cast<unsigned>(u < 0 ? 0xFFFD : u));
      throw UnshowableCharacter(std::string(head) + utf8 + "] is not in the font " + (name ? name : "?"));
    }
    codes += static_cast<char>(code);
  }
  return codes;
}
