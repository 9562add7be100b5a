// Charts written with "-textencoding UTF8": what readers extract and show,
// where the text fonts' WinAnsiEncoding widths put a text, the codes drawn
// in Symbol and ZapfDingbats, and the runs that must fail without a file.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/chart/chart_test_util.h"

namespace {

using namespace charttest;

const std::string kChart = "-chart Bar V -barcolor #3060C0 #90B0F0 ";

// Runs the commands from an option file, as a script would with texts in
// any language.
Chart runOptions(const std::string& commands, const std::string& password = "") {
  std::string dir = pvtest::makeTempDir();
  pvtest::writeFile(dir + "/opts.txt", commands);
  return runChart({"-options", dir + "/opts.txt"}, {}, "chart", password);
}

// Advance widths of the font's glyphs by name, read from its AFM file.
std::map<std::string, int> afmWidths(const std::string& font) {
  std::map<std::string, int> widths;
  std::ifstream in(pvtest::referenceDataDir() + "/afm/" + font + ".afm");
  std::string line;
  while (std::getline(in, line)) {
    size_t wx = line.find("WX "), n = line.find("; N ");
    if (line.rfind("C ", 0) != 0 || wx == std::string::npos || n == std::string::npos) continue;
    std::string name = line.substr(n + 4);
    name = name.substr(0, name.find(' '));
    widths[name] = std::stoi(line.substr(wx + 3));
  }
  return widths;
}

TEST(Utf8Text, EuropeanChartReadsBackAndIsPlacedByWinAnsiWidths) {
  const std::string title = "Zürich – “Straße” €";
  const std::string subject = "Ça coûte 5 € — señal ñ";
  Chart c = runOptions("-textencoding UTF8\n" + kChart +
                       "-headingtitle 18 Helv #000000 Normal -chartheading Top Centre\n"
                       "-title \"" + title + "\"\n-subject \"" + subject + "\"\n"
                       "-axeslabelx 10 Times #000000 Normal\n"
                       "-datum Genève 12 -datum Köln 20 -datum España 7\n");
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  std::string text;
  ASSERT_EQ(pvtest::runShell("pdftotext " + c.pdfPath + " -", &text), 0);
  for (const std::string& s : {title, subject, std::string("Genève"), std::string("Köln"), std::string("España")})
    EXPECT_NE(text.find(s + "\n"), std::string::npos) << s << "\n" << text;

  // The title's codes are WinAnsiEncoding's, and the centre is where the
  // AFM widths of those glyphs put it on the 800-point page.
  EXPECT_NE(findRun(c.lines, {"(Z\\374rich\\040\\226\\040\\223Stra\\337e\\224\\040\\200) Tj"}), -1) << dump(c.lines);
  std::map<std::string, int> w = afmWidths("Helvetica");
  const char* glyphs[] = {"Z", "udieresis", "r", "i", "c", "h", "space", "endash", "space", "quotedblleft",
                          "S", "t", "r", "a", "germandbls", "e", "quotedblright", "space", "Euro"};
  int sum = 0;
  for (const char* g : glyphs) {
    ASSERT_TRUE(w.count(g)) << g;
    sum += w[g];
  }
  const double x = (800 - sum * 18 * 0.001) / 2;
  bool found = false;
  for (const std::string& l : withOperator(c.lines, "Tm")) found = found || l.rfind("1 0 -0 1 " + num(x) + " ", 0) == 0;
  EXPECT_TRUE(found) << num(x) << "\n" << dump(c.lines);

  const std::string pdf = pvtest::readFile(c.pdfPath);
  EXPECT_NE(pdf.find("/BaseFont /Helvetica\r\n/FirstChar 32\r\n/LastChar 255\r\n/Encoding /WinAnsiEncoding"),
            std::string::npos);
}

TEST(Utf8Text, SymbolAndDingbatsDrawTheirOwnCodes) {
  Chart c = runOptions("-textencoding U\n" + kChart + "-datum a 1\n"
                       "-headingtitle 18 Symbol #000000 Normal -title \"αβ∑∞µΩ\"\n"
                       "-headingsubtitle 14 Zapf #000000 Normal -subject ✁✈❤➔➾\n");
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  // alpha a, beta b, summation 0xE5, infinity 0xA5, mu m (from U+00B5),
  // Omega W; scissors 0x21, airplane 0x28, heart 0xA4, arrow 0xD4, 0xFE.
  EXPECT_NE(findRun(c.lines, {"(ab\\345\\245mW) Tj"}), -1) << dump(c.lines);
  EXPECT_NE(findRun(c.lines, {"(!\\050\\244\\324\\376) Tj"}), -1) << dump(c.lines);
  const std::string pdf = pvtest::readFile(c.pdfPath);
  EXPECT_NE(pdf.find("/BaseFont /Symbol\r\n/FirstChar 32\r\n/LastChar 254\r\n>>"), std::string::npos);
}

TEST(Utf8Text, FailuresLogOneLineAndWriteNoFile) {
  const struct {
    std::string commands;
    std::string message;
    bool drawing = true;  // found while drawing, after the document was started
  } cases[] = {
      {kChart + "-headingtitle 18 Helv #000000 Normal -title Łódź -datum a 1",
       "ERROR: character U+0141 of [Łódź] is not in the font Helvetica"},
      {kChart + "-axeslabelx 10 Times #000000 Normal -datum Жук 1",
       "ERROR: character U+0416 of [Жук] is not in the font Times-Roman"},
      {kChart + "-headingtitle 18 Symbol #000000 Normal -title abc -datum a 1",
       "ERROR: character U+0061 of [abc] is not in the font Symbol"},
      {kChart + "-datum a 1 -title \"caf\xE9\"", "ERROR: Title - not valid UTF-8", false},
      {kChart + "-datum a 1 -userpassword Жук", "ERROR: UserPassword - character U+0416 is not in PDFDocEncoding", false},
      {kChart + "-dataset data.csv", "ERROR: invalid UTF-8 on line 3 of dataset [data.csv]", false},
  };
  for (const auto& fc : cases) {
    std::string dir = pvtest::makeTempDir();
    pvtest::writeFile(dir + "/opts.txt", "-textencoding UTF8 " + fc.commands + " -output chart\n");
    pvtest::writeFile(dir + "/data.csv", "Genève,1\n\nK\xF6ln,2\n");
    pvtest::RunResult r = pvtest::runPlotvane({"-options", "opts.txt"}, dir);
    EXPECT_EQ(r.exitCode, 1) << fc.commands;
    std::vector<std::string> expected = {fc.message, "Finished"};
    if (fc.drawing) expected.insert(expected.begin(), "Creating PDF structure in memory...");
    EXPECT_EQ(pvtest::logMessages(r.out), expected);
    EXPECT_FALSE(pvtest::fileExists(dir + "/chart.pdf")) << fc.commands;
  }
}

TEST(Utf8Text, UnicodeInformationPlainAndEncrypted) {
  // Readers disagree on how a typed password becomes bytes, so the one
  // given to all of them is ASCII; the owner password is not.
  for (const std::string password : {"", "secret"}) {
    SCOPED_TRACE(password);
    std::string protect = password.empty() ? "" : "-userpassword " + password + " -ownerpassword Größe€\n";
    Chart c = runOptions("-textencoding UTF8\n" + kChart + "-datum a 1 -outline\n" + protect +
                             "-title \"Ventes à Zürich\" -author \"Jürgen Müller\" -keywords ASCII\n",
                         password);
    ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
    std::string info;
    std::string upw = password.empty() ? "" : " -upw " + password;
    ASSERT_EQ(pvtest::runShell("pdfinfo" + upw + " " + c.pdfPath, &info), 0) << info;
    EXPECT_NE(info.find("Title:           Ventes à Zürich\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Author:          Jürgen Müller\n"), std::string::npos) << info;
    EXPECT_NE(info.find("Keywords:        ASCII\n"), std::string::npos) << info;
    const std::string pdf = pvtest::readFile(c.pdfPath);
    if (password.empty()) {
      EXPECT_NE(pdf.find("/Title <FEFF00560065006E0074006500730020"), std::string::npos);
      EXPECT_NE(pdf.find("/Keywords (ASCII)"), std::string::npos);
    } else {
      // qpdf turns the typed owner password into PDFDocEncoding, as the
      // file expects; the same letters without the Euro sign fail.
      EXPECT_EQ(pvtest::runShell("qpdf --password=Größe€ --check " + c.pdfPath + " >/dev/null 2>&1"), 0);
      EXPECT_NE(pvtest::runShell("qpdf --password=Größe --check " + c.pdfPath + " >/dev/null 2>&1"), 0);
    }
  }
}

TEST(Utf8Text, ByteOrderMarkSkippedInOptionAndDatasetFiles) {
  std::string dir = pvtest::makeTempDir();
  pvtest::writeFile(dir + "/data.csv", "\xEF\xBB\xBF" "Apples,3\nPears,4\n");
  pvtest::writeFile(dir + "/opts.txt", "\xEF\xBB\xBF" + kChart + "-axeslabelx 10 Times #000000 Normal -dataset " +
                                           dir + "/data.csv\n");
  Chart c = runChart({"-options", dir + "/opts.txt"});
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  EXPECT_NE(findRun(c.lines, {"(Apples) Tj"}), -1) << dump(c.lines);
}

}  // namespace
