#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/utf8.h"

namespace {

TEST(Utf8, DecodesAndRejectsMalformedSequences) {
  struct Case {
    const char* bytes;
    int32_t first;  // code point of the first character, -1 when malformed
    size_t used;    // bytes the decoder moves on
  };
  const Case cases[] = {
      {"A", 'A', 1},
      {"\xC3\xA9", 0xE9, 2},
      {"\xE2\x82\xAC", 0x20AC, 3},
      {"\xF0\x9F\x98\x80", 0x1F600, 4},
      {"\xF4\x8F\xBF\xBF", 0x10FFFF, 4},
      {"\xC0\x80", -1, 1},              // overlong NUL
      {"\xE0\x80\xAF", -1, 1},          // overlong "/"
      {"\xED\xA0\x80", -1, 1},          // surrogate half
      {"\xF4\x90\x80\x80", -1, 1},      // above U+10FFFF
      {"\xE2\x82", -1, 1},              // cut short
      {"\x80", -1, 1},                  // lone continuation byte
      {"\xE9t\xE9", -1, 1},             // Latin-1
  };
  for (const Case& c : cases) {
    const char* p = c.bytes;
    EXPECT_EQ(utf8Decode(&p, c.bytes + std::strlen(c.bytes)), c.first) << c.bytes;
    EXPECT_EQ(static_cast<size_t>(p - c.bytes), c.used) << c.bytes;
    EXPECT_EQ(utf8IsValid(c.bytes, std::strlen(c.bytes)), c.first >= 0) << c.bytes;
  }
}

TEST(Utf8, CountsAndCutsAtCharacterBoundaries) {
  const std::string text = "Z\xC3\xBCrich \xE2\x82\xAC\xF0\x9F\x98\x80";  // "Zürich €😀"
  EXPECT_EQ(utf8CharCount(text.data(), text.size()), 9u);
  EXPECT_EQ(utf8CutLength(text.data(), text.size(), 2), 3u);  // "Zü"
  EXPECT_EQ(utf8CutLength(text.data(), text.size(), 8), 11u);  // up to and with "€"
  EXPECT_EQ(utf8CutLength(text.data(), text.size(), 9), text.size());
  EXPECT_EQ(utf8CutLength(text.data(), text.size(), 0), 0u);
  char out[4];
  for (uint32_t cp : {0x41u, 0xE9u, 0x20ACu, 0x1F600u}) {
    size_t n = utf8Encode(cp, out);
    const char* p = out;
    EXPECT_EQ(utf8Decode(&p, out + n), static_cast<int32_t>(cp));
    EXPECT_EQ(p, out + n);
  }
}

}  // namespace
