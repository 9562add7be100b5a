// The readers of the command language, the keyword tables and the platform
// helpers, tested directly.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "app/commands.h"
#include "app/interpreter.h"
#include "app/platform.h"
#include "app/settings.h"

namespace {

struct WordCase {
  const char* text;
  int limit;
  WordStatus status;
  const char* word;  // expected destination
  const char* rest;  // expected text after the reader
};

TEST(ReadWord, Table) {
  const WordCase cases[] = {
      {"  abc def", 10, WordStatus::Ok, "abc", " def"},
      {"\t\"My Chart\" -x", 10, WordStatus::Ok, "My Chart", " -x"},
      {"\"unterminated text", 30, WordStatus::Ok, "unterminated text", ""},
      {"\"\" next", 10, WordStatus::Missing, "", " next"},
      {"   ", 10, WordStatus::Missing, "", ""},
      {"", 10, WordStatus::Missing, "", ""},
      {"a\tb;c\"d e", 10, WordStatus::Ok, "a\tb;c\"d", " e"},
      {"abcdef", 5, WordStatus::TooLong, "\x01", ""},
      {"abcde", 5, WordStatus::Ok, "abcde", ""},
      {"\"ab cd\"", 4, WordStatus::TooLong, "\x01", ""},
      {"\"a\"b", 4, WordStatus::Ok, "a", "b"},
  };
  for (const WordCase& c : cases) {
    char dest[64];
    memset(dest, 'x', sizeof dest);
    WordStatus st = WordStatus::Ok;
    const char* rest = readWord(c.text, dest, c.limit, &st);
    EXPECT_EQ(st, c.status) << c.text;
    EXPECT_STREQ(dest, c.word) << c.text;
    EXPECT_STREQ(rest, c.rest) << c.text;
  }
}

TEST(ReadWord, QuotedWordWithMarkerCharacterIsNotMistakenForTooLong) {
  char dest[8];
  WordStatus st;
  readWord("\"\x01\"", dest, 5, &st);
  EXPECT_EQ(st, WordStatus::Ok);
}

struct IntCase {
  const char* text;
  int value;
  const char* rest;
};

TEST(ReadInteger, Table) {
  const IntCase cases[] = {
      {"800 600", 800, " 600"},
      {"  -12 x", -12, " x"},
      {"12pt", -1, "pt"},
      {"12\t5", -1, "\t5"},
      {"", 0, ""},
      {"- 5", 0, " 5"},
      {"--5", -1, "-5"},
      {"0042", 42, ""},
      {"99999999999999999999", 2147483647, ""},
      {"-99999999999999999999", -2147483647, ""},
      {"+5", -1, "+5"},
  };
  for (const IntCase& c : cases) {
    int v = 12345;
    const char* rest = readInteger(c.text, &v);
    EXPECT_EQ(v, c.value) << c.text;
    EXPECT_STREQ(rest, c.rest) << c.text;
  }
}

struct RealCase {
  const char* text;
  bool ok;
  double value;
  bool hadPoint;
  const char* rest;
};

TEST(ReadReal, Table) {
  const RealCase cases[] = {
      {"12.5 next", true, 12.5, true, "next"},
      {"  7", true, 7.0, false, ""},
      {"", true, 0.0, false, ""},
      {"   ", true, 0.0, false, ""},
      {"12kg", false, 0.0, false, "kg"},
      {"-3.25\tx", true, -3.25, true, "x"},
      {"1.2.3 ", true, 1.2, true, ""},
      {"+-", true, 0.0, false, ""},
      {"123456789012345 ", true, 123456789012345.0, false, ""},
      {"1234567890123456", false, 0.0, false, "6"},
      {"1e5", false, 0.0, false, "e5"},
      {"12  34", true, 12.0, false, " 34"},
  };
  for (const RealCase& c : cases) {
    double v = -99.0;
    bool ok = !c.ok, point = !c.hadPoint;
    const char* rest = readReal(c.text, &v, &ok, &point);
    EXPECT_EQ(ok, c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
    EXPECT_EQ(point, c.hadPoint) << c.text;
    EXPECT_STREQ(rest, c.rest) << c.text;
  }
}

struct ColorCase {
  const char* text;
  bool changed;
  double r, g, b;
  const char* rest;
};

TEST(ReadColor, Table) {
  const double k = 1.0 / 255.0;
  const ColorCase cases[] = {
      {"#FFFFFF", true, 1, 1, 1, ""},
      {" #ff8000 x", true, 1, 128 / 255.0, 0, " x"},
      {"#FFF", false, 0, 0, 0, ""},
      {"#FFF 600", false, 0, 0, 0, "600"},
      {"#12345G rest", false, 0, 0, 0, " rest"},
      {"255 255 255", true, 1, 1, 1, ""},
      {"128 128 128 -x", true, 128 * k, 128 * k, 128 * k, "-x"},
      {"0.5 0.5 0.5", true, 0.5, 0.5, 0.5, ""},
      {"1.0 0 255", true, 1, 0, 1, ""},
      {"255  0 0", true, 1, 0, 0, "0"},
      {"255", true, 1, 0, 0, ""},
      {"300 0 0", true, 300 * k, 0, 0, ""},
      {"256 0 0", true, 256 * k, 0, 0, ""},
      {"12a 0 0", false, 0, 0, 0, "a 0 0"},
      {"abc", false, 0, 0, 0, "abc"},
      {"", true, 0, 0, 0, ""},
      {"  \t", true, 0, 0, 0, ""},
      {"0.5 1.0", true, 0.5, 1, 0, ""},
      {"255 ", true, 1, 0, 0, ""},
      {"1234567890123456 0 0", false, 0, 0, 0, "6 0 0"},
      {"99999999999999 0 0", true, 2147483647 * k, 0, 0, ""},
  };
  for (const ColorCase& c : cases) {
    RgbColor col{-1, -1, -1};
    const char* rest = readColor(c.text, &col);
    if (c.changed) {
      EXPECT_DOUBLE_EQ(col.red, c.r) << c.text;
      EXPECT_DOUBLE_EQ(col.green, c.g) << c.text;
      EXPECT_DOUBLE_EQ(col.blue, c.b) << c.text;
    } else {
      EXPECT_EQ(col.red, -1) << c.text;
      EXPECT_EQ(col.green, -1) << c.text;
      EXPECT_EQ(col.blue, -1) << c.text;
    }
    EXPECT_STREQ(rest, c.rest) << c.text;
  }
}

TEST(ReadKeyword, StatusAndValue) {
  int v;
  WordStatus st;
  readKeyword("  vErT", chartStyleKeywords, 19, &v, &st);
  EXPECT_EQ(st, WordStatus::Ok);
  EXPECT_EQ(v, Vertical);
  readKeyword("Pie", chartStyleKeywords, 19, &v, &st);
  EXPECT_EQ(st, WordStatus::Ok);
  EXPECT_EQ(v, kKeywordNotFound);
  readKeyword("", chartStyleKeywords, 19, &v, &st);
  EXPECT_EQ(st, WordStatus::Missing);
  readKeyword("VerticalVerticalVert", chartStyleKeywords, 19, &v, &st);
  EXPECT_EQ(st, WordStatus::TooLong);
  // A limit wider than any keyword still reports too long words, not a crash.
  std::string huge(5000, 'A');
  readKeyword(huge.c_str(), fontNameKeywords, 40, &v, &st);
  EXPECT_EQ(st, WordStatus::TooLong);
}

struct AliasCase {
  const KeywordEntry* table;
  const char* names;  // space-separated
  int value;
};

TEST(KeywordTables, EveryAlias) {
  const AliasCase cases[] = {
      {verticalAlignmentKeywords, "Top T", 1},
      {verticalAlignmentKeywords, "Middle Mid M", 2},
      {verticalAlignmentKeywords, "Bottom Bot B", 3},
      {horizontalAlignmentKeywords, "Left L", 1},
      {horizontalAlignmentKeywords, "Centre Center C", 2},
      {horizontalAlignmentKeywords, "Right R", 3},
      {textStyleKeywords, "Normal", 1},
      {textStyleKeywords, "Stroke", 2},
      {chartTypeKeywords, "Bar", 1},
      {chartStyleKeywords, "Vertical Vert V", 1},
      {chartStyleKeywords, "Horizontal Horz H", 2},
      {axesLineFormatKeywords, "XY", 1},
      {axesLineFormatKeywords, "Full F", 2},
      {barLabelPositionKeywords, "Start S", 1},
      {barLabelPositionKeywords, "End E", 2},
      {barLabelPositionKeywords, "Center Centre C", 3},
      {barLabelPositionKeywords, "Axes A", 4},
      {barLabelPositionKeywords, "AxesAndStart AxesS AS", 5},
      {barLabelPositionKeywords, "AxesAndEnd AEnd AE", 6},
      {barLabelPositionKeywords, "AxesAndCenter AxesAndCentre ACenter ACentre AC", 7},
      {sortFieldKeywords, "First Fir 1st F", 1},
      {sortFieldKeywords, "Second Sec 2nd S", 2},
      {sortOrderKeywords, "Ascending Asc A", 1},
      {sortOrderKeywords, "Descending Desc D", 2},
      {axesScaleKeywords, "FromZero FZ", 1},
      {axesScaleKeywords, "UnderLowestValue ULV", 2},
      {axesScaleKeywords, "Range R", 3},
      {axesScaleKeywords, "Nice N", 4},
      {numberGroupKeywords, "None", 0},
      {numberGroupKeywords, "Space", ' '},
      {fontNameKeywords, "Courier Cour", 1},
      {fontNameKeywords, "Courier-Bold Courier-B Cour-Bold Cour-B", 2},
      {fontNameKeywords, "Courier-BoldOblique Courier-BO Cour-BoldOblique Cour-BO", 3},
      {fontNameKeywords, "Courier-Oblique Courier-O Cour-Oblique Cour-O", 4},
      {fontNameKeywords, "Helvetica Helv", 5},
      {fontNameKeywords, "Helvetica-Bold Helvetica-B Helv-Bold Helv-B", 6},
      {fontNameKeywords, "Helvetica-BoldOblique Helvetica-BO Helv-BoldOblique Helv-BO", 7},
      {fontNameKeywords, "Helvetica-Oblique Helvetica-O Helv-Oblique Helv-O", 8},
      {fontNameKeywords, "Times-Roman Times", 9},
      {fontNameKeywords, "Times-Bold Times-B", 10},
      {fontNameKeywords, "Times-Italic Times-I", 11},
      {fontNameKeywords, "Times-BoldItalic Times-BI", 12},
      {fontNameKeywords, "Symbol Sym", 13},
      {fontNameKeywords, "ZapfDingbats Zapf Dingbats", 14},
      {textEncodingKeywords, "Standard Std", StandardText},
      {textEncodingKeywords, "UTF8 UTF-8 U", Utf8Text},
      {encryptionKeywords, "RC4 RC4-40", EncryptRC4},
      {encryptionKeywords, "AES128 AESV2", EncryptAES128},
      {encryptionKeywords, "AES256 AESV3", EncryptAES256},
      {barModeKeywords, "Grouped G", Grouped},
      {barModeKeywords, "Stacked S", Stacked},
      {legendPositionKeywords, "Right R", LegendRight},
      {legendPositionKeywords, "Top T", LegendTop},
      {legendPositionKeywords, "Bottom B", LegendBottom},
      {legendPositionKeywords, "Left L", LegendLeft},
      {legendPositionKeywords, "None N", LegendNone},
  };
  int tableCount = 0;
  const KeywordTableInfo* tables = keywordTables(&tableCount);
  int aliasesSeen[16] = {};
  for (const AliasCase& c : cases) {
    std::string names = c.names;
    size_t start = 0;
    while (start < names.size()) {
      size_t end = names.find(' ', start);
      if (end == std::string::npos) end = names.size();
      std::string name = names.substr(start, end - start);
      start = end + 1;
      EXPECT_EQ(lookupKeyword(c.table, name.c_str()), c.value) << name;
      std::string lower = name, upper = name;
      for (char& ch : lower) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
      for (char& ch : upper) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
      EXPECT_EQ(lookupKeyword(c.table, lower.c_str()), c.value) << lower;
      EXPECT_EQ(lookupKeyword(c.table, upper.c_str()), c.value) << upper;
      for (int t = 0; t < tableCount; ++t)
        if (tables[t].entries == c.table) ++aliasesSeen[t];
    }
  }
  // Every table entry is covered above, and nothing more is in the tables.
  ASSERT_LE(tableCount, 16);
  for (int t = 0; t < tableCount; ++t) {
    EXPECT_EQ(tables[t].count, aliasesSeen[t]) << tables[t].title;
    EXPECT_EQ(tables[t].entries[tables[t].count].name, nullptr) << tables[t].title;
    EXPECT_TRUE(tables[t].title && *tables[t].title);
  }
  EXPECT_EQ(lookupKeyword(fontNameKeywords, "Arial"), kKeywordNotFound);
  EXPECT_EQ(lookupKeyword(fontNameKeywords, "Helv-"), kKeywordNotFound);
  EXPECT_EQ(lookupKeyword(fontNameKeywords, ""), kKeywordNotFound);
}

TEST(KeywordTables, FontNameTableHas41Entries) {
  int count = 0;
  const KeywordTableInfo* tables = keywordTables(&count);
  bool found = false;
  for (int t = 0; t < count; ++t) {
    if (tables[t].entries == fontNameKeywords) {
      EXPECT_EQ(tables[t].count, 41);
      found = true;
    }
  }
  EXPECT_TRUE(found);
}

TEST(StandardFontName, FirstNameOfEachRow) {
  const char* expected[] = {"Courier",          "Courier-Bold",      "Courier-BoldOblique",
                            "Courier-Oblique",  "Helvetica",         "Helvetica-Bold",
                            "Helvetica-BoldOblique", "Helvetica-Oblique", "Times-Roman",
                            "Times-Bold",       "Times-Italic",      "Times-BoldItalic",
                            "Symbol",           "ZapfDingbats"};
  for (int f = 1; f <= 14; ++f) {
    EXPECT_STREQ(standardFontName(f), expected[f - 1]);
    EXPECT_EQ(lookupKeyword(fontNameKeywords, expected[f - 1]), f);
  }
  EXPECT_EQ(standardFontName(0), nullptr);
  EXPECT_EQ(standardFontName(15), nullptr);
  EXPECT_EQ(standardFontName(-1), nullptr);
}

TEST(CommandTable, NamesUniqueAndDocumented) {
  int count = 0;
  const CommandInfo* table = commandTable(&count);
  EXPECT_EQ(count, 68);  // grows with every new command
  std::set<std::string> names;
  for (int i = 0; i < count; ++i) {
    std::string lower = table[i].name;
    for (char& ch : lower) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
    EXPECT_TRUE(names.insert(lower).second) << table[i].name;
    EXPECT_NE(table[i].handler, nullptr) << table[i].name;
    EXPECT_NE(table[i].synopsis, nullptr) << table[i].name;
    ASSERT_NE(table[i].description, nullptr) << table[i].name;
    EXPECT_GT(strlen(table[i].description), 10u) << table[i].name;
    EXPECT_EQ(findCommand(lower.c_str(), static_cast<int>(lower.size())), &table[i]);
  }
  EXPECT_EQ(findCommand("HIDEWINDOWUI", 12)->handler, cmdHideWindowUI);
  EXPECT_EQ(findCommand("open", 4), nullptr);
  EXPECT_EQ(findCommand("openpdfx", 7)->handler, cmdOpenPdf);  // length bounds the name
  EXPECT_EQ(findCommand("", 0), nullptr);
}

TEST(CompareNoCase, FoldsAsciiThenByteOrder) {
  EXPECT_EQ(compareNoCase("Apple", "apple"), 0);
  EXPECT_LT(compareNoCase("apple", "Banana"), 0);
  EXPECT_GT(compareNoCase("cherry", "Banana"), 0);
  EXPECT_LT(compareNoCase("ab", "abc"), 0);
  EXPECT_LT(compareNoCase("_", "a"), 0);   // folded to lower case, '_' sorts first
  EXPECT_GT(compareNoCase("\xE9", "z"), 0);  // bytes above 127 are unsigned
  EXPECT_EQ(compareNoCase("", ""), 0);
}

TEST(ReadTextPiece, LineBreaksAndPieces) {
  FILE* f = tmpfile();
  ASSERT_NE(f, nullptr);
  // A lone CR (old Mac files) is a line break too; CR CR and LF CR are two.
  const char content[] = "one\r\ntwo\nthr\ree\r\nabcdefgh\n\r\n\r\rx\n\rlast";
  fwrite(content, 1, sizeof content - 1, f);
  rewind(f);
  const char* expected[] = {"one\n", "two\n", "thr\n", "ee\n", "abcde", "fgh\n", "\n",
                            "\n",    "\n",    "x\n",   "\n",  "last"};
  char buf[6];
  for (const char* e : expected) {
    ASSERT_TRUE(readTextPiece(f, buf, 5)) << e;
    EXPECT_STREQ(buf, e);
  }
  EXPECT_FALSE(readTextPiece(f, buf, 5));
  EXPECT_STREQ(buf, "");
  fclose(f);
}

TEST(ReadTextPiece, CrLfAcrossPieceBoundaryAndNulBytes) {
  FILE* f = tmpfile();
  ASSERT_NE(f, nullptr);
  const char content[] = "abcd\r\nx\0y\nz\r";
  fwrite(content, 1, sizeof content - 1, f);
  rewind(f);
  char buf[6];
  ASSERT_TRUE(readTextPiece(f, buf, 5));
  EXPECT_STREQ(buf, "abcd\n");  // the CR LF pair is one character
  ASSERT_TRUE(readTextPiece(f, buf, 5));
  EXPECT_STREQ(buf, "x");  // a C string ends at the NUL
  EXPECT_EQ(buf[2], 'y');
  ASSERT_TRUE(readTextPiece(f, buf, 5));
  EXPECT_STREQ(buf, "z\n");  // a lone CR at the end is a line break
  EXPECT_FALSE(readTextPiece(f, buf, 5));
  fclose(f);
}

}  // namespace
