// Type1 font definitions: names, metrics and glyph widths of a font, and the
// fourteen standard fonts every PDF viewer provides.
#pragma once

#include "pdf/font/pdf_encoding.h"
#include "pdf/pdf_auto_ptr.h"

class PdfDictionary;

// One entry of a width list given to LoadWidths; a list ends with an entry
// whose name is nullptr.
struct PdfGlyphWidth {
  int code;  // code in the font's built-in encoding, -1 for none
  const char* name;
  int width;
};

// One entry of a definition's width table.
struct GlyphMetric {
  int code;
  char* glyphName;  // owned copy
  int width;
};

// The published metrics of one standard font, generated from its AFM file.
struct PdfStandardFontMetrics {
  const char* fontName;
  int ascent;
  int descent;
  int xHeight;
  int fontBBox[4];
  BaseEncodingKind encodingKind;
  int firstChar;
  int lastChar;
  int glyphCount;
  const PdfGlyphWidth* widths;  // glyphCount entries and the end entry
};

extern const PdfStandardFontMetrics kStandardFontMetrics[];
extern const int kStandardFontCount;

class PdfType1FontDef : public PdfAutoPtrObject {
 public:
  static const int kMaxName = 127;
  static const int kDefaultFlags = 32;  // Nonsymbolic

  PdfType1FontDef() { Clear(); }
  ~PdfType1FontDef() override;

  // Frees the width table and the font program; every field back to its
  // default.
  void Clear();
  // Clear, then both names set to name (cut at 127 characters).
  void Construct(const char* name);
  void LoadWidths(const PdfGlyphWidth* entries);
  int WidthByName(const char* glyphName) const;
  int WidthByCode(int code) const;

  const char* GetBaseFont() const { return baseFont_; }
  void SetBaseFont(const char* name);
  const char* GetFontName() const { return fontName_; }
  void SetFontName(const char* name);
  int GetWidthCount() const { return widthCount_; }
  const GlyphMetric* GetWidthAt(int index) const;
  int GetFirstChar() const { return firstChar_; }
  int GetLastChar() const { return lastChar_; }
  void SetCharRange(int first, int last) { firstChar_ = first; lastChar_ = last; }
  int GetAscent() const { return ascent_; }
  void SetAscent(int value) { ascent_ = value; }
  int GetDescent() const { return descent_; }
  void SetDescent(int value) { descent_ = value; }
  int GetFlags() const { return flags_; }
  void SetFlags(int value) { flags_ = value; }
  const int* GetFontBBox() const { return fontBBox_; }
  void SetFontBBox(int left, int bottom, int right, int top);
  int GetItalicAngle() const { return italicAngle_; }
  void SetItalicAngle(int value) { italicAngle_ = value; }
  int GetStemV() const { return stemV_; }
  void SetStemV(int value) { stemV_ = value; }
  int GetMissingWidth() const { return missingWidth_; }
  void SetMissingWidth(int value) { missingWidth_ = value; }
  int GetXHeight() const { return xHeight_; }
  void SetXHeight(int value) { xHeight_ = value; }
  int GetCapHeight() const { return capHeight_; }
  void SetCapHeight(int value) { capHeight_ = value; }
  const char* GetCharSet() const { return charSet_; }
  void SetCharSet(const char* charSet);
  int GetLength1() const { return length1_; }
  int GetLength2() const { return length2_; }
  int GetLength3() const { return length3_; }
  bool IsStandardFont() const { return isStandard_; }
  BaseEncodingKind GetEncodingKind() const { return encodingKind_; }
  void SetEncodingKind(BaseEncodingKind kind) { encodingKind_ = kind; }

  // The font program to embed (copied), with its three Type1 part lengths.
  void SetFontFile(const void* data, int length, int length1, int length2, int length3);
  const unsigned char* GetFontFile() const { return fontFile_; }
  int GetFontFileLength() const { return fontFileLength_; }

  // The descriptor made for the first font of this definition; owned by the
  // object table it was registered in.
  PdfDictionary* GetFontDescriptor() const { return fontDescriptor_; }
  void SetFontDescriptor(PdfDictionary* descriptor) { fontDescriptor_ = descriptor; }

 protected:
  // The fourteen standard definitions: names, widths and scalar fields from
  // the record of the font's AFM file.
  void ConstructStandard(const char* fontName);
  void SetStandardFont(bool standard) { isStandard_ = standard; }

 private:
  void FreeWidths();

  char baseFont_[kMaxName + 1];
  char fontName_[kMaxName + 1];
  GlyphMetric* widths_ = nullptr;
  int widthCount_ = 0;
  int firstChar_ = 0;
  int lastChar_ = 0;
  int ascent_ = 0;
  int descent_ = 0;
  int flags_ = kDefaultFlags;
  int fontBBox_[4] = {};
  int italicAngle_ = 0;
  int stemV_ = 0;
  int missingWidth_ = 0;
  int xHeight_ = 0;
  int capHeight_ = 0;
  char charSet_[kMaxName + 1];
  int length1_ = 0;
  int length2_ = 0;
  int length3_ = 0;
  bool isStandard_ = false;
  BaseEncodingKind encodingKind_ = kStandardEncodingKind;
  unsigned char* fontFile_ = nullptr;
  int fontFileLength_ = 0;
  PdfDictionary* fontDescriptor_ = nullptr;
};

#define PV_STANDARD_FONT_DEF(ClassName, FontName) \
  class ClassName : public PdfType1FontDef {      \
   public:                                        \
    ClassName() { ConstructStandard(FontName); }  \
  };

PV_STANDARD_FONT_DEF(PdfCourierFontDef, "Courier")
PV_STANDARD_FONT_DEF(PdfCourierBoldFontDef, "Courier-Bold")
PV_STANDARD_FONT_DEF(PdfCourierBoldObliqueFontDef, "Courier-BoldOblique")
PV_STANDARD_FONT_DEF(PdfCourierObliqueFontDef, "Courier-Oblique")
PV_STANDARD_FONT_DEF(PdfHelveticaFontDef, "Helvetica")
PV_STANDARD_FONT_DEF(PdfHelveticaBoldFontDef, "Helvetica-Bold")
PV_STANDARD_FONT_DEF(PdfHelveticaBoldObliqueFontDef, "Helvetica-BoldOblique")
PV_STANDARD_FONT_DEF(PdfHelveticaObliqueFontDef, "Helvetica-Oblique")
PV_STANDARD_FONT_DEF(PdfTimesRomanFontDef, "Times-Roman")
PV_STANDARD_FONT_DEF(PdfTimesBoldFontDef, "Times-Bold")
PV_STANDARD_FONT_DEF(PdfTimesBoldItalicFontDef, "Times-BoldItalic")
PV_STANDARD_FONT_DEF(PdfTimesItalicFontDef, "Times-Italic")
PV_STANDARD_FONT_DEF(PdfSymbolFontDef, "Symbol")
PV_STANDARD_FONT_DEF(PdfZapfDingbatsFontDef, "ZapfDingbats")

#undef PV_STANDARD_FONT_DEF

// A new definition of the standard font with this base font name (exact,
// case-sensitive, e.g. "Times-Bold"), or nullptr for any other name.
PdfType1FontDef* CreateStandardFontDef(const char* baseFontName);
