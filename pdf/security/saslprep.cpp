#include "pdf/security/saslprep.h"

#include <cstdint>

namespace {

// Decodes one UTF-8 sequence at text[*at]; -1 for a malformed, overlong or
// surrogate sequence or one beyond U+10FFFF.
int32_t decodeUtf8(const std::string& text, size_t* at) {
  const unsigned char lead = static_cast<unsigned char>(text[*at]);
  int extra;
  int32_t cp;
  if (lead < 0x80) {
    ++*at;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    cp = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    cp = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    cp = lead & 0x07;
  } else {
    return -1;
  }
  if (*at + extra >= text.size()) return -1;
  for (int k = 1; k <= extra; k++) {
    const unsigned char c = static_cast<unsigned char>(text[*at + k]);
    if ((c & 0xC0) != 0x80) return -1;
    cp = (cp << 6) | (c & 0x3F);
  }
  static const int32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
  if (cp < kSmallest[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return -1;
  *at += extra + 1;
  return cp;
}

void encodeUtf8(int32_t cp, std::string* out) {
  if (cp < 0x80) {
    *out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    *out += static_cast<char>(0xC0 | (cp >> 6));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    *out += static_cast<char>(0xE0 | (cp >> 12));
    *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (cp >> 18));
    *out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

struct Range {
  int32_t first, last;
};

bool inRanges(int32_t cp, const Range* ranges, size_t count) {
  for (size_t k = 0; k < count; k++)
    if (cp >= ranges[k].first && cp <= ranges[k].last) return true;
  return false;
}

// Commonly mapped to nothing (stringprep table B.1).
const Range kMapToNothing[] = {{0x00AD, 0x00AD}, {0x034F, 0x034F}, {0x1806, 0x1806},
                               {0x180B, 0x180D}, {0x200B, 0x200D}, {0x2060, 0x2060},
                               {0xFE00, 0xFE0F}, {0xFEFF, 0xFEFF}};

// Non-ASCII spaces (C.1.2), mapped to the space.
const Range kSpaces[] = {{0x00A0, 0x00A0}, {0x1680, 0x1680}, {0x2000, 0x200A},
                         {0x202F, 0x202F}, {0x205F, 0x205F}, {0x3000, 0x3000}};

// Prohibited output: controls (C.2.1, C.2.2), private use (C.3), non-characters
// (C.4; the last two code points of every plane are tested apart), characters
// inappropriate for plain text or display (C.6, C.7, C.8) and tags (C.9).
const Range kProhibited[] = {
    {0x0000, 0x001F},   {0x007F, 0x009F},   {0x0340, 0x0341},   {0x06DD, 0x06DD},
    {0x070F, 0x070F},   {0x180E, 0x180E},   {0x200C, 0x200F},   {0x2028, 0x202E},
    {0x2060, 0x2063},   {0x206A, 0x206F},   {0x2FF0, 0x2FFB},   {0xE000, 0xF8FF},
    {0xFDD0, 0xFDEF},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFD},   {0x1D173, 0x1D17A},
    {0xE0001, 0xE0001}, {0xE0020, 0xE007F}, {0xF0000, 0xFFFFD}, {0x100000, 0x10FFFD}};

template <size_t N>
bool inTable(int32_t cp, const Range (&table)[N]) {
  return inRanges(cp, table, N);
}

}  // namespace

const char* SaslPrep(const std::string& text, std::string* prepared) {
  std::string out;
  size_t at = 0;
  while (at < text.size()) {
    int32_t cp = decodeUtf8(text, &at);
    if (cp < 0) return "password is not valid UTF-8";
    if (inTable(cp, kMapToNothing)) continue;
    if (inTable(cp, kSpaces)) cp = 0x20;
    if (inTable(cp, kProhibited) || (cp & 0xFFFE) == 0xFFFE)
      return "password holds a character that passwords must not contain";
    encodeUtf8(cp, &out);
  }
  *prepared = out;
  return nullptr;
}
