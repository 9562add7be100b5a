// A page drawn through the content stream with all fourteen standard fonts,
// saved as a file and read back by the independent PDF tools.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "pdf/content/pdf_contents.h"
#include "pdf/font/pdf_font_def.h"
#include "pdf/pdf_doc.h"
#include "tests/support/test_support.h"

namespace {

// mutool on this machine prints this notice for every file, which the shared
// reader check reports as a mutool problem; any other mutool output still
// counts.
std::string ReaderProblems(const std::string& path) {
  std::string problems = pvtest::checkWithReaders(path);
  const std::string notice = "mutool draw exit 0: warning: ICC support is not available\n\n";
  size_t at = problems.find(notice);
  if (at != std::string::npos) problems.erase(at, notice.size());
  return problems;
}

struct Line {
  const char* font;
  const char* shown;     // bytes in the font's own encoding
  const char* expected;  // what pdftotext gives back, UTF-8
};

const Line kLines[] = {
    {"Courier", "Courier 0123 (brackets) & 100%", "Courier 0123 (brackets) & 100%"},
    {"Courier-Bold", "Courier-Bold quick", "Courier-Bold quick"},
    {"Courier-BoldOblique", "Courier-BoldOblique brown", "Courier-BoldOblique brown"},
    {"Courier-Oblique", "Courier-Oblique fox", "Courier-Oblique fox"},
    {"Helvetica", "Helvetica Hello, world", "Helvetica Hello, world"},
    {"Helvetica-Bold", "Helvetica-Bold jumps", "Helvetica-Bold jumps"},
    {"Helvetica-BoldOblique", "Helvetica-BoldOblique over", "Helvetica-BoldOblique over"},
    {"Helvetica-Oblique", "Helvetica-Oblique the", "Helvetica-Oblique the"},
    {"Times-Roman", "Times-Roman lazy dog", "Times-Roman lazy dog"},
    {"Times-Bold", "Times-Bold 42", "Times-Bold 42"},
    {"Times-BoldItalic", "Times-BoldItalic [x]", "Times-BoldItalic [x]"},
    {"Times-Italic", "Times-Italic caf\xC2\x48", "Times-Italic caf\xC2\xB4H"},  // 194 is acute
    {"Symbol", "abg 123", "\xCE\xB1\xCE\xB2\xCE\xB3 123"},                         // alpha beta gamma
    {"ZapfDingbats", "3", "\xE2\x9C\x93"},                                         // check mark a20
};

TEST(PageRender, AllFourteenFontsRenderAndExtract) {
  std::string dir = pvtest::makeTempDir();
  std::string path = dir + "/fonts.pdf";
  {
    PdfDoc doc;
    doc.CreateDocument();
    for (const Line& line : kLines) doc.AddType1Font(CreateStandardFontDef(line.font));
    PdfPage* page = doc.AddPage();
    PdfContents* c = page->GetContents();
    c->SetFilter(PDF_FILTER_FLATE);
    c->SetRGBFill(0, 0, 128);
    double y = 800;
    for (const Line& line : kLines) {
      c->SetFontAndSize(line.font, 14);
      c->ShowTextAt(40, y, line.shown);
      y -= 30;
    }
    // Some graphics too, so that path operators reach the readers.
    c->SetLineWidth(2);
    c->SetDash(4, 2, 0);
    c->SetRGBStroke(0.8, 0.1, 0.1);
    c->Rectangle(30, y, 500, 800 - y + 20);
    c->Stroke();
    c->MoveTo(30, 60);
    c->CurveTo(100, 100, 200, 20, 300, 60);
    c->Stroke();
    doc.WriteToFile(path.c_str());
  }
  EXPECT_EQ(ReaderProblems(path), "");

  std::string text;
  ASSERT_EQ(pvtest::runShell("pdftotext -enc UTF-8 -layout '" + path + "' -", &text), 0);
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) {
    size_t b = l.find_first_not_of(" \f");
    if (b == std::string::npos) continue;
    size_t e = l.find_last_not_of(' ');
    lines.push_back(l.substr(b, e - b + 1));
  }
  ASSERT_EQ(lines.size(), sizeof kLines / sizeof kLines[0]) << text;
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], kLines[i].expected) << kLines[i].font;
}

}  // namespace
