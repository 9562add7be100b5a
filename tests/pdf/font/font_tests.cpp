// Font definitions, Type1 font objects and the document's font registration,
// checked against Adobe's published metrics.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "pdf/font/pdf_encoding.h"
#include "pdf/font/pdf_font.h"
#include "pdf/font/pdf_font_def.h"
#include "pdf/font/pdf_type1_font.h"
#include "pdf/pdf_doc.h"
#include "pdf/pdf_exception.h"
#include "pdf/pdf_stream.h"
#include "tests/pdf/core_test_util.h"
#include "pdf/pdf_xref.h"

namespace {

using coretest::Written;

struct StandardFont {
  const char* name;
  int glyphs;
  int ascent, descent, xHeight;
  int bbox[4];
  int kind, first, last;
  int missing;
};

const StandardFont kFonts[] = {
    {"Courier", 315, 629, -157, 426, {-23, -250, 715, 805}, 0, 0, 0, 600},
    {"Courier-Bold", 315, 629, -157, 439, {-113, -250, 749, 801}, 0, 0, 0, 600},
    {"Courier-BoldOblique", 315, 629, -157, 439, {-57, -250, 869, 801}, 0, 0, 0, 600},
    {"Courier-Oblique", 315, 629, -157, 426, {-27, -250, 849, 805}, 0, 0, 0, 600},
    {"Helvetica", 315, 718, -207, 523, {-166, -225, 1000, 931}, 0, 0, 0, 278},
    {"Helvetica-Bold", 315, 718, -207, 532, {-170, -228, 1003, 962}, 0, 0, 0, 278},
    {"Helvetica-BoldOblique", 315, 718, -207, 532, {-174, -228, 1114, 962}, 0, 0, 0, 278},
    {"Helvetica-Oblique", 315, 718, -207, 523, {-170, -225, 1116, 931}, 0, 0, 0, 278},
    {"Times-Roman", 315, 683, -217, 450, {-168, -218, 1000, 898}, 0, 0, 0, 250},
    {"Times-Bold", 315, 683, -217, 461, {-168, -218, 1000, 935}, 0, 0, 0, 250},
    {"Times-BoldItalic", 315, 683, -217, 462, {-200, -218, 996, 921}, 0, 0, 0, 250},
    {"Times-Italic", 315, 683, -217, 441, {-169, -217, 1010, 883}, 0, 0, 0, 250},
    {"Symbol", 190, 0, 0, 0, {-180, -293, 1090, 1010}, 3, 32, 254, 250},
    {"ZapfDingbats", 202, 0, 0, 0, {-1, -143, 981, 820}, 3, 32, 254, 278},
};

TEST(StandardFontDefs, ScalarFieldsAndGlyphCountsMatchTheAfmFiles) {
  for (const StandardFont& f : kFonts) {
    SCOPED_TRACE(f.name);
    std::unique_ptr<PdfType1FontDef> def(CreateStandardFontDef(f.name));
    ASSERT_NE(def, nullptr);
    EXPECT_STREQ(def->GetBaseFont(), f.name);
    EXPECT_STREQ(def->GetFontName(), f.name);
    EXPECT_EQ(def->GetWidthCount(), f.glyphs);
    EXPECT_EQ(def->GetAscent(), f.ascent);
    EXPECT_EQ(def->GetDescent(), f.descent);
    EXPECT_EQ(def->GetXHeight(), f.xHeight);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(def->GetFontBBox()[i], f.bbox[i]);
    EXPECT_EQ(def->GetEncodingKind(), f.kind);
    EXPECT_EQ(def->GetFirstChar(), f.first);
    EXPECT_EQ(def->GetLastChar(), f.last);
    EXPECT_EQ(def->GetMissingWidth(), f.missing);
    EXPECT_EQ(def->GetFlags(), 32);
    EXPECT_EQ(def->GetCapHeight(), 0);
    EXPECT_EQ(def->GetItalicAngle(), 0);
    EXPECT_EQ(def->GetStemV(), 0);
    EXPECT_TRUE(def->IsStandardFont());
  }
  EXPECT_EQ(CreateStandardFontDef("helvetica"), nullptr);
  EXPECT_EQ(CreateStandardFontDef("Arial"), nullptr);
  EXPECT_EQ(CreateStandardFontDef(nullptr), nullptr);
}

TEST(StandardFontDefs, ClassesAndFactoryAgree) {
  std::unique_ptr<PdfType1FontDef> made[] = {
      std::unique_ptr<PdfType1FontDef>(new PdfCourierFontDef),
      std::unique_ptr<PdfType1FontDef>(new PdfCourierBoldFontDef),
      std::unique_ptr<PdfType1FontDef>(new PdfCourierBoldObliqueFontDef),
      std::unique_ptr<PdfType1FontDef>(new PdfCourierObliqueFontDef),
      std::unique_ptr<PdfType1FontDef>(new PdfHelveticaFontDef),
      std::unique_ptr<PdfType1FontDef>(new PdfHelveticaBoldFontDef),
      std::unique_ptr<PdfType1FontDef>(new PdfHelveticaBoldObliqueFontDef),
      std::unique_ptr<PdfType1FontDef>(new PdfHelveticaObliqueFontDef),
      std::unique_ptr<PdfType1FontDef>(new PdfTimesRomanFontDef),
      std::unique_ptr<PdfType1FontDef>(new PdfTimesBoldFontDef),
      std::unique_ptr<PdfType1FontDef>(new PdfTimesBoldItalicFontDef),
      std::unique_ptr<PdfType1FontDef>(new PdfTimesItalicFontDef),
      std::unique_ptr<PdfType1FontDef>(new PdfSymbolFontDef),
      std::unique_ptr<PdfType1FontDef>(new PdfZapfDingbatsFontDef)};
  for (int i = 0; i < 14; ++i) EXPECT_STREQ(made[i]->GetBaseFont(), kFonts[i].name);
}

TEST(StandardFontDefs, PublishedWidths) {
  struct { const char* font; const char* glyph; int width; } byName[] = {
      {"Helvetica", "space", 278},  {"Helvetica", "a", 556},       {"Helvetica", "H", 722},
      {"Helvetica", "Euro", 556},   {"Times-Roman", "a", 444},     {"Symbol", "Euro", 750},
      {"ZapfDingbats", "a1", 974},  {"Helvetica", ".notdef", 278}, {"Helvetica", "nosuchglyph", 278},
      {"Helvetica", "h", 556},      {"Helvetica-Bold", "a", 556},  {"Times-Bold", "a", 500},
      {"Courier-Oblique", "Euro", 600}};
  for (const auto& w : byName) {
    std::unique_ptr<PdfType1FontDef> def(CreateStandardFontDef(w.font));
    EXPECT_EQ(def->WidthByName(w.glyph), w.width) << w.font << " " << w.glyph;
  }
  struct { const char* font; int code; int width; } byCode[] = {
      {"Helvetica", 65, 667}, {"Helvetica", 32, 278}, {"Helvetica", 65 + 256, 667},
      {"Helvetica", -1, 278}, {"Symbol", 127, 250},   {"Symbol", 32, 250},
      {"ZapfDingbats", 33, 974}, {"Helvetica", 150, 278}};
  for (const auto& w : byCode) {
    std::unique_ptr<PdfType1FontDef> def(CreateStandardFontDef(w.font));
    EXPECT_EQ(def->WidthByCode(w.code), w.width) << w.font << " " << w.code;
  }
}

TEST(StandardFontDefs, EveryCourierGlyphIs600) {
  for (const char* name : {"Courier", "Courier-Bold", "Courier-BoldOblique", "Courier-Oblique"}) {
    std::unique_ptr<PdfType1FontDef> def(CreateStandardFontDef(name));
    for (int i = 0; i < def->GetWidthCount(); ++i) ASSERT_EQ(def->GetWidthAt(i)->width, 600) << name << i;
  }
}

TEST(FontDef, ClearLoadAndLookups) {
  PdfType1FontDef def;
  EXPECT_EQ(def.GetFlags(), 32);
  EXPECT_EQ(def.WidthByName("a"), 0);   // no table
  EXPECT_EQ(def.WidthByCode(65), 0);    // missing width 0
  const PdfGlyphWidth entries[] = {{65, "A", 700}, {-1, "B", 800}, {32, "space", 300},
                                   {-1, "space", 310}, {0, nullptr, 0}};
  def.Construct(std::string(200, 'x').c_str());
  EXPECT_EQ(std::strlen(def.GetBaseFont()), 127u);
  EXPECT_EQ(std::strlen(def.GetFontName()), 127u);
  def.LoadWidths(entries);
  EXPECT_EQ(def.GetWidthCount(), 4);
  EXPECT_EQ(def.GetMissingWidth(), 310);  // the last "space" counts
  EXPECT_EQ(def.WidthByName("A"), 700);
  EXPECT_EQ(def.WidthByName("a"), 310);
  EXPECT_EQ(def.WidthByName("B"), 800);
  EXPECT_EQ(def.WidthByCode(65), 700);
  EXPECT_EQ(def.WidthByCode(-1), 310);    // unencoded glyphs never match
  EXPECT_EQ(def.WidthByCode(255), 310);
  def.SetFlags(4);
  def.Clear();
  EXPECT_EQ(def.GetWidthCount(), 0);
  EXPECT_EQ(def.GetFlags(), 32);
  EXPECT_STREQ(def.GetBaseFont(), "");
}

class FontDocTest : public ::testing::Test {
 protected:
  void SetUp() override { doc.CreateDocument(); }
  PdfType1Font* Font(int index) { return static_cast<PdfType1Font*>(doc.GetFontMgr()->GetFontAt(index)); }
  PdfDoc doc;
};

TEST_F(FontDocTest, HelveticaWithStandardEncoding) {
  int index = doc.AddType1Font(new PdfHelveticaFontDef);
  EXPECT_EQ(index, 0);
  PdfType1Font* font = Font(index);
  ASSERT_NE(font, nullptr);
  EXPECT_STREQ(font->GetName(), "Helvetica");
  EXPECT_TRUE(font->IsIndirect());
  EXPECT_EQ(font->GetFirstChar(), 32);
  EXPECT_EQ(font->GetLastChar(), 255);
  EXPECT_EQ(font->GetFlags(), 32);
  struct { unsigned char code; int width; } widths[] = {
      {65, 667}, {32, 278}, {150, 278}, {39, 222}, {200, 333}, {0, 278}, {31, 278}, {255, 278}};
  for (const auto& w : widths) EXPECT_EQ(font->CharWidth(w.code), w.width) << int(w.code);
  EXPECT_EQ(font->GetAscent(), 718);
  EXPECT_EQ(font->GetDescent(), -207);
  PdfType1Font bare(doc.GetXref());  // ascent and descent wait for Setup
  EXPECT_EQ(bare.GetAscent(), 0);
  EXPECT_EQ(bare.GetDescent(), 0);
  EXPECT_EQ(bare.CharWidth(65), 0);
  EXPECT_EQ(Written(font),
            "<<\r\n/Type /Font\r\n/Subtype /Type1\r\n/BaseFont /Helvetica\r\n/FirstChar 32\r\n"
            "/LastChar 255\r\n/Encoding /StandardEncoding\r\n>>");
}

TEST_F(FontDocTest, SymbolUsesItsOwnCodes) {
  PdfType1Font* font = Font(doc.AddType1Font(new PdfSymbolFontDef));
  EXPECT_EQ(font->GetFirstChar(), 32);
  EXPECT_EQ(font->GetLastChar(), 254);
  EXPECT_EQ(font->GetFlags(), 4);
  EXPECT_EQ(font->GetEncoding(), nullptr);
  EXPECT_EQ(font->CharWidth(127), 250);
  EXPECT_EQ(font->CharWidth(65), 722);   // Alpha
  EXPECT_EQ(font->CharWidth(255), 250);  // past the last char
  EXPECT_EQ(font->GetAscent(), 0);
  EXPECT_EQ(font->GetDescent(), 0);
  EXPECT_EQ(Written(font),
            "<<\r\n/Type /Font\r\n/Subtype /Type1\r\n/BaseFont /Symbol\r\n/FirstChar 32\r\n/LastChar 254\r\n>>");
}

TEST_F(FontDocTest, TextWidthAndMeasuring) {
  PdfType1Font* font = Font(doc.AddType1Font(new PdfHelveticaFontDef));
  TextWidthResult r = font->TextWidth("a b");
  EXPECT_EQ(r.charCount, 3);
  EXPECT_EQ(r.spaceCount, 1);
  EXPECT_EQ(r.width, 556 + 278 + 556);
  unsigned int per[5] = {};
  r = font->TextWidths("Hello", per);
  EXPECT_EQ(r.width, 2278);
  const unsigned int want[] = {722, 556, 222, 222, 556};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(per[i], want[i]);
  r = font->TextWidth("");
  EXPECT_EQ(r.charCount + r.spaceCount + r.width, 0);

  // "aaa bbb" at 10 points: a 5.56, space 2.78, b 5.56.
  struct { double max; int fits; double width; } cases[] = {
      {25.03, 4, 5.56 * 3 + 2.78 + 5.56},                    // breaks after the space
      {5.0, 0, 5.56},                                        // first byte too wide
      {1000, 7, 5.56 * 6 + 2.78},                            // fits whole
      {12, 2, 16.68}};  // no space fits: the bytes that fit, and the width that did not
  for (const auto& c : cases) {
    double measured = -1;
    EXPECT_EQ(font->MeasureText("aaa bbb", c.max, 10, 0, 0, &measured), c.fits) << c.max;
    EXPECT_NEAR(measured, c.width, 1e-9) << c.max;
  }
  // Past a break the out width keeps the previous round's value.
  double measured = -1;
  EXPECT_EQ(font->MeasureText("a bbb", 10, 10, 0, 0, &measured), 2);
  EXPECT_NEAR(measured, 5.56 + 2.78, 1e-9);
  EXPECT_EQ(font->MeasureText("", 10, 10, 0, 0, nullptr), 0);
}

TEST_F(FontDocTest, RegistrationNamesAndErrors) {
  EXPECT_EQ(doc.AddType1Font(new PdfHelveticaFontDef), 0);
  EXPECT_EQ(doc.AddType1Font(new PdfHelveticaFontDef, "Second"), 1);
  EXPECT_NE(doc.GetFontMgr()->GetFont("Helvetica"), nullptr);
  EXPECT_EQ(doc.GetFontMgr()->GetFont("helvetica"), nullptr);
  try {
    doc.AddType1Font(new PdfHelveticaFontDef);
    FAIL() << "duplicate accepted";
  } catch (const PdfException& e) {
    EXPECT_STREQ(e.what(), "ERROR: PdfFontMgr::RegisterFont: duplicate font registration[Helvetica]");
    EXPECT_EQ(e.GetCode(), -5);
  }
  try {
    doc.AddType1Font(nullptr);
    FAIL() << "null definition accepted";
  } catch (const PdfException& e) {
    EXPECT_STREQ(e.what(), "PdfDoc::AddType1Font fontdef is null.");
    EXPECT_EQ(e.GetCode(), -5);
  }
}

TEST_F(FontDocTest, GivenEncodingDecidesWidthsAndEncodingEntry) {
  PdfWinAnsiEncoding* winAnsi = new PdfWinAnsiEncoding;
  PdfType1Font* font = Font(doc.AddType1Font(new PdfHelveticaFontDef, "HelvAnsi", winAnsi));
  EXPECT_EQ(font->GetEncoding(), winAnsi);
  EXPECT_EQ(font->CharWidth(128), 556);  // Euro
  EXPECT_NE(Written(font).find("/Encoding /WinAnsiEncoding\r\n"), std::string::npos);
}

TEST_F(FontDocTest, DefinitionFromOtherDocumentIsRefusedByValue) {
  PdfDoc other;
  other.CreateDocument();
  PdfType1FontDef* def = new PdfHelveticaFontDef;
  other.AddType1Font(def);
  try {
    doc.AddType1Font(def, "Again");
    FAIL() << "foreign definition accepted";
  } catch (const PdfException& e) {
    EXPECT_EQ(e.GetCode(), -5);
  }
}

TEST_F(FontDocTest, NonStandardFontGetsWidthsAndDescriptor) {
  PdfType1FontDef* def = new PdfType1FontDef;
  def->Construct("MyFont");
  const PdfGlyphWidth entries[] = {{32, "space", 250}, {65, "A", 600}, {0, nullptr, 0}};
  def->LoadWidths(entries);
  def->SetEncodingKind(kFontSpecificKind);
  def->SetCharRange(64, 66);
  def->SetFontBBox(1, 2, 3, 4);
  def->SetXHeight(400);
  PdfType1Font* font = Font(doc.AddType1Font(def));
  EXPECT_EQ(font->GetFlags(), 4);
  ASSERT_NE(font->GetFontDescriptor(), nullptr);
  EXPECT_EQ(def->GetFontDescriptor(), font->GetFontDescriptor());
  std::string dict = Written(font);
  char expected[200];
  std::snprintf(expected, sizeof expected,
                "<<\r\n/Type /Font\r\n/Widths [250 600 250 ]\r\n/Subtype /Type1\r\n/BaseFont /MyFont\r\n"
                "/FirstChar 64\r\n/LastChar 66\r\n/FontDescriptor %d 0 R\r\n>>",
                font->GetFontDescriptor()->GetObjectId());
  EXPECT_EQ(dict, expected);
  EXPECT_EQ(Written(font->GetFontDescriptor()),
            "<<\r\n/Type /FontDescriptor\r\n/Ascent 0\r\n/CapHeight 0\r\n/Descent 0\r\n/FontBBox [1 2 3 4 ]\r\n"
            "/FontName /MyFont\r\n/ItalicAngle 0\r\n/StemV 0\r\n/Flags 4\r\n/XHeight 400\r\n>>");
  // A second font of the same definition shares the descriptor.
  PdfType1Font* second = Font(doc.AddType1Font(def, "MyFont2"));
  EXPECT_EQ(second->GetFontDescriptor(), font->GetFontDescriptor());
}

}  // namespace
