#include "app/utf8.h"

int32_t utf8Decode(const char** p, const char* end) {
  const unsigned char* s = reinterpret_cast<const unsigned char*>(*p);
  const unsigned char* e = reinterpret_cast<const unsigned char*>(end);
  if (s >= e) return -1;
  unsigned char lead = *s;
  int extra;
  uint32_t cp, min;
  if (lead < 0x80) {
    *p += 1;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1, cp = lead & 0x1F, min = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2, cp = lead & 0x0F, min = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3, cp = lead & 0x07, min = 0x10000;
  } else {
    *p += 1;
    return -1;
  }
  if (e - s <= extra) {
    *p += 1;
    return -1;
  }
  for (int i = 1; i <= extra; ++i) {
    if ((s[i] & 0xC0) != 0x80) {
      *p += 1;
      return -1;
    }
    cp = (cp << 6) | (s[i] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    *p += 1;
    return -1;
  }
  *p += extra + 1;
  return static_cast<int32_t>(cp);
}

bool utf8IsValid(const char* text, size_t length) {
  const char* p = text;
  const char* end = text + length;
  while (p < end)
    if (utf8Decode(&p, end) < 0) return false;
  return true;
}

size_t utf8CharCount(const char* text, size_t length) {
  size_t n = 0;
  for (size_t i = 0; i < length; ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++n;
  return n;
}

size_t utf8CutLength(const char* text, size_t length, size_t maxChars) {
  size_t chars = 0;
  for (size_t i = 0; i < length; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
      if (chars == maxChars) return i;
      ++chars;
    }
  }
  return length;
}

size_t utf8Encode(uint32_t cp, char* out) {
  unsigned char* o = reinterpret_cast<unsigned char*>(out);
  if (cp < 0x80) {
    o[0] = static_cast<unsigned char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    o[0] = static_cast<unsigned char>(0xC0 | (cp >> 6));
    o[1] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    return 2;
  }
  if (cp < 0x10000) {
    o[0] = static_cast<unsigned char>(0xE0 | (cp >> 12));
    o[1] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
    o[2] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    return 3;
  }
  o[0] = static_cast<unsigned char>(0xF0 | (cp >> 18));
  o[1] = static_cast<unsigned char>(0x80 | ((cp >> 12) & 0x3F));
  o[2] = static_cast<unsigned char>(0x80 | ((cp >> 6) & 0x3F));
  o[3] = static_cast<unsigned char>(0x80 | (cp & 0x3F));
  return 4;
}
