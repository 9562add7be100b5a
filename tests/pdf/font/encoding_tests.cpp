// Encodings and the glyph-name table, checked against the published tables.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "pdf/font/pdf_encoding.h"
#include "pdf/pdf_exception.h"
#include "pdf/pdf_objects.h"
#include "pdf/pdf_stream.h"
#include "tests/pdf/core_test_util.h"

namespace {

using coretest::Written;

TEST(GlyphNameTable, HoldsTheGlyphListBetweenNotdefAndTheEndEntry) {
  ASSERT_EQ(kGlyphNameTableCount, 1051 + 2);
  EXPECT_EQ(GlyphNameTable[0].unicode, 0u);
  EXPECT_STREQ(GlyphNameTable[0].name, ".notdef");
  EXPECT_EQ(GlyphNameTable[kGlyphNameTableCount - 1].unicode, 0xFFFFu);
  EXPECT_EQ(GlyphNameTable[kGlyphNameTableCount - 1].name, nullptr);

  struct { int index; unsigned int unicode; const char* name; } ends[] = {
      {1, 0x0020, "space"}, {2, 0x0021, "exclam"}, {3, 0x0022, "quotedbl"},
      {kGlyphNameTableCount - 4, 0xFB2B, "afii57695"},
      {kGlyphNameTableCount - 3, 0xFB35, "afii57723"},
      {kGlyphNameTableCount - 2, 0xFB4B, "afii57700"}};
  for (const auto& e : ends) {
    EXPECT_EQ(GlyphNameTable[e.index].unicode, e.unicode) << e.index;
    EXPECT_STREQ(GlyphNameTable[e.index].name, e.name) << e.index;
  }
  for (int i = 1; i < kGlyphNameTableCount; ++i)
    ASSERT_LT(GlyphNameTable[i - 1].unicode, GlyphNameTable[i].unicode) << "not sorted at " << i;
}

TEST(GlyphNameTable, TwelveNamesAppearTwice) {
  const char* doubled[] = {"Delta", "Omega", "Scedilla", "Tcommaaccent", "fraction", "hyphen",
                           "macron", "mu", "periodcentered", "scedilla", "space", "tcommaaccent"};
  int twice = 0;
  for (int i = 1; i < kGlyphNameTableCount - 1; ++i)
    for (int j = i + 1; j < kGlyphNameTableCount - 1; ++j)
      if (std::strcmp(GlyphNameTable[i].name, GlyphNameTable[j].name) == 0) {
        ++twice;
        bool listed = false;
        for (const char* d : doubled) listed |= std::strcmp(d, GlyphNameTable[i].name) == 0;
        EXPECT_TRUE(listed) << GlyphNameTable[i].name;
      }
  EXPECT_EQ(twice, 12);
}

TEST(GlyphNameTable, LookupsInBothDirections) {
  struct { unsigned int unicode; const char* name; } names[] = {
      {0x0000, ".notdef"},  {0x0020, "space"},   {0x00A0, "space"},     {0x00AD, "hyphen"},
      {0x0041, "A"},        {0x20AC, "Euro"},    {0xF6BE, "dotlessj"},  {0x0001, ".notdef"},
      {0xFFFE, ".notdef"},  {0xFB4B, "afii57700"}, {0x2044, "fraction"}, {0x2215, "fraction"}};
  for (const auto& n : names) EXPECT_STREQ(GlyphNameOfUnicode(n.unicode), n.name) << std::hex << n.unicode;
  EXPECT_STREQ(GlyphNameOfUnicode(0x2215), "fraction");
  // A doubled name gives its lower value; unknown names give 0.
  EXPECT_EQ(UnicodeOfGlyphName("space"), 0x0020u);
  EXPECT_EQ(UnicodeOfGlyphName("hyphen"), 0x002Du);
  EXPECT_EQ(UnicodeOfGlyphName("fraction"), 0x2044u);
  EXPECT_EQ(UnicodeOfGlyphName("Euro"), 0x20ACu);
  EXPECT_EQ(UnicodeOfGlyphName("euro"), 0u);
  EXPECT_EQ(UnicodeOfGlyphName(nullptr), 0u);
}

TEST(BaseEncodingKind, LookupsByNameAndByKind) {
  struct { const char* name; BaseEncodingKind kind; } byName[] = {
      {nullptr, kNoEncodingKind},
      {"StandardEncoding", kStandardEncodingKind},
      {"AdobeStandardEncoding", kStandardEncodingKind},
      {"MacRomanEncoding", kMacRomanEncodingKind},
      {"WinAnsiEncoding", kWinAnsiEncodingKind},
      {"FontSpecific", kFontSpecificKind},
      {"winansiencoding", kNoEncodingKind},
      {"MacExpertEncoding", kNoEncodingKind}};
  for (const auto& b : byName) EXPECT_EQ(BaseEncodingKindOf(b.name), b.kind) << (b.name ? b.name : "none");
  EXPECT_STREQ(BaseEncodingName(0), "StandardEncoding");
  EXPECT_STREQ(BaseEncodingName(1), "MacRomanEncoding");
  EXPECT_STREQ(BaseEncodingName(2), "WinAnsiEncoding");
  EXPECT_STREQ(BaseEncodingName(3), "FontSpecific");
  EXPECT_EQ(BaseEncodingName(4), nullptr);
}

TEST(BuiltinEncodings, GlyphNamesOfCodes) {
  PdfStandardEncoding standard;
  PdfMacRomanEncoding macRoman;
  PdfWinAnsiEncoding winAnsi;
  struct { PdfEncodingDef* encoding; unsigned int code; const char* name; } cases[] = {
      {&standard, 32, "space"},      {&standard, 31, ".notdef"},    {&standard, 256, ".notdef"},
      {&standard, 132, ".notdef"},   {&standard, 150, ".notdef"},   {&standard, 39, "quoteright"},
      {&standard, 96, "quoteleft"},  {&standard, 164, "fraction"},  {&standard, 174, "fi"},
      {&standard, 175, "fl"},        {&standard, 200, "dieresis"},  {&standard, 65, "A"},
      {&standard, 0xFFFFFFFFu, ".notdef"},
      {&winAnsi, 128, "Euro"},       {&winAnsi, 176, "degree"},     {&winAnsi, 160, ".notdef"},
      {&winAnsi, 127, ".notdef"},    {&winAnsi, 173, ".notdef"},    {&winAnsi, 129, ".notdef"},
      {&winAnsi, 39, "quotesingle"}, {&winAnsi, 255, "ydieresis"},
      {&macRoman, 132, "Ntilde"},    {&macRoman, 202, "space"},     {&macRoman, 219, "currency"},
      {&macRoman, 240, ".notdef"},   {&macRoman, 127, ".notdef"},   {&macRoman, 173, ".notdef"},
      {&macRoman, 128, "Adieresis"}};
  for (const auto& c : cases)
    EXPECT_STREQ(c.encoding->GlyphName(c.code), c.name) << "kind " << c.encoding->GetEncodingKind()
                                                          << " code " << c.code;
}

TEST(BuiltinEncodings, RangesKindsAndCodeLookups) {
  PdfStandardEncoding standard;
  PdfMacRomanEncoding macRoman;
  PdfWinAnsiEncoding winAnsi;
  for (PdfEncodingDef* e : {static_cast<PdfEncodingDef*>(&standard), static_cast<PdfEncodingDef*>(&macRoman),
                            static_cast<PdfEncodingDef*>(&winAnsi)}) {
    EXPECT_EQ(e->GetFirstCode(), 32u);
    EXPECT_EQ(e->GetLastCode(), 255u);
    EXPECT_EQ(e->UnicodeOf(31), 0);
    EXPECT_EQ(e->UnicodeOf(256), 0);
    EXPECT_EQ(e->UnicodeOf(65), 0x41);
  }
  EXPECT_EQ(standard.GetEncodingKind(), kStandardEncodingKind);
  EXPECT_EQ(macRoman.GetEncodingKind(), kMacRomanEncodingKind);
  EXPECT_EQ(winAnsi.GetEncodingKind(), kWinAnsiEncodingKind);
  EXPECT_EQ(standard.CodeOf(static_cast<unsigned short>(0x2019)), 39);
  EXPECT_EQ(standard.CodeOf("Euro"), -1);
  EXPECT_EQ(standard.CodeOf("A"), 65);
  EXPECT_EQ(winAnsi.CodeOf("Euro"), 128);
  // "space" looks up to U+0020, which MacRoman has at 32 before 202.
  EXPECT_EQ(macRoman.CodeOf("space"), 32);
  EXPECT_EQ(macRoman.UnicodeOf(202), 0x20);
}

TEST(EncodingDef, ConstructedEncodingIsEmpty) {
  PdfEncodingDef e;
  EXPECT_EQ(e.GetFirstCode(), 0u);
  EXPECT_EQ(e.GetLastCode(), 0u);
  EXPECT_EQ(e.GetEncodingKind(), kNoEncodingKind);
  EXPECT_EQ(e.GetKind(), 0);
  EXPECT_STREQ(e.GlyphName(0), ".notdef");
  EXPECT_EQ(e.CodeOf(static_cast<unsigned short>(0x41)), -1);
  std::unique_ptr<PdfObject> form(e.GetPdfForm(nullptr));
  EXPECT_EQ(form, nullptr);  // a kind without a name gives no Encoding entry
}

TEST(EncodingDef, SetRangeCopiesTheTableAndDropsDifferences) {
  PdfEncodingDef e;
  e.AddDifference(65, "B");
  const unsigned short table[] = {0x41, 0x42, 0x43};
  e.SetRange(65, 67, table);
  EXPECT_EQ(e.GetDifferenceCount(), 0);
  EXPECT_STREQ(e.GlyphName(66), "B");
  EXPECT_STREQ(e.GlyphName(64), ".notdef");
  EXPECT_STREQ(e.GlyphName(68), ".notdef");
  EXPECT_EQ(e.CodeOf("C"), 67);
}

TEST(EncodingDef, SetRangeRefusesRangesThatDoNotFitTheTable) {
  PdfStandardEncoding e;
  static unsigned short big[300] = {};
  struct { unsigned int first, last; } bad[] = {{0, 254}, {0, 255}, {10, 9}, {0, 0xFFFFFFFFu}};
  for (const auto& b : bad) {
    try {
      e.SetRange(b.first, b.last, big);
      ADD_FAILURE() << b.first << ".." << b.last << " accepted";
    } catch (const PdfException& ex) {
      EXPECT_EQ(ex.GetCode(), -5);
    }
    EXPECT_EQ(e.GetFirstCode(), 32u);  // unchanged
    EXPECT_STREQ(e.GlyphName(65), "A");
  }
  e.SetRange(0, 253, big);  // 254 codes is the most that fits
  EXPECT_EQ(e.GetLastCode(), 253u);
}

TEST(EncodingDef, PdfFormIsTheKindNameWithoutDifferences) {
  PdfStandardEncoding standard;
  PdfMacRomanEncoding macRoman;
  PdfWinAnsiEncoding winAnsi;
  struct { PdfEncodingDef* e; const char* written; } cases[] = {
      {&standard, "/StandardEncoding"}, {&macRoman, "/MacRomanEncoding"}, {&winAnsi, "/WinAnsiEncoding"}};
  for (const auto& c : cases) {
    std::unique_ptr<PdfObject> form(c.e->GetPdfForm(nullptr));
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->GetType(), otName);
    EXPECT_EQ(Written(form.get()), c.written);
  }
}

TEST(EncodingDef, PdfFormWithDifferencesIsAnEncodingDictionary) {
  PdfWinAnsiEncoding winAnsi;
  winAnsi.AddDifference(128, "Euro");
  std::unique_ptr<PdfObject> form(winAnsi.GetPdfForm(nullptr));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(Written(form.get()),
            "<<\r\n/Type /Encoding\r\n/BaseEncoding /WinAnsiEncoding\r\n/Differences [128 /Euro ]\r\n>>");

  // FontSpecific has no BaseEncoding; consecutive codes are not grouped.
  PdfEncodingDef own;
  own.SetEncodingKind(kFontSpecificKind);
  char name[8];
  std::strcpy(name, "alpha");
  own.AddDifference(65, name);
  std::strcpy(name, "beta");  // the encoding keeps its own copy
  own.AddDifference(66, name);
  std::strcpy(name, "xxxx");
  std::unique_ptr<PdfObject> ownForm(own.GetPdfForm(nullptr));
  EXPECT_EQ(Written(ownForm.get()), "<<\r\n/Type /Encoding\r\n/Differences [65 /alpha 66 /beta ]\r\n>>");
}

TEST(EncodingDef, ToUnicodeText) {
  PdfWinAnsiEncoding winAnsi;
  unsigned char out[16];
  int size = sizeof out;
  EXPECT_EQ(winAnsi.ToUnicodeText("A\x80", out, &size), 6);
  EXPECT_EQ(size, 6);
  const unsigned char want[] = {0xFE, 0xFF, 0x00, 0x41, 0x20, 0xAC};
  EXPECT_EQ(std::memcmp(out, want, 6), 0);

  // Pairs that would not fit are dropped, never written past the buffer.
  unsigned char small[7];
  std::memset(small, 0xEE, sizeof small);
  size = 6;
  EXPECT_EQ(winAnsi.ToUnicodeText("ABCD", small, &size), 6);
  EXPECT_EQ(size, 6);
  EXPECT_EQ(small[4], 0x00);
  EXPECT_EQ(small[5], 0x42);
  EXPECT_EQ(small[6], 0xEE);

  size = 3;
  EXPECT_EQ(winAnsi.ToUnicodeText("A", out, &size), -1);
  EXPECT_EQ(winAnsi.ToUnicodeText("A", nullptr, &size), -1);
  EXPECT_EQ(winAnsi.ToUnicodeText("A", out, nullptr), -1);
  size = 4;
  EXPECT_EQ(winAnsi.ToUnicodeText("", out, &size), 2);
}

TEST(EncodingDef, FactoryByKind) {
  struct { int kind; int made; } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, -1}, {4, 2}};
  for (const auto& c : cases) {
    std::unique_ptr<PdfEncodingDef> e(CreateBuiltinEncoding(c.kind));
    if (c.made < 0) {
      EXPECT_EQ(e, nullptr);
    } else {
      ASSERT_NE(e, nullptr);
      EXPECT_EQ(e->GetEncodingKind(), c.made);
    }
  }
}

}  // namespace
