// Charts in loaded fonts, as a user sees them: the readers accept the file,
// pdffonts lists an embedded subset with a map back to the characters, and
// pdftotext gives back the text that was given.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/chart/chart_test_util.h"

namespace {

using charttest::readersVerdict;

const std::string kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

struct FontRun {
  pvtest::RunResult result;
  std::string pdf;
  bool written = false;
};

// A chart whose title (and the one bar's label) is drawn in font F.
FontRun chartWithTitle(const std::vector<std::string>& fontArgs, const std::string& title,
                   const std::vector<std::string>& more = {}) {
  FontRun r;
  const std::string dir = pvtest::makeTempDir();
  std::vector<std::string> args = fontArgs;
  for (const char* a : {"-chart", "Bar", "V", "-barcolor", "#FF0000", "#C00000", "-headingtitle", "18", "F",
                        "#000000", "Normal", "-chartheading", "Top", "Centre"})
    args.push_back(a);
  args.insert(args.end(), more.begin(), more.end());
  for (const std::string& a : {std::string("-datum"), std::string("1"), std::string("5"), std::string("-title"), title,
                               std::string("-output"), std::string("chart")})
    args.push_back(a);
  r.result = pvtest::runPlotvane(args, dir);
  r.pdf = dir + "/chart.pdf";
  r.written = pvtest::fileExists(r.pdf);
  return r;
}

std::string shell(const std::string& command) {
  std::string out;
  pvtest::runShell(command, &out);
  return out;
}

// pdftotext marks right-to-left lines with embedding controls; the text is
// what lies between them.
std::string withoutBidiControls(std::string s) {
  for (const char* mark : {"\u202A", "\u202B", "\u202C", "\u202D", "\u202E"})
    for (size_t at; (at = s.find(mark)) != std::string::npos;) s.erase(at, 3);
  return s;
}

TEST(EmbeddedFont, EveryScriptComesBackAsText) {
  struct Case {
    const char* script;
    std::string font;
    std::string text;
  } cases[] = {
      {"Polish", kDejaVu, "Zażółć gęślą jaźń"},
      {"Czech", kDejaVu, "Příliš žluťoučký kůň"},
      {"Greek", kDejaVu, "Γαζέες καὶ μυρτιὲς"},
      {"Cyrillic", kDejaVu, "Съешь же ещё этих булок"},
      {"Arabic", kDejaVu, "مرحبا بالعالم"},
      {"Hebrew", kDejaVu, "שלום עולם"},
      {"Devanagari", "Lohit Devanagari", "नमस्ते दुनिया किताब हिन्दी"},
      {"Chinese", "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", "中文图表"},
      {"Japanese", "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc#1", "日本語のテキスト"},
      {"CFF Latin", "/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf", "Office final AVA"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    FontRun r = chartWithTitle({"-fontfile", "F", c.font}, c.text);
    ASSERT_EQ(r.result.exitCode, 0) << r.result.out;
    EXPECT_EQ(readersVerdict(r.pdf), "");
    const std::string text = withoutBidiControls(shell("pdftotext '" + r.pdf + "' -"));
    EXPECT_NE(text.find(c.text), std::string::npos) << text;
    // One font: a subset ("ABCDEF+"), embedded, subset, with a ToUnicode map.
    std::istringstream fonts(shell("pdffonts '" + r.pdf + "'"));
    std::string line, last;
    int count = 0;
    while (std::getline(fonts, line))
      if (!line.empty() && line[0] != '-' && line.compare(0, 4, "name") != 0) {
        ++count;
        last = line;
      }
    EXPECT_EQ(count, 1) << last;
    EXPECT_EQ(last.substr(6, 1), "+") << last;
    EXPECT_NE(last.find(" Identity-H "), std::string::npos) << last;
    EXPECT_NE(last.find(" yes yes yes "), std::string::npos) << last;
    // The header names a version that has the font's kind.
    const bool cff = c.font.size() > 4 && c.font.compare(c.font.size() - 4, 4, ".otf") == 0;
    EXPECT_EQ(pvtest::readFile(r.pdf).substr(0, 8), cff ? "%PDF-1.6" : "%PDF-1.3");
  }
}

TEST(EmbeddedFont, FaultsGiveOneLineAndNoFile) {
  const std::string ttc = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc";
  struct Case {
    std::vector<std::string> fontArgs;
    std::string title;
    std::string message;
  } cases[] = {
      {{"-fontfile", "F", "/etc/hostname"}, "x", "ERROR: FontFile - [/etc/hostname] is not a TrueType or OpenType font"},
      {{"-fontfile", "F", "No Such Family Anywhere"}, "x",
       "ERROR: FontFile - no installed font matches [No Such Family Anywhere]"},
      {{"-fontfile", "F", ttc + "#7"}, "x", "ERROR: FontFile - [" + ttc + "] has no face 7 (it has 2)"},
      {{"-fontfile", "F", "./missing.ttf"}, "x", "ERROR: FontFile - cannot open [./missing.ttf]"},
      {{"-fontfile", "Times-I", kDejaVu}, "x", "ERROR: FontFile - [Times-I] is a standard font name"},
      {{"-fontfile", "F", kDejaVu, "-fontfile", "f", kDejaVu}, "x", "ERROR: FontFile - font name [f] already loaded"},
      {{"-fontfile", "F", kDejaVu}, "Cena 中", "MakePDF ERROR: font[F] has no glyph for U+4E2D in [Cena 中]."},
      {{"-fontfile", "F", kDejaVu}, "bad \xC3(", "ERROR: Title - not valid UTF-8"},
      {{"-title", "early", "-fontfile", "F", kDejaVu}, "x", "ERROR: FontFile - must come before every text command"},
      {{"-fontfile", "F", kDejaVu, "-textencoding", "Std"}, "x", "ERROR: TextEncoding - a loaded font needs UTF8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    FontRun r = chartWithTitle(c.fontArgs, c.title);
    EXPECT_EQ(r.result.exitCode, 1);
    EXPECT_FALSE(r.written);
    std::vector<std::string> log = pvtest::logMessages(r.result.out);
    int errors = 0;
    for (const std::string& l : log) errors += l.find("ERROR") != std::string::npos;
    EXPECT_EQ(errors, 1) << r.result.out;
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[log.size() - 2], c.message);
  }
}

// Words of pdftotext -bbox: text and horizontal extent.
struct Word {
  std::string text;
  double xMin, xMax;
};
std::vector<Word> words(const std::string& pdf) {
  std::vector<Word> out;
  std::istringstream s(shell("pdftotext -bbox '" + pdf + "' -"));
  std::string line;
  while (std::getline(s, line)) {
    size_t at = line.find("<word xMin=\"");
    if (at == std::string::npos) continue;
    Word w;
    w.xMin = std::atof(line.c_str() + at + 12);
    w.xMax = std::atof(line.c_str() + line.find("xMax=\"") + 6);
    size_t start = line.find('>') + 1;
    w.text = line.substr(start, line.find("</word>") - start);
    out.push_back(w);
  }
  return out;
}

TEST(EmbeddedFont, CentredTitleIsCentredByItsShapedWidth) {
  // Kerning (AV, Wa) and a ligature (fi) make the shaped width differ from
  // the sum of the glyphs' own widths.
  FontRun r = chartWithTitle({"-fontfile", "F", kDejaVu}, "AVAWAY final");
  ASSERT_EQ(r.result.exitCode, 0) << r.result.out;
  std::vector<Word> w = words(r.pdf);
  ASSERT_GE(w.size(), 2u);
  ASSERT_EQ(w[0].text, "AVAWAY");
  ASSERT_EQ(w[1].text, "final");
  EXPECT_NEAR((w[0].xMin + w[1].xMax) / 2, 400.0, 0.6);
}

TEST(EmbeddedFont, RightToLeftTextReadsFromTheRight) {
  FontRun r = chartWithTitle({"-fontfile", "F", kDejaVu}, "שלום עולם");
  ASSERT_EQ(r.result.exitCode, 0) << r.result.out;
  std::vector<Word> w = words(r.pdf);
  double first = -1, second = -1;
  // -bbox lists each word's characters as they stand, left to right.
  for (const Word& x : w) {
    if (x.text == "םולש") first = x.xMin;
    if (x.text == "םלוע") second = x.xMin;
  }
  ASSERT_GE(first, 0);
  ASSERT_GE(second, 0);
  EXPECT_GT(first, second) << "the first word stands right of the second";
}

TEST(EmbeddedFont, OnlyFontsThatDrawAreWrittenAndTheSubsetIsSmall) {
  // F2 is loaded and named by no text format: it is not in the file.
  std::string title;
  for (char c = 'A'; c <= 'Z'; ++c) title += c;
  title += " abcdefghijklmn 0123";
  FontRun r = chartWithTitle({"-fontfile", "F", "DejaVu Sans", "-fontfile", "F2", "DejaVu Serif"}, title);
  ASSERT_EQ(r.result.exitCode, 0) << r.result.out;
  const std::string fonts = shell("pdffonts '" + r.pdf + "'");
  EXPECT_NE(fonts.find("DejaVuSans"), std::string::npos) << fonts;
  EXPECT_EQ(fonts.find("Serif"), std::string::npos) << fonts;
  EXPECT_LE(pvtest::readFile(r.pdf).size(), 25u * 1024);
}

// Loading the font libraries and then encrypting with libcrypto once made
// the process crash at exit, after a successful save.
TEST(EmbeddedFont, WithAesTheRunEndsCleanly) {
  for (const char* method : {"AES128", "AES256"}) {
    SCOPED_TRACE(method);
    FontRun r = chartWithTitle({"-fontfile", "F", kDejaVu}, "Größe",
                               {"-encryption", method, "-ownerpassword", "o", "-userpassword", "u"});
    EXPECT_EQ(r.result.exitCode, 0) << r.result.out;
    ASSERT_TRUE(r.written);
    EXPECT_NE(shell("pdftotext -upw u '" + r.pdf + "' -").find("Größe"), std::string::npos);
  }
}

}  // namespace
