// The content-stream writer: operator bytes, graphics-mode discipline, state
// record, font selection and text measuring.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "pdf/content/pdf_contents.h"
#include "pdf/font/pdf_font.h"
#include "pdf/font/pdf_font_def.h"
#include "pdf/pdf_doc.h"
#include "pdf/pdf_exception.h"
#include "pdf/pdf_stream.h"
#include "tests/pdf/core_test_util.h"
#include "pdf/pdf_xobject.h"

namespace {

using Op = std::function<void(PdfContents*)>;

std::string Bytes(PdfContents* c) { return c->HasStream() ? coretest::MemBytes(*c->GetStream()) : std::string(); }

using coretest::Written;

// A document with one page and its content stream; Helvetica and Times-Roman
// registered.
struct Canvas {
  Canvas() {
    doc.CreateDocument();
    doc.AddType1Font(new PdfHelveticaFontDef);
    doc.AddType1Font(new PdfTimesRomanFontDef);
    page = doc.AddPage();
    c = page->GetContents();
  }
  PdfDoc doc;
  PdfPage* page;
  PdfContents* c;
};

const Op kNone;
const Op kInPath = [](PdfContents* c) { c->MoveTo(0, 0); };
const Op kInText = [](PdfContents* c) { c->BeginText(); };
const Op kInClip = [](PdfContents* c) { c->MoveTo(0, 0); c->Clip(); };
const Op kWithFont = [](PdfContents* c) { c->SetFontAndSize("Helvetica", 10); c->BeginText(); };

struct OperatorCase {
  const char* label;
  Op setup;
  Op op;
  const char* bytes;
  int modeAfter;
};

TEST(PdfContents, OperatorBytesAndModes) {
  const OperatorCase cases[] = {
      {"SetLineWidth", kNone, [](PdfContents* c) { c->SetLineWidth(0); }, "0 w\n", 0},
      {"SetLineWidth real", kInText, [](PdfContents* c) { c->SetLineWidth(1.5); }, "1.5 w\n", 2},
      {"SetLineCap", kNone, [](PdfContents* c) { c->SetLineCap(1); }, "1 J\n", 0},
      {"SetLineJoin", kNone, [](PdfContents* c) { c->SetLineJoin(2); }, "2 j\n", 0},
      {"SetMiterLimit", kNone, [](PdfContents* c) { c->SetMiterLimit(1); }, "1 M\n", 0},
      {"SetDash 3 2 0", kNone, [](PdfContents* c) { c->SetDash(3, 2, 0); }, "[3 2]0 d\n", 0},
      {"SetDash 3 3 0", kNone, [](PdfContents* c) { c->SetDash(3, 3, 0); }, "[3]0 d\n", 0},
      {"SetDash 0 5 1", kNone, [](PdfContents* c) { c->SetDash(0, 5, 1); }, "[]1 d\n", 0},
      {"SetDash 0 0 0", kNone, [](PdfContents* c) { c->SetDash(0, 0, 0); }, "[]0 d\n", 0},
      {"SetFlat", kNone, [](PdfContents* c) { c->SetFlat(100); }, "100 i\n", 0},
      {"SetFlat 0", kNone, [](PdfContents* c) { c->SetFlat(0); }, "0 i\n", 0},
      {"GSave", kNone, [](PdfContents* c) { c->GSave(); }, "q\n", 0},
      {"GRestore", kNone, [](PdfContents* c) { c->GRestore(); }, "Q\n", 0},
      {"Concat", kNone, [](PdfContents* c) { c->Concat(1, 0, 0, 1, 10.25, -3); }, "1 0 0 1 10.25 -3 cm\n", 0},
      {"MoveTo", kNone, [](PdfContents* c) { c->MoveTo(10, 20); }, "10 20 m\n", 1},
      {"MoveTo in path", kInPath, [](PdfContents* c) { c->MoveTo(1, 2); }, "1 2 m\n", 1},
      {"LineTo", kInPath, [](PdfContents* c) { c->LineTo(3.5, 4); }, "3.5 4 l\n", 1},
      {"CurveTo", kInPath, [](PdfContents* c) { c->CurveTo(1, 2, 3, 4, 5, 6); }, "1 2 3 4 5 6 c\n", 1},
      {"CurveTo2", kInPath, [](PdfContents* c) { c->CurveTo2(1, 2, 3, 4); }, "1 2 3 4 v\n", 1},
      {"CurveTo3", kInPath, [](PdfContents* c) { c->CurveTo3(1, 2, 3, 4); }, "1 2 3 4 y\n", 1},
      {"ClosePath", kInPath, [](PdfContents* c) { c->ClosePath(); }, "h\n", 1},
      {"Rectangle", kNone, [](PdfContents* c) { c->Rectangle(10, 20, 30.5, 40); }, "10 20 30.5 40 re\n", 1},
      {"Rectangle twice", [](PdfContents* c) { c->Rectangle(0, 0, 1, 1); },
       [](PdfContents* c) { c->Rectangle(1, 1, 2, 2); }, "1 1 2 2 re\n", 1},
      {"Stroke", kInPath, [](PdfContents* c) { c->Stroke(); }, "S\n", 0},
      {"Stroke after Clip", kInClip, [](PdfContents* c) { c->Stroke(); }, "S\n", 0},
      {"ClosePathStroke", kInPath, [](PdfContents* c) { c->ClosePathStroke(); }, "s\n", 0},
      {"Fill", kInPath, [](PdfContents* c) { c->Fill(); }, "f\n", 0},
      {"Eofill", kInClip, [](PdfContents* c) { c->Eofill(); }, "f*\n", 0},
      {"FillStroke", kInPath, [](PdfContents* c) { c->FillStroke(); }, "B\n", 0},
      {"EofillStroke", kInPath, [](PdfContents* c) { c->EofillStroke(); }, "B*\n", 0},
      {"ClosePathFillStroke", kInPath, [](PdfContents* c) { c->ClosePathFillStroke(); }, "b\n", 0},
      {"ClosePathEofillStroke", kInPath, [](PdfContents* c) { c->ClosePathEofillStroke(); }, "b*\n", 0},
      {"EndPath", kInClip, [](PdfContents* c) { c->EndPath(); }, "n\n", 0},
      {"Clip", kInPath, [](PdfContents* c) { c->Clip(); }, "W\n", 3},
      {"Eolip", kInPath, [](PdfContents* c) { c->Eolip(); }, "W*\n", 3},
      {"SetGrayFill", kNone, [](PdfContents* c) { c->SetGrayFill(0.5); }, "0.5 g\n", 0},
      {"SetGrayStroke", kInText, [](PdfContents* c) { c->SetGrayStroke(1); }, "1 G\n", 2},
      {"SetRGBFill", kNone, [](PdfContents* c) { c->SetRGBFill(1.0, 0.0, 0.0); }, "1 0 0 rg\n", 0},
      {"SetRGBFill int", kNone, [](PdfContents* c) { c->SetRGBFill(255, 128, 0); }, "1 0.50196 0 rg\n", 0},
      {"SetRGBStroke", kNone, [](PdfContents* c) { c->SetRGBStroke(0.0, 0.25, 1.0); }, "0 0.25 1 RG\n", 0},
      {"SetRGBStroke int", kInText, [](PdfContents* c) { c->SetRGBStroke(0, 0, 255); }, "0 0 1 RG\n", 2},
      {"SetCMYKFill", kNone, [](PdfContents* c) { c->SetCMYKFill(0, 0.5, 1, 0); }, "0 0.5 1 0 k\n", 0},
      {"SetCMYKStroke", kNone, [](PdfContents* c) { c->SetCMYKStroke(1, 1, 1, 1); }, "1 1 1 1 K\n", 0},
      {"SetCharSpace", kNone, [](PdfContents* c) { c->SetCharSpace(-30); }, "-30 Tc\n", 0},
      {"SetCharSpace 300", kInText, [](PdfContents* c) { c->SetCharSpace(300); }, "300 Tc\n", 2},
      {"SetWordSpace", kNone, [](PdfContents* c) { c->SetWordSpace(2.5); }, "2.5 Tw\n", 0},
      {"SetHorizontalScalling", kNone, [](PdfContents* c) { c->SetHorizontalScalling(10); }, "10 Tz\n", 0},
      {"SetTextLeading", kNone, [](PdfContents* c) { c->SetTextLeading(-12); }, "-12 TL\n", 0},
      {"SetTextRenderingMode", kInText, [](PdfContents* c) { c->SetTextRenderingMode(2); }, "2 Tr\n", 2},
      {"SetTextRaise", kNone, [](PdfContents* c) { c->SetTextRaise(3.125); }, "3.125 Ts\n", 0},
      {"SetFontAndSize", kNone, [](PdfContents* c) { c->SetFontAndSize("Helvetica", 12); }, "/F0 12 Tf\n", 0},
      {"SetFontAndSize in path", kInPath, [](PdfContents* c) { c->SetFontAndSize("Helvetica", 9.5); },
       "/F0 9.5 Tf\n", 1},
      {"BeginText", kNone, [](PdfContents* c) { c->BeginText(); }, "BT\n", 2},
      {"EndText", kInText, [](PdfContents* c) { c->EndText(); }, "ET\n", 0},
      {"MoveTextPos", kInText, [](PdfContents* c) { c->MoveTextPos(72, 700.5); }, "72 700.5 Td\n", 2},
      {"MoveTextPos2", kInText, [](PdfContents* c) { c->MoveTextPos2(0, -14); }, "0 -14 TD\n", 2},
      {"SetTextMatrix", kInText, [](PdfContents* c) { c->SetTextMatrix(0, 1, -1, 0, 100, 200); },
       "0 1 -1 0 100 200 Tm\n", 2},
      {"MoveToNextLine", kInText, [](PdfContents* c) { c->MoveToNextLine(); }, "T*\n", 2},
      {"ShowText", kWithFont, [](PdfContents* c) { c->ShowText("a b"); }, "(a\\040b) Tj\n", 2},
      {"ShowText escapes", kWithFont, [](PdfContents* c) { c->ShowText("(x)\\%\xE9"); },
       "(\\050x\\051\\134\\045\\351) Tj\n", 2},
      {"ShowText empty", kWithFont, [](PdfContents* c) { c->ShowText(""); }, "", 2},
      {"ShowText null", kInText, [](PdfContents* c) { c->ShowText(nullptr); }, "", 2},
      {"ShowTextNextLine", kWithFont, [](PdfContents* c) { c->ShowTextNextLine("Hi"); }, "(Hi) '\n", 2},
      {"ShowTextNextLine 3", kWithFont, [](PdfContents* c) { c->ShowTextNextLine(1.5, 0.25, "Hi"); },
       "1.5 0.25 (Hi) \"\n", 2},
      {"ShowTextAt", [](PdfContents* c) { c->SetFontAndSize("Helvetica", 10); },
       [](PdfContents* c) { c->ShowTextAt(10, 20, "Go"); }, "BT\n10 20 Td\n(Go) Tj\nET\n", 0},
  };
  for (const OperatorCase& oc : cases) {
    SCOPED_TRACE(oc.label);
    Canvas canvas;
    if (oc.setup) oc.setup(canvas.c);
    size_t before = Bytes(canvas.c).size();
    ASSERT_NO_THROW(oc.op(canvas.c));
    EXPECT_EQ(Bytes(canvas.c).substr(before), oc.bytes);
    EXPECT_EQ(canvas.c->GetGMode(), oc.modeAfter);
  }
}

struct RefusedCase {
  const char* label;
  Op setup;
  Op op;
  int code;
  std::string message;
};

TEST(PdfContents, RefusedOperationsWriteNothingAndKeepTheMode) {
  const RefusedCase cases[] = {
      {"LineTo in text", kInText, [](PdfContents* c) { c->LineTo(1, 1); }, -5,
       "ERROR: LineTo invalid graphics mode(2)."},
      {"LineTo outside path", kNone, [](PdfContents* c) { c->LineTo(1, 1); }, -5,
       "ERROR: LineTo invalid graphics mode(0)."},
      {"Stroke without path", kNone, [](PdfContents* c) { c->Stroke(); }, -5,
       "ERROR: Stroke invalid graphics mode(0)."},
      {"MoveTo in text", kInText, [](PdfContents* c) { c->MoveTo(1, 1); }, -5,
       "ERROR: MoveTo invalid graphics mode(2)."},
      {"MoveTo after clip", kInClip, [](PdfContents* c) { c->MoveTo(1, 1); }, -5,
       "ERROR: MoveTo invalid graphics mode(3)."},
      {"Rectangle in text", kInText, [](PdfContents* c) { c->Rectangle(0, 0, 1, 1); }, -5,
       "ERROR: Rectangle invalid graphics mode(2)."},
      {"Clip twice", kInClip, [](PdfContents* c) { c->Clip(); }, -5, "ERROR: Clip invalid graphics mode(3)."},
      {"Eolip outside", kNone, [](PdfContents* c) { c->Eolip(); }, -5, "ERROR: Eolip invalid graphics mode(0)."},
      {"EndPath outside", kNone, [](PdfContents* c) { c->EndPath(); }, -5,
       "ERROR: EndPath invalid graphics mode(0)."},
      {"ClosePath in clip", kInClip, [](PdfContents* c) { c->ClosePath(); }, -5,
       "ERROR: ClosePath invalid graphics mode(3)."},
      {"CurveTo outside", kNone, [](PdfContents* c) { c->CurveTo(1, 2, 3, 4, 5, 6); }, -5,
       "ERROR: CurveTo invalid graphics mode(0)."},
      {"CurveTo2 outside", kNone, [](PdfContents* c) { c->CurveTo2(1, 2, 3, 4); }, -5,
       "ERROR: CurveTo2 invalid graphics mode(0)."},
      {"CurveTo3 outside", kNone, [](PdfContents* c) { c->CurveTo3(1, 2, 3, 4); }, -5,
       "ERROR: CurveTo3 invalid graphics mode(0)."},
      {"BeginText in path", kInPath, [](PdfContents* c) { c->BeginText(); }, -5,
       "ERROR: BeginText invalid graphics mode(1)."},
      {"BeginText twice", kInText, [](PdfContents* c) { c->BeginText(); }, -5,
       "ERROR: BeginText invalid graphics mode(2)."},
      {"EndText outside", kNone, [](PdfContents* c) { c->EndText(); }, -5,
       "ERROR: EndText invalid graphics mode(0)."},
      {"GSave in text", kInText, [](PdfContents* c) { c->GSave(); }, -5, "ERROR: GSave invalid graphics mode(2)."},
      {"GRestore in path", kInPath, [](PdfContents* c) { c->GRestore(); }, -5,
       "ERROR: GRestore invalid graphics mode(1)."},
      {"Concat in text", kInText, [](PdfContents* c) { c->Concat(1, 0, 0, 1, 0, 0); }, -5,
       "ERROR: Concat invalid graphics mode(2)."},
      {"SetLineWidth in path", kInPath, [](PdfContents* c) { c->SetLineWidth(1); }, -5,
       "ERROR: SetLineWidth invalid graphics mode(1)."},
      {"SetDash in clip", kInClip, [](PdfContents* c) { c->SetDash(1, 1, 0); }, -5,
       "ERROR: SetDash invalid graphics mode(3)."},
      {"SetRGBFill in path", kInPath, [](PdfContents* c) { c->SetRGBFill(0.0, 0.0, 0.0); }, -5,
       "ERROR: SetRGBFill invalid graphics mode(1)."},
      {"SetRGBStroke int in path", kInPath, [](PdfContents* c) { c->SetRGBStroke(0, 0, 0); }, -5,
       "ERROR: SetRGBStroke invalid graphics mode(1)."},
      {"SetCMYKFill in path", kInPath, [](PdfContents* c) { c->SetCMYKFill(0, 0, 0, 0); }, -5,
       "ERROR: SetCMYKFill invalid graphics mode(1)."},
      {"SetCharSpace in path", kInPath, [](PdfContents* c) { c->SetCharSpace(0); }, -5,
       "ERROR: SetCharSpace invalid graphics mode(1)."},
      {"SetHorizontalScalling in path", kInPath, [](PdfContents* c) { c->SetHorizontalScalling(100); }, -5,
       "ERROR: SetHorizontalScalling invalid graphics mode(1)."},
      {"MoveTextPos outside", kNone, [](PdfContents* c) { c->MoveTextPos(1, 1); }, -5,
       "ERROR: MoveTextPos invalid graphics mode(0)."},
      {"SetTextMatrix outside", kNone, [](PdfContents* c) { c->SetTextMatrix(1, 0, 0, 1, 0, 0); }, -5,
       "ERROR: SetTextMatrix invalid graphics mode(0)."},
      {"MoveToNextLine outside", kNone, [](PdfContents* c) { c->MoveToNextLine(); }, -5,
       "ERROR: MoveToNextLine invalid graphics mode(0)."},
      {"ShowText outside", kNone, [](PdfContents* c) { c->ShowText("a"); }, -5,
       "ERROR: ShowText invalid graphics mode(0)."},
      {"ShowTextNextLine outside", kNone, [](PdfContents* c) { c->ShowTextNextLine("a"); }, -5,
       "ERROR: ShowTextNextLine invalid graphics mode(0)."},
      {"ShowTextAt in text", kInText, [](PdfContents* c) { c->ShowTextAt(0, 0, "a"); }, -5,
       "ERROR: BeginText invalid graphics mode(2)."},
      {"ExecuteXObject in text", kInText, [](PdfContents* c) { c->ExecuteXObject("X"); }, -5,
       "ERROR: ExecuteXObject invalid graphics mode(2)."},
      // Argument checks.
      {"SetLineWidth negative", kNone, [](PdfContents* c) { c->SetLineWidth(-0.5); }, -6,
       "ERROR: SetLineWidth invalid value(0)."},
      {"SetLineWidth -3.7", kNone, [](PdfContents* c) { c->SetLineWidth(-3.7); }, -6,
       "ERROR: SetLineWidth invalid value(-3)."},
      {"SetMiterLimit below 1", kNone, [](PdfContents* c) { c->SetMiterLimit(0.5); }, -6, ""},
      {"SetFlat 101", kNone, [](PdfContents* c) { c->SetFlat(101); }, -6,
       "ERROR: PdfContents::SetFlat flatness must be between 0 to 100.(101).\n"},
      {"SetFlat negative", kNone, [](PdfContents* c) { c->SetFlat(-1); }, -6,
       "ERROR: PdfContents::SetFlat flatness must be between 0 to 100.(-1).\n"},
      {"SetGrayFill", kNone, [](PdfContents* c) { c->SetGrayFill(1.5); }, -6,
       "ERROR: SetGrayFill out of range(1.500000)"},
      {"SetGrayStroke", kNone, [](PdfContents* c) { c->SetGrayStroke(-0.1); }, -6,
       "ERROR: SetGrayStroke out of range(-0.100000)."},
      {"SetRGBFill", kNone, [](PdfContents* c) { c->SetRGBFill(1.2, 0.0, 0.0); }, -6,
       "ERROR: SetRGBFill out of range(1.200000:0.000000:0.000000)."},
      {"SetRGBFill int", kNone, [](PdfContents* c) { c->SetRGBFill(0, 256, 0); }, -6,
       "ERROR: SetRGBFill out of range(0.000000:1.003922:0.000000)."},
      {"SetRGBStroke", kNone, [](PdfContents* c) { c->SetRGBStroke(0.0, 0.0, -1.0); }, -6,
       "ERROR: SetRGBStroke out of range(0.000000:0.000000:-1.000000)."},
      {"SetRGBFill NaN", kNone, [](PdfContents* c) { c->SetRGBFill(std::nan(""), 0.0, 0.0); }, -6, ""},
      {"SetCMYKFill", kNone, [](PdfContents* c) { c->SetCMYKFill(0, 0, 0, 2); }, -6,
       "ERROR: SetCYMKFill out of range(0.000000:0.000000:0.000000:2.000000)."},
      {"SetCMYKStroke", kNone, [](PdfContents* c) { c->SetCMYKStroke(0, 3, 0, 0); }, -6,
       "ERROR: SetCMYKStroke out of range(0.000000:3.000000:0.000000:0.000000)."},
      {"SetCharSpace", kNone, [](PdfContents* c) { c->SetCharSpace(-30.5); }, -6,
       "ERROR: SetCharSpace out of range(-30.500000)"},
      {"SetWordSpace", kNone, [](PdfContents* c) { c->SetWordSpace(300.5); }, -6,
       "ERROR: SetWordSpace out of range(300.500000)"},
      {"SetHorizontalScalling", kNone, [](PdfContents* c) { c->SetHorizontalScalling(9); }, -6,
       "ERROR: SetHorizontalScalling out of range(9.000000)"},
      // Fonts.
      {"unknown font", kNone, [](PdfContents* c) { c->SetFontAndSize("helvetica", 10); }, -5,
       "ERROR: font[helvetica] is not found."},
      {"null font", kNone, [](PdfContents* c) { c->SetFontAndSize(static_cast<PdfFont*>(nullptr), 10); }, -5,
       "ERROR: Invalid paramator[font]."},
      {"font size 0", kNone, [](PdfContents* c) { c->SetFontAndSize("Helvetica", 0); }, -5,
       "ERROR: Invalid font size[0.000000]."},
      {"ShowText without font", kInText, [](PdfContents* c) { c->ShowText("a"); }, -5,
       "ERROR: PdfContents::TextWidth current font has not been set."},
      {"ShowTextNextLine without font", kInText, [](PdfContents* c) { c->ShowTextNextLine(1, 1, "a"); }, -5,
       "ERROR: PdfContents::TextWidth current font has not been set."},
      {"ShowTextAt without font", kNone, [](PdfContents* c) { c->ShowTextAt(1, 1, "a"); }, -5,
       "ERROR: PdfContents::TextWidth current font has not been set."},
      {"ShowTextInRect without font", kNone, [](PdfContents* c) { c->ShowTextInRect("a", 0, 0, 9, 9, 9); }, -5,
       ""},
      // The real output's range, checked before the first operand is written.
      {"MoveTo far", kNone, [](PdfContents* c) { c->MoveTo(10, 40000); }, -4, ""},
      {"Rectangle far", kNone, [](PdfContents* c) { c->Rectangle(1, 2, 3, -32768); }, -4, ""},
      {"Concat NaN", kNone, [](PdfContents* c) { c->Concat(1, 0, 0, 1, 0, std::nan("")); }, -4, ""},
      {"font size far", kNone, [](PdfContents* c) { c->SetFontAndSize("Helvetica", 40000); }, -4, ""},
  };
  for (const RefusedCase& rc : cases) {
    SCOPED_TRACE(rc.label);
    Canvas canvas;
    if (rc.setup) rc.setup(canvas.c);
    std::string before = Bytes(canvas.c);
    int mode = canvas.c->GetGMode();
    PdfPoint pos = canvas.c->GetCurrentPoint();
    try {
      rc.op(canvas.c);
      ADD_FAILURE() << "accepted";
    } catch (const PdfException& e) {
      EXPECT_EQ(e.GetCode(), rc.code);
      if (!rc.message.empty()) {
        EXPECT_EQ(std::string(e.what()), rc.message);
      }
    }
    EXPECT_EQ(Bytes(canvas.c), before);
    EXPECT_EQ(canvas.c->GetGMode(), mode);
    EXPECT_EQ(canvas.c->GetCurrentPoint().x, pos.x);
  }
}

TEST(PdfContents, GetContentsRegistersStreamLengthAndProcSet) {
  PdfDoc doc;
  doc.CreateDocument();
  PdfPage* page = doc.AddPage();
  PdfContents* c = page->GetContents();
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(page->GetContents(), c);
  EXPECT_TRUE(c->IsIndirect());
  EXPECT_EQ(page->GetValue("Contents"), c);
  PdfObject* length = c->GetValue("Length");
  ASSERT_NE(length, nullptr);
  EXPECT_TRUE(length->IsIndirect());
  EXPECT_EQ(length->GetObjectId(), c->GetObjectId() + 1);
  EXPECT_EQ(Written(page->GetResources()->GetValue("ProcSet")), "[/PDF ]");
  c->BeginText();
  EXPECT_EQ(Written(page->GetResources()->GetValue("ProcSet")), "[/PDF /Text ]");
}

TEST(PdfContents, FontResourceNames) {
  Canvas canvas;
  PdfContents* c = canvas.c;
  c->SetFontAndSize("Helvetica", 12);
  c->SetFontAndSize("Helvetica", 8);
  c->SetFontAndSize("Times-Roman", 9);
  PdfFont* helvetica = canvas.doc.GetFontMgr()->GetFont("Helvetica");
  c->SetFontAndSize(helvetica, 7);
  EXPECT_EQ(Bytes(c), "/F0 12 Tf\n/F0 8 Tf\n/F1 9 Tf\n/F0 7 Tf\n");
  EXPECT_EQ(c->GetCurrentFont(), helvetica);
  EXPECT_EQ(c->GetFontSize(), 7);
  EXPECT_STREQ(canvas.page->GetFontName(helvetica), "F0");

  // A refused size keeps the current font and size.
  EXPECT_THROW(c->SetFontAndSize("Times-Roman", -1), PdfException);
  EXPECT_EQ(c->GetCurrentFont(), helvetica);
  EXPECT_EQ(c->GetFontSize(), 7);
}

TEST(PdfContents, DuplicateFontNameLeavesStateAlone) {
  Canvas canvas;
  PdfContents* c = canvas.c;
  // Someone else took "F0" for Times: Helvetica's generated name collides.
  canvas.page->AddFont(canvas.doc.GetFontMgr()->GetFont("Times-Roman"), "F1");
  try {
    c->SetFontAndSize("Helvetica", 10);
    FAIL() << "accepted";
  } catch (const PdfException& e) {
    EXPECT_STREQ(e.what(), "ERROR: duplicate font-name[F1].");
    EXPECT_EQ(e.GetCode(), -5);
  }
  EXPECT_EQ(c->GetCurrentFont(), nullptr);
  EXPECT_EQ(Bytes(c), "");
}

TEST(PdfContents, StateRecordFollowsTheOperators) {
  Canvas canvas;
  PdfContents* c = canvas.c;
  EXPECT_EQ(c->GetFontSize(), 10);
  EXPECT_EQ(c->GetLineWidth(), 1);
  EXPECT_EQ(c->GetMiterLimit(), 10);
  EXPECT_EQ(c->GetHorizontalScalling(), 100);
  c->SetDash(3, 3, 1);
  EXPECT_EQ(c->GetDashOn(), 3u);
  EXPECT_EQ(c->GetDashOff(), 0u);
  EXPECT_EQ(c->GetDashPhase(), 1u);
  c->MoveTo(5, 6);
  c->LineTo(7, 8);
  EXPECT_EQ(c->GetCurrentPoint().x, 7);
  c->ClosePath();
  EXPECT_EQ(c->GetCurrentPoint().x, 5);
  EXPECT_EQ(c->GetCurrentPoint().y, 6);
  c->EndPath();
  EXPECT_EQ(c->GetCurrentPoint().x, 0);
  c->SetRGBFill(51, 102, 255);
  double r, g, b;
  c->GetRGBFill(&r, &g, &b);
  EXPECT_NEAR(r, 0.2, 1e-12);
  EXPECT_NEAR(g, 0.4, 1e-12);
  EXPECT_NEAR(b, 1.0, 1e-12);

  c->SetFontAndSize("Helvetica", 10);
  c->BeginText();
  c->MoveTextPos(100, 700);
  c->MoveTextPos2(0, -12);
  EXPECT_EQ(c->GetTextLeading(), 12);
  EXPECT_EQ(c->GetTextPos().x, 100);
  EXPECT_EQ(c->GetTextPos().y, 688);
  c->ShowText("Hello");
  EXPECT_NEAR(c->GetTextPos().x, 122.78, 1e-9);
  EXPECT_EQ(c->GetTextPos().y, 688);
  c->MoveToNextLine();
  EXPECT_EQ(c->GetTextPos().x, 100);
  EXPECT_EQ(c->GetTextPos().y, 676);
  c->ShowTextNextLine("Hello");
  EXPECT_NEAR(c->GetTextPos().x, 122.78, 1e-9);
  EXPECT_EQ(c->GetTextPos().y, 664);
  // Rotated a quarter turn: the advance runs up, the next line to the right.
  c->SetTextMatrix(0, 1, -1, 0, 50, 50);
  c->ShowText("Hello");
  EXPECT_NEAR(c->GetTextPos().x, 50, 1e-9);
  EXPECT_NEAR(c->GetTextPos().y, 72.78, 1e-9);
  c->MoveToNextLine();
  EXPECT_NEAR(c->GetTextPos().x, 62, 1e-9);
  EXPECT_NEAR(c->GetTextPos().y, 50, 1e-9);
  c->ShowTextNextLine(2, 1, "ab");
  EXPECT_EQ(c->GetWordSpace(), 2);
  EXPECT_EQ(c->GetCharSpace(), 1);
}

TEST(PdfContents, TextWidthCharWidthsAndMeasureText) {
  Canvas canvas;
  PdfContents* c = canvas.c;
  EXPECT_THROW(c->TextWidth("a"), PdfException);
  try {
    c->CharWidths("a", nullptr);
    FAIL();
  } catch (const PdfException& e) {
    EXPECT_STREQ(e.what(), "ERROR: PdfContents::CharWidths current font has not been set.");
    EXPECT_EQ(e.GetCode(), -5);
  }
  try {
    c->MeasureText("a", 10);
    FAIL();
  } catch (const PdfException& e) {
    EXPECT_STREQ(e.what(), "ERROR: PdfContents::MeasureText current font has not been set.");
    EXPECT_EQ(e.GetCode(), -5);
  }

  c->SetFontAndSize("Helvetica", 10);
  int n = -1, s = -1;
  EXPECT_NEAR(c->TextWidth("Hello", &n, &s), 22.78, 1e-9);
  EXPECT_EQ(n, 5);
  EXPECT_EQ(s, 0);
  EXPECT_NEAR(c->TextWidth("a b"), 13.9, 1e-9);

  double widths[5];
  c->CharWidths("Hello", widths);
  const double want[] = {7.22, 5.56, 2.22, 2.22, 5.56};
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(widths[i], want[i], 1e-9);

  EXPECT_EQ(c->MeasureText("aaa bbb", 25.03), 4);
  EXPECT_EQ(c->MeasureText("aaa bbb", 5), 0);
  EXPECT_EQ(c->MeasureText("aaa bbb", 100), 7);

  // Spacing enters with the counts minus one.
  c->SetCharSpace(1);
  c->SetWordSpace(2);
  EXPECT_NEAR(c->TextWidth("a b"), 13.9 + 2 * 1 + 0 * 2, 1e-9);
  EXPECT_NEAR(c->TextWidth("ab"), 11.12 + 1 - 2, 1e-9);
  EXPECT_NEAR(c->TextWidth(""), -3, 1e-9);
}

TEST(PdfContents, ExecuteXObject) {
  Canvas canvas;
  PdfContents* c = canvas.c;
  try {
    c->ExecuteXObject("Missing");
    FAIL();
  } catch (const PdfException& e) {
    EXPECT_STREQ(e.what(), "ERROR: XObject[Missing] is not found.");
    EXPECT_EQ(e.GetCode(), -5);
  }
  try {
    c->ExecuteXObject(static_cast<PdfXObject*>(nullptr));
    FAIL();
  } catch (const PdfException& e) {
    EXPECT_STREQ(e.what(), "ERROR: Invalid XObject.");
  }
  PdfXObject* x = new PdfXObject(canvas.doc.GetXref(), nullptr);
  canvas.doc.AddXObject(x, "Im 1");
  c->ExecuteXObject("Im 1");
  c->ExecuteXObject(x);
  EXPECT_EQ(Bytes(c), "/Im#201 Do\n/Im#201 Do\n");
  EXPECT_STREQ(canvas.page->GetXObjectName(x), "Im 1");
}

TEST(PdfContents, ShowTextInRect) {
  struct Case {
    const char* label;
    const char* text;
    double left, bottom, right, top;
    int maxBytes;
    const char* bytes;
  };
  // Helvetica 10 with leading 12: ascent 7.18 below the top.
  const Case cases[] = {
      {"empty", "", 0, 0, 100, 100, 10, ""},
      {"one line", "ab", 10, 0, 100, 100, 10, "BT\n10 92.82 Td\n(ab) Tj\nT*\nET\n"},
      {"CR breaks, LF dropped", "a\r\nb", 0, 0, 100, 100, 10,
       "BT\n0 92.82 Td\n(a) Tj\nT*\nT*\n(b) Tj\nT*\nET\n"},
      {"LF alone does not break", "a\nb", 0, 0, 100, 100, 10, "BT\n0 92.82 Td\n(ab) Tj\nT*\nET\n"},
      {"word wrap", "aaa bbb", 0, 0, 26, 100, 10,
       "BT\n0 92.82 Td\n(aaa\\040) Tj\nT*\n(bbb) Tj\nT*\nET\n"},
      {"line buffer cuts", "abcdef", 0, 0, 100, 100, 3, "BT\n0 92.82 Td\n(abc) Tj\nT*\nET\n"},
      {"stops at the bottom", "a\ra\ra\ra", 0, 60, 100, 100, 10,
       "BT\n0 92.82 Td\n(a) Tj\nT*\nT*\n(a) Tj\nT*\nET\n"},
      {"narrower than one character", "abc", 0, 0, 1, 100, 10, "BT\n0 92.82 Td\nET\n"},
  };
  for (const Case& tc : cases) {
    SCOPED_TRACE(tc.label);
    Canvas canvas;
    canvas.c->SetFontAndSize("Helvetica", 10);
    canvas.c->SetTextLeading(12);
    size_t before = Bytes(canvas.c).size();
    canvas.c->ShowTextInRect(tc.text, tc.left, tc.bottom, tc.right, tc.top, tc.maxBytes);
    EXPECT_EQ(Bytes(canvas.c).substr(before), tc.bytes);
    EXPECT_EQ(canvas.c->GetGMode(), PageDescription);
  }
}

TEST(PdfContents, ShowTextInRectEndsWithoutLeading) {
  // Leading 0 never moves the text down; a rectangle narrower than the first
  // character must still end.
  Canvas canvas;
  canvas.c->SetFontAndSize("Helvetica", 10);
  canvas.c->ShowTextInRect("Hello world", 0, 0, 2, 100, 20);
  EXPECT_EQ(canvas.c->GetGMode(), PageDescription);
  EXPECT_EQ(Bytes(canvas.c), "/F0 10 Tf\nBT\n0 92.82 Td\nET\n");

  Canvas wide;
  wide.c->SetFontAndSize("Helvetica", 10);
  wide.c->ShowTextInRect("ab cd", 0, 0, 15, 100, 20);
  EXPECT_EQ(Bytes(wide.c), "/F0 10 Tf\nBT\n0 92.82 Td\n(ab\\040) Tj\nT*\n(cd) Tj\nT*\nET\n");
}

}  // namespace
