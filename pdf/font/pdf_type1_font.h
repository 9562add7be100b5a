// A Type1 font object of a document: the font dictionary made from a font
// definition and an encoding, and the width of every code it covers.
#pragma once

#include "pdf/font/pdf_encoding.h"
#include "pdf/font/pdf_font.h"
#include "pdf/font/pdf_font_def.h"

class PdfType1Font : public PdfFont {
 public:
  explicit PdfType1Font(PdfXref* xref) : PdfFont(xref, nullptr) {}
  ~PdfType1Font() override;

  // Fills the font dictionary; done once, right after the font is made.
  void Setup(const char* name, PdfType1FontDef* fontDef, PdfEncodingDef* encoding);

  TextWidthResult TextWidths(const char* text, unsigned int* widths) override;
  int MeasureText(const char* text, double maxWidth, double fontSize, double charSpace,
                  double wordSpace, double* realWidth) override;
  int GetAscent() const override { return setUp_ && fontDef_ ? fontDef_->GetAscent() : 0; }
  int GetDescent() const override { return setUp_ && fontDef_ ? fontDef_->GetDescent() : 0; }

  // Width of one byte in thousandths of the font size.
  int CharWidth(unsigned char code) const;

  bool IsSetUp() const { return setUp_; }
  int GetFirstChar() const { return firstChar_; }
  int GetLastChar() const { return lastChar_; }
  int GetMissingWidth() const { return missingWidth_; }
  int GetFlags() const { return flags_; }
  PdfType1FontDef* GetFontDef() const { return fontDef_; }
  PdfEncodingDef* GetEncoding() const { return encoding_; }
  PdfDictionary* GetFontDescriptor() const { return fontDescriptor_; }

 private:
  PdfDictionary* CreateFontDescriptor();

  bool setUp_ = false;
  PdfDictionary* fontDescriptor_ = nullptr;
  PdfEncodingDef* encoding_ = nullptr;
  PdfType1FontDef* fontDef_ = nullptr;
  int firstChar_ = 0;
  int lastChar_ = 0;
  int missingWidth_ = 0;
  int* widths_ = nullptr;
  int widthCount_ = 0;
  int flags_ = 0;
};
