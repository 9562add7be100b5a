#include "pdf/font/pdf_font_def.h"

#include <cstring>

namespace {

void CopyName(char* dest, const char* src) {
  std::memset(dest, 0, PdfType1FontDef::kMaxName + 1);
  if (src) std::strncpy(dest, src, PdfType1FontDef::kMaxName);
}

}  // namespace

PdfType1FontDef::~PdfType1FontDef() {
  FreeWidths();
  delete[] fontFile_;
}

void PdfType1FontDef::FreeWidths() {
  for (int i = 0; i < widthCount_; ++i) delete[] widths_[i].glyphName;
  delete[] widths_;
  widths_ = nullptr;
  widthCount_ = 0;
}

void PdfType1FontDef::Clear() {
  FreeWidths();
  delete[] fontFile_;
  fontFile_ = nullptr;
  fontFileLength_ = 0;
  CopyName(baseFont_, nullptr);
  CopyName(fontName_, nullptr);
  CopyName(charSet_, nullptr);
  firstChar_ = lastChar_ = 0;
  ascent_ = descent_ = 0;
  flags_ = kDefaultFlags;
  for (int& v : fontBBox_) v = 0;
  italicAngle_ = stemV_ = 0;
  missingWidth_ = 0;
  xHeight_ = capHeight_ = 0;
  length1_ = length2_ = length3_ = 0;
  isStandard_ = false;
  encodingKind_ = kStandardEncodingKind;
  fontDescriptor_ = nullptr;
}

void PdfType1FontDef::Construct(const char* name) {
  Clear();
  CopyName(baseFont_, name);
  CopyName(fontName_, name);
}

void PdfType1FontDef::SetBaseFont(const char* name) { CopyName(baseFont_, name); }

void PdfType1FontDef::SetFontName(const char* name) { CopyName(fontName_, name); }

void PdfType1FontDef::SetCharSet(const char* charSet) { CopyName(charSet_, charSet); }

void PdfType1FontDef::SetFontBBox(int left, int bottom, int right, int top) {
  fontBBox_[0] = left;
  fontBBox_[1] = bottom;
  fontBBox_[2] = right;
  fontBBox_[3] = top;
}

void PdfType1FontDef::LoadWidths(const PdfGlyphWidth* entries) {
  FreeWidths();
  if (!entries) return;
  int count = 0;
  while (entries[count].name) ++count;
  if (count == 0) return;
  widths_ = new GlyphMetric[count];
  for (int i = 0; i < count; ++i) {
    size_t n = std::strlen(entries[i].name);
    widths_[i].code = entries[i].code;
    widths_[i].width = entries[i].width;
    widths_[i].glyphName = new char[n + 1];
    std::memcpy(widths_[i].glyphName, entries[i].name, n + 1);
    widthCount_ = i + 1;
    if (std::strcmp(entries[i].name, "space") == 0) missingWidth_ = entries[i].width;
  }
}

const GlyphMetric* PdfType1FontDef::GetWidthAt(int index) const {
  if (index < 0 || index >= widthCount_) return nullptr;
  return &widths_[index];
}

int PdfType1FontDef::WidthByName(const char* glyphName) const {
  if (widthCount_ == 0) return 0;
  if (!glyphName || std::strcmp(glyphName, ".notdef") == 0) return missingWidth_;
  for (int i = 0; i < widthCount_; ++i)
    if (std::strcmp(widths_[i].glyphName, glyphName) == 0) return widths_[i].width;
  return missingWidth_;
}

int PdfType1FontDef::WidthByCode(int code) const {
  if (widthCount_ == 0) return missingWidth_;
  // The low byte, so that a negative code can never meet the -1 of an
  // unencoded glyph.
  int wanted = code & 0xFF;
  for (int i = 0; i < widthCount_; ++i)
    if (widths_[i].code == wanted) return widths_[i].width;
  return missingWidth_;
}

void PdfType1FontDef::SetFontFile(const void* data, int length, int length1, int length2,
                                  int length3) {
  delete[] fontFile_;
  fontFile_ = nullptr;
  fontFileLength_ = 0;
  if (data && length > 0) {
    fontFile_ = new unsigned char[length];
    std::memcpy(fontFile_, data, length);
    fontFileLength_ = length;
  }
  length1_ = length1;
  length2_ = length2;
  length3_ = length3;
}

void PdfType1FontDef::ConstructStandard(const char* fontName) {
  Construct(fontName);
  for (int i = 0; i < kStandardFontCount; ++i) {
    const PdfStandardFontMetrics& m = kStandardFontMetrics[i];
    if (std::strcmp(m.fontName, fontName) != 0) continue;
    LoadWidths(m.widths);
    ascent_ = m.ascent;
    descent_ = m.descent;
    xHeight_ = m.xHeight;
    SetFontBBox(m.fontBBox[0], m.fontBBox[1], m.fontBBox[2], m.fontBBox[3]);
    encodingKind_ = m.encodingKind;
    firstChar_ = m.firstChar;
    lastChar_ = m.lastChar;
    break;
  }
  isStandard_ = true;
}

PdfType1FontDef* CreateStandardFontDef(const char* baseFontName) {
  if (!baseFontName) return nullptr;
  struct Maker {
    const char* name;
    PdfType1FontDef* (*make)();
  };
  static const Maker kMakers[] = {
      {"Courier", [] { return static_cast<PdfType1FontDef*>(new PdfCourierFontDef); }},
      {"Courier-Bold", [] { return static_cast<PdfType1FontDef*>(new PdfCourierBoldFontDef); }},
      {"Courier-BoldOblique",
       [] { return static_cast<PdfType1FontDef*>(new PdfCourierBoldObliqueFontDef); }},
      {"Courier-Oblique",
       [] { return static_cast<PdfType1FontDef*>(new PdfCourierObliqueFontDef); }},
      {"Helvetica", [] { return static_cast<PdfType1FontDef*>(new PdfHelveticaFontDef); }},
      {"Helvetica-Bold",
       [] { return static_cast<PdfType1FontDef*>(new PdfHelveticaBoldFontDef); }},
      {"Helvetica-BoldOblique",
       [] { return static_cast<PdfType1FontDef*>(new PdfHelveticaBoldObliqueFontDef); }},
      {"Helvetica-Oblique",
       [] { return static_cast<PdfType1FontDef*>(new PdfHelveticaObliqueFontDef); }},
      {"Times-Roman", [] { return static_cast<PdfType1FontDef*>(new PdfTimesRomanFontDef); }},
      {"Times-Bold", [] { return static_cast<PdfType1FontDef*>(new PdfTimesBoldFontDef); }},
      {"Times-BoldItalic",
       [] { return static_cast<PdfType1FontDef*>(new PdfTimesBoldItalicFontDef); }},
      {"Times-Italic", [] { return static_cast<PdfType1FontDef*>(new PdfTimesItalicFontDef); }},
      {"Symbol", [] { return static_cast<PdfType1FontDef*>(new PdfSymbolFontDef); }},
      {"ZapfDingbats", [] { return static_cast<PdfType1FontDef*>(new PdfZapfDingbatsFontDef); }},
  };
  for (const Maker& m : kMakers)
    if (std::strcmp(m.name, baseFontName) == 0) return m.make();
  return nullptr;
}
