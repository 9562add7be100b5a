#include "pdf/content/pdf_contents.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "pdf/font/pdf_font.h"
#include "pdf/pdf_doc.h"
#include "pdf/pdf_exception.h"
#include "pdf/pdf_stream.h"
#include "pdf/pdf_xobject.h"
#include "pdf/pdf_xref.h"

namespace {

const unsigned int kMode0 = 1u << PageDescription;
const unsigned int kMode1 = 1u << PathObject;
const unsigned int kMode2 = 1u << TextObject;
const unsigned int kMode3 = 1u << ClippingPath;

// The stream's real output refuses these values, but only once the operands
// before them are already written; checking first keeps a refused operator
// out of the page description altogether.
void CheckReals(std::initializer_list<double> values) {
  for (double v : values)
    if (!(v >= -32767.0 && v <= 32767.0))
      throw PdfException(PDF_ERR_RANGE, "error: operator<<(const double d)[%f]\n.", v);
}

bool InUnitRange(double v) { return v >= 0.0 && v <= 1.0; }

bool NeedsEscape(unsigned char c) {
  return c < 0x21 || c > 0x7E || std::strchr("\\%#/()<>[]{}", c) != nullptr;
}

const char* const kNoFontTextWidth = "ERROR: PdfContents::TextWidth current font has not been set.";

}  // namespace

PdfContents* PdfPage::GetContents() {
  if (!contents_) {
    PdfXref* xref = GetXref();
    PdfContents* contents = new PdfContents(this);
    xref->AddObject(contents);
    contents_ = contents;
    AddElement("Contents", contents);
    PdfNumber* length = new PdfNumber(0);
    xref->AddObject(length);
    contents->AddElement("Length", length);
  }
  AddProcSet(psPDF);
  return contents_;
}

PdfContents::PdfContents(PdfPage* page) : PdfStream(page->GetXref()), page_(page) {}

PdfStreamBase& PdfContents::Out() { return *GetStream(); }

PdfFontMgr* PdfContents::FontMgr() const { return page_->GetFontMgr(); }

PdfXObjectMgr* PdfContents::XObjectMgr() const { return page_->GetXObjectMgr(); }

void PdfContents::CheckMode(const char* operation, unsigned int modes) const {
  if (!(modes & (1u << gMode_)))
    throw PdfException(PDF_ERR_INVALID, "ERROR: %s invalid graphics mode(%d).", operation,
                       static_cast<int>(gMode_));
}

void PdfContents::RequireFont(const char* message) const {
  if (!font_) throw PdfException(PDF_ERR_INVALID, "%s", message);
}

void PdfContents::WriteText(const char* text) {
  PdfStreamBase& out = Out();
  char buffer[256];
  int used = 0;
  buffer[used++] = '(';
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    if (used > 250) {
      out.Write(buffer, used);
      used = 0;
    }
    if (NeedsEscape(*p)) {
      buffer[used++] = '\\';
      buffer[used++] = static_cast<char>('0' + ((*p >> 6) & 3));
      buffer[used++] = static_cast<char>('0' + ((*p >> 3) & 7));
      buffer[used++] = static_cast<char>('0' + (*p & 7));
    } else {
      buffer[used++] = static_cast<char>(*p);
    }
  }
  buffer[used++] = ')';
  out.Write(buffer, used);
}

void PdfContents::WriteName(const char* name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string escaped = "/";
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; ++p) {
    if (NeedsEscape(*p)) {
      escaped += '#';
      escaped += kHex[*p >> 4];
      escaped += kHex[*p & 15];
    } else {
      escaped += static_cast<char>(*p);
    }
  }
  Out().Write(escaped.data(), static_cast<int>(escaped.size()));
}

// --- graphics state ---

void PdfContents::SetLineWidth(double width) {
  CheckMode("SetLineWidth", kMode0 | kMode2);
  if (!(width >= 0))
    throw PdfException(PDF_ERR_ARGUMENT, "ERROR: SetLineWidth invalid value(%d).",
                       std::isnan(width) ? 0 : static_cast<int>(width));
  CheckReals({width});
  Out() << width << " w\n";
  lineWidth_ = width;
}

void PdfContents::SetLineCap(unsigned int cap) {
  CheckMode("SetLineCap", kMode0 | kMode2);
  Out() << cap << " J\n";
  lineCap_ = cap;
}

void PdfContents::SetLineJoin(unsigned int join) {
  CheckMode("SetLineJoin", kMode0 | kMode2);
  Out() << join << " j\n";
  lineJoin_ = join;
}

void PdfContents::SetMiterLimit(double limit) {
  CheckMode("SetMiterLimit", kMode0 | kMode2);
  if (!(limit >= 1)) throw PdfException(PDF_ERR_ARGUMENT, "ERROR: SetMiterLimit out of range(%f).", limit);
  CheckReals({limit});
  Out() << limit << " M\n";
  miterLimit_ = limit;
}

void PdfContents::SetDash(unsigned int on, unsigned int off, unsigned int phase) {
  CheckMode("SetDash", kMode0 | kMode2);
  unsigned int storedOff = (on != 0 && off != on) ? off : 0;
  PdfStreamBase& out = Out();
  out << "[";
  if (on != 0) out << on;
  if (storedOff != 0) out << " " << storedOff;
  out << "]" << phase << " d\n";
  dashOn_ = on;
  dashOff_ = storedOff;
  dashPhase_ = phase;
}

void PdfContents::SetFlat(int flatness) {
  CheckMode("SetFlat", kMode0 | kMode2);
  if (static_cast<unsigned int>(flatness) > 100)
    throw PdfException(PDF_ERR_ARGUMENT,
                       "ERROR: PdfContents::SetFlat flatness must be between 0 to 100.(%d).\n", flatness);
  Out() << static_cast<unsigned int>(flatness) << " i\n";
  flatness_ = static_cast<unsigned int>(flatness);
}

void PdfContents::GSave() {
  CheckMode("GSave", kMode0);
  Out() << "q\n";
}

void PdfContents::GRestore() {
  CheckMode("GRestore", kMode0);
  Out() << "Q\n";
}

void PdfContents::Concat(double a, double b, double c, double d, double e, double f) {
  CheckMode("Concat", kMode0);
  CheckReals({a, b, c, d, e, f});
  Out() << a << " " << b << " " << c << " " << d << " " << e << " " << f << " cm\n";
}

// --- paths ---

void PdfContents::MoveTo(double x, double y) {
  CheckMode("MoveTo", kMode0 | kMode1);
  CheckReals({x, y});
  Out() << x << " " << y << " m\n";
  startPoint_ = currentPoint_ = PdfPoint{x, y};
  gMode_ = PathObject;
}

void PdfContents::LineTo(double x, double y) {
  CheckMode("LineTo", kMode1);
  CheckReals({x, y});
  Out() << x << " " << y << " l\n";
  currentPoint_ = PdfPoint{x, y};
}

void PdfContents::CurveTo(double x1, double y1, double x2, double y2, double x3, double y3) {
  CheckMode("CurveTo", kMode1);
  CheckReals({x1, y1, x2, y2, x3, y3});
  Out() << x1 << " " << y1 << " " << x2 << " " << y2 << " " << x3 << " " << y3 << " c\n";
  currentPoint_ = PdfPoint{x3, y3};
}

void PdfContents::CurveTo2(double x2, double y2, double x3, double y3) {
  CheckMode("CurveTo2", kMode1);
  CheckReals({x2, y2, x3, y3});
  Out() << x2 << " " << y2 << " " << x3 << " " << y3 << " v\n";
  currentPoint_ = PdfPoint{x3, y3};
}

void PdfContents::CurveTo3(double x1, double y1, double x3, double y3) {
  CheckMode("CurveTo3", kMode1);
  CheckReals({x1, y1, x3, y3});
  Out() << x1 << " " << y1 << " " << x3 << " " << y3 << " y\n";
  currentPoint_ = PdfPoint{x3, y3};
}

void PdfContents::ClosePath() {
  CheckMode("ClosePath", kMode1);
  Out() << "h\n";
  currentPoint_ = startPoint_;
}

void PdfContents::Rectangle(double x, double y, double width, double height) {
  CheckMode("Rectangle", kMode0 | kMode1);
  CheckReals({x, y, width, height});
  Out() << x << " " << y << " " << width << " " << height << " re\n";
  currentPoint_ = PdfPoint{x, y};
  gMode_ = PathObject;
}

#define PV_PAINT_OPERATOR(Name, text)      \
  void PdfContents::Name() {               \
    CheckMode(#Name, kMode1 | kMode3);     \
    Out() << text;                         \
    gMode_ = PageDescription;              \
  }

PV_PAINT_OPERATOR(Stroke, "S\n")
PV_PAINT_OPERATOR(ClosePathStroke, "s\n")
PV_PAINT_OPERATOR(Fill, "f\n")
PV_PAINT_OPERATOR(Eofill, "f*\n")
PV_PAINT_OPERATOR(FillStroke, "B\n")
PV_PAINT_OPERATOR(EofillStroke, "B*\n")
PV_PAINT_OPERATOR(ClosePathFillStroke, "b\n")
PV_PAINT_OPERATOR(ClosePathEofillStroke, "b*\n")

#undef PV_PAINT_OPERATOR

void PdfContents::EndPath() {
  CheckMode("EndPath", kMode1 | kMode3);
  Out() << "n\n";
  currentPoint_ = PdfPoint{0, 0};
  gMode_ = PageDescription;
}

void PdfContents::Clip() {
  CheckMode("Clip", kMode1);
  Out() << "W\n";
  gMode_ = ClippingPath;
}

void PdfContents::Eolip() {
  CheckMode("Eolip", kMode1);
  Out() << "W*\n";
  gMode_ = ClippingPath;
}

// --- colours ---

void PdfContents::SetGrayFill(double gray) {
  CheckMode("SetGrayFill", kMode0 | kMode2);
  if (!InUnitRange(gray)) throw PdfException(PDF_ERR_ARGUMENT, "ERROR: SetGrayFill out of range(%f)", gray);
  Out() << gray << " g\n";
  grayFill_ = gray;
}

void PdfContents::SetGrayStroke(double gray) {
  CheckMode("SetGrayStroke", kMode0 | kMode2);
  if (!InUnitRange(gray))
    throw PdfException(PDF_ERR_ARGUMENT, "ERROR: SetGrayStroke out of range(%f).", gray);
  Out() << gray << " G\n";
  grayStroke_ = gray;
}

void PdfContents::SetRGBFill(double r, double g, double b) {
  CheckMode("SetRGBFill", kMode0 | kMode2);
  if (!InUnitRange(r) || !InUnitRange(g) || !InUnitRange(b))
    throw PdfException(PDF_ERR_ARGUMENT, "ERROR: SetRGBFill out of range(%f:%f:%f).", r, g, b);
  Out() << r << " " << g << " " << b << " rg\n";
  rgbFill_[0] = r;
  rgbFill_[1] = g;
  rgbFill_[2] = b;
}

void PdfContents::SetRGBFill(int r, int g, int b) {
  const double k = 0.00392156862745098;
  SetRGBFill(r * k, g * k, b * k);
}

void PdfContents::SetRGBStroke(double r, double g, double b) {
  CheckMode("SetRGBStroke", kMode0 | kMode2);
  if (!InUnitRange(r) || !InUnitRange(g) || !InUnitRange(b))
    throw PdfException(PDF_ERR_ARGUMENT, "ERROR: SetRGBStroke out of range(%f:%f:%f).", r, g, b);
  Out() << r << " " << g << " " << b << " RG\n";
  rgbStroke_[0] = r;
  rgbStroke_[1] = g;
  rgbStroke_[2] = b;
}

void PdfContents::SetRGBStroke(int r, int g, int b) {
  const double k = 0.00392156862745098;
  SetRGBStroke(r * k, g * k, b * k);
}

void PdfContents::SetCMYKFill(double c, double m, double y, double k) {
  CheckMode("SetCMYKFill", kMode0 | kMode2);
  if (!InUnitRange(c) || !InUnitRange(m) || !InUnitRange(y) || !InUnitRange(k))
    throw PdfException(PDF_ERR_ARGUMENT, "ERROR: SetCYMKFill out of range(%f:%f:%f:%f).", c, m, y, k);
  Out() << c << " " << m << " " << y << " " << k << " k\n";
}

void PdfContents::SetCMYKStroke(double c, double m, double y, double k) {
  CheckMode("SetCMYKStroke", kMode0 | kMode2);
  if (!InUnitRange(c) || !InUnitRange(m) || !InUnitRange(y) || !InUnitRange(k))
    throw PdfException(PDF_ERR_ARGUMENT, "ERROR: SetCMYKStroke out of range(%f:%f:%f:%f).", c, m, y, k);
  Out() << c << " " << m << " " << y << " " << k << " K\n";
}

void PdfContents::GetRGBFill(double* r, double* g, double* b) const {
  if (r) *r = rgbFill_[0];
  if (g) *g = rgbFill_[1];
  if (b) *b = rgbFill_[2];
}

void PdfContents::GetRGBStroke(double* r, double* g, double* b) const {
  if (r) *r = rgbStroke_[0];
  if (g) *g = rgbStroke_[1];
  if (b) *b = rgbStroke_[2];
}

// --- text state ---

void PdfContents::SetCharSpace(double spacing) {
  CheckMode("SetCharSpace", kMode0 | kMode2);
  if (!(spacing >= -30 && spacing <= 300))
    throw PdfException(PDF_ERR_ARGUMENT, "ERROR: SetCharSpace out of range(%f)", spacing);
  Out() << spacing << " " << "Tc\n";
  charSpace_ = spacing;
}

void PdfContents::SetWordSpace(double spacing) {
  CheckMode("SetWordSpace", kMode0 | kMode2);
  if (!(spacing >= -30 && spacing <= 300))
    throw PdfException(PDF_ERR_ARGUMENT, "ERROR: SetWordSpace out of range(%f)", spacing);
  Out() << spacing << " " << "Tw\n";
  wordSpace_ = spacing;
}

void PdfContents::SetHorizontalScalling(double percent) {
  CheckMode("SetHorizontalScalling", kMode0 | kMode2);
  if (!(percent >= 10 && percent <= 300))
    throw PdfException(PDF_ERR_ARGUMENT, "ERROR: SetHorizontalScalling out of range(%f)", percent);
  Out() << percent << " " << "Tz\n";
  horizontalScaling_ = percent;
}

void PdfContents::SetTextLeading(double leading) {
  CheckMode("SetTextLeading", kMode0 | kMode2);
  CheckReals({leading});
  Out() << leading << " " << "TL\n";
  textLeading_ = leading;
}

void PdfContents::SetTextRenderingMode(int mode) {
  CheckMode("SetTextRenderingMode", kMode0 | kMode2);
  Out() << mode << " Tr\n";
  renderingMode_ = mode;
}

void PdfContents::SetTextRaise(double rise) {
  CheckMode("SetTextRaise", kMode0 | kMode2);
  CheckReals({rise});
  Out() << rise << " Ts\n";
  textRise_ = rise;
}

void PdfContents::SetFontAndSize(const char* fontName, double size) {
  PdfFontMgr* mgr = FontMgr();
  PdfFont* font = mgr ? mgr->GetFont(fontName) : nullptr;
  if (!font)
    throw PdfException(PDF_ERR_INVALID, "ERROR: font[%s] is not found.", fontName ? fontName : "");
  SetFontAndSize(font, size);
}

void PdfContents::SetFontAndSize(PdfFont* font, double size) {
  if (!font) throw PdfException(PDF_ERR_INVALID, "ERROR: Invalid paramator[font].");
  if (!(size > 0)) throw PdfException(PDF_ERR_INVALID, "ERROR: Invalid font size[%f].", size);
  CheckReals({size});
  const char* name = page_->GetFontName(font);
  char buffer[20];
  if (!name) {
    std::snprintf(buffer, sizeof buffer, "F%d", page_->GetFontCount());
    page_->AddFont(font, buffer);
    name = buffer;
  }
  WriteName(name);
  Out() << " " << size << " Tf\n";
  // Taken only once the resource name is settled, so a refused name leaves
  // the state as it was.
  font_ = font;
  fontSize_ = size;
}

// --- text objects ---

void PdfContents::BeginText() {
  CheckMode("BeginText", kMode0);
  Out() << "BT\n";
  page_->AddProcSet(psText);
  textPos_ = PdfPoint{0, 0};
  textMatrix_ = PdfTextMatrix{1, 0, 0, 1, 0, 0};
  gMode_ = TextObject;
}

void PdfContents::EndText() {
  CheckMode("EndText", kMode2);
  Out() << "ET\n";
  gMode_ = PageDescription;
}

void PdfContents::MoveTextPos(double x, double y) {
  CheckMode("MoveTextPos", kMode2);
  CheckReals({x, y});
  Out() << x << " " << y << " Td\n";
  textMatrix_.e += x;
  textMatrix_.f += y;
  textPos_.x = textMatrix_.e;
  textPos_.y += y;
}

void PdfContents::MoveTextPos2(double x, double y) {
  CheckMode("MoveTextPos2", kMode2);
  CheckReals({x, y});
  Out() << x << " " << y << " TD\n";
  textMatrix_.e += x;
  textMatrix_.f += y;
  textPos_.x = textMatrix_.e;
  textPos_.y += y;
  textLeading_ = -y;
}

void PdfContents::SetTextMatrix(double a, double b, double c, double d, double x, double y) {
  CheckMode("SetTextMatrix", kMode2);
  CheckReals({a, b, c, d, x, y});
  Out() << a << " " << b << " " << c << " " << d << " " << x << " " << y << " Tm\n";
  textMatrix_ = PdfTextMatrix{a, b, c, d, x, y};
  textPos_ = PdfPoint{x, y};
}

void PdfContents::NextLineStep() {
  double e = textMatrix_.e + textLeading_ * textMatrix_.b;
  double f = textMatrix_.f - textLeading_ * textMatrix_.a;
  textMatrix_.e = e;
  textMatrix_.f = f;
  textPos_ = PdfPoint{e, f};
}

void PdfContents::MoveToNextLine() {
  CheckMode("MoveToNextLine", kMode2);
  Out() << "T*\n";
  NextLineStep();
}

void PdfContents::AdvanceText(const char* text) {
  double w = TextWidth(text);
  if (font_->GetWritingMode() == 0) {
    textPos_.x += w * textMatrix_.a;
    textPos_.y += w * textMatrix_.b;
  } else {
    textPos_.y -= w * textMatrix_.a;
    textPos_.x -= w * textMatrix_.b;
  }
}

void PdfContents::ShowText(const char* text) {
  CheckMode("ShowText", kMode2);
  if (!text || !*text) return;
  // Checked before writing: a Tj without a selected font is an error in the
  // page description.
  RequireFont(kNoFontTextWidth);
  if (font_->IsComposite()) {
    Out() << font_->ShowTextOperators(text, fontSize_, textRise_).c_str();
  } else {
    WriteText(text);
    Out() << " Tj\n";
  }
  AdvanceText(text);
}

void PdfContents::ShowTextNextLine(const char* text) {
  CheckMode("ShowTextNextLine", kMode2);
  if (!text || !*text) return;
  RequireFont(kNoFontTextWidth);
  if (font_->IsComposite()) {
    MoveToNextLine();
    ShowText(text);
    return;
  }
  NextLineStep();
  WriteText(text);
  Out() << " '\n";
  AdvanceText(text);
}

void PdfContents::ShowTextNextLine(double wordSpace, double charSpace, const char* text) {
  CheckMode("ShowTextNextLine", kMode2);
  if (!text || !*text) return;
  RequireFont(kNoFontTextWidth);
  CheckReals({wordSpace, charSpace});
  wordSpace_ = wordSpace;
  charSpace_ = charSpace;
  NextLineStep();
  Out() << wordSpace << " " << charSpace << " ";
  WriteText(text);
  Out() << " \"\n";
  AdvanceText(text);
}

// --- measuring ---

double PdfContents::TextWidth(const char* text, int* charCount, int* spaceCount) {
  RequireFont(kNoFontTextWidth);
  TextWidthResult r = font_->TextWidth(text);
  double width = r.width * fontSize_ * 0.001 + (r.charCount - 1) * charSpace_ +
                 (r.spaceCount - 1) * wordSpace_;
  if (charCount) *charCount = r.charCount;
  if (spaceCount) *spaceCount = r.spaceCount;
  return width;
}

void PdfContents::CharWidths(const char* text, double* widths) {
  RequireFont("ERROR: PdfContents::CharWidths current font has not been set.");
  if (!text || !widths) return;
  std::vector<unsigned int> raw(std::strlen(text) + 1);
  TextWidthResult r = font_->TextWidths(text, raw.data());
  for (int i = 0; i < r.charCount; ++i) widths[i] = raw[i] * fontSize_ * 0.001;
}

int PdfContents::MeasureText(const char* text, double maxWidth, double* realWidth) {
  RequireFont("ERROR: PdfContents::MeasureText current font has not been set.");
  return font_->MeasureText(text, maxWidth, fontSize_, charSpace_, wordSpace_, realWidth);
}

// --- XObjects ---

void PdfContents::ExecuteXObject(const char* name) {
  CheckMode("ExecuteXObject", kMode0);
  PdfXObjectMgr* mgr = XObjectMgr();
  PdfXObject* xobject = (mgr && name) ? mgr->GetXObject(name) : nullptr;
  if (!xobject) throw PdfException(PDF_ERR_INVALID, "ERROR: XObject[%s] is not found.", name ? name : "");
  ExecuteXObject(xobject);
}

void PdfContents::ExecuteXObject(PdfXObject* xobject) {
  CheckMode("ExecuteXObject", kMode0);
  if (!xobject || !xobject->GetName()) throw PdfException(PDF_ERR_INVALID, "ERROR: Invalid XObject.");
  const char* name = page_->GetXObjectName(xobject);
  if (!name) {
    name = xobject->GetName();
    page_->AddXObject(xobject, name);
  }
  WriteName(name);
  Out() << " Do\n";
}

// --- convenience ---

void PdfContents::ShowTextAt(double x, double y, const char* text) {
  // Everything that could refuse the text is checked before BT is written,
  // so a refusal leaves no open text object behind.
  CheckMode("BeginText", kMode0);
  if (text && *text) RequireFont(kNoFontTextWidth);
  CheckReals({x, y});
  BeginText();
  MoveTextPos(x, y);
  ShowText(text);
  EndText();
}

void PdfContents::ShowTextInRect(const char* text, double left, double bottom, double right,
                                 double top, int maxBytesPerLine) {
  if (!text || !*text) return;
  CheckMode("BeginText", kMode0);
  // The first line is placed by the font's ascent; without a font there is
  // nothing to place it by.
  RequireFont("ERROR: PdfContents::MeasureText current font has not been set.");
  double ascent = font_->GetAscent();
  double firstLineY = top - ascent * fontSize_ * 0.001;
  CheckReals({left, firstLineY});
  if (maxBytesPerLine < 0) maxBytesPerLine = 0;

  // Line feeds are dropped; carriage returns alone end lines.
  std::string copy;
  for (const char* p = text; *p; ++p)
    if (*p != '\n') copy += *p;
  std::vector<char> line(static_cast<size_t>(maxBytesPerLine) + 1);

  BeginText();
  MoveTextPos(left, firstLineY);
  size_t p = 0;
  while (p < copy.size()) {
    if (copy[p] == '\r') {
      MoveToNextLine();
      ++p;
      continue;
    }
    size_t end = copy.find('\r', p);
    if (end == std::string::npos) end = copy.size();
    std::string segment = copy.substr(p, end - p);
    int k = MeasureText(segment.c_str(), right - left);
    // A rectangle narrower than the first character fits nothing; with no
    // progress the walk would never end, so drawing stops here.
    if (k <= 0) break;
    int shown = k < maxBytesPerLine ? k : maxBytesPerLine;
    std::memcpy(line.data(), segment.data(), static_cast<size_t>(shown));
    line[static_cast<size_t>(shown)] = 0;
    ShowText(line.data());
    MoveToNextLine();
    if (bottom + textLeading_ > textPos_.y) break;
    p += static_cast<size_t>(k);
  }
  EndText();
}
