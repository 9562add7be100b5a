// A font embedded from a TrueType or OpenType program: a Type0 font with the
// Identity-H encoding over one CIDFont whose character identifiers are the
// program's glyph indices. Text is shaped, measured by its shaped advances
// and drawn glyph by glyph; the program, its widths and the map back to the
// characters are written for the glyphs the page used, once drawing is done.
#pragma once

#include <map>
#include <set>
#include <string>
#include <unordered_map>

#include "pdf/font/pdf_font.h"
#include "pdf/font/text_shaper.h"

class PdfFontProgram;

class PdfType0Font : public PdfFont {
 public:
  // The program is not owned; it must outlive the document.
  PdfType0Font(PdfXref* xref, const char* name, const PdfFontProgram* program);

  TextWidthResult TextWidths(const char* text, unsigned int* widths) override;
  int MeasureText(const char* text, double maxWidth, double fontSize, double charSpace, double wordSpace,
                  double* realWidth) override;
  int GetAscent() const override;
  int GetDescent() const override;
  bool IsComposite() const override { return true; }
  std::string ShowTextOperators(const char* text, double fontSize, double textRise) override;
  void PrepareToWrite() override;
  // CID fonts with an embedded TrueType program came with PDF 1.3, an
  // embedded OpenType program with PDF 1.6.
  int GetMinimumMinorVersion() const override;

  // The shaped form of a text, made once per distinct text.
  const ShapedText& Shape(const char* text);
  const std::set<unsigned>& UsedGlyphs() const { return used_; }
  // Six capital letters that name this subset, from its glyphs.
  std::string SubsetTag() const;

 private:
  PdfDictionary* MakeDescriptor(const std::string& baseFont);
  PdfStream* MakeToUnicode();

  const PdfFontProgram* program_;
  std::unordered_map<std::string, ShapedText> shaped_;
  std::set<unsigned> used_;
  std::map<unsigned, std::u32string> toUnicode_;
  bool prepared_ = false;
};
