// The abstract font object and the document's font manager.
#pragma once

#include <string>

#include "pdf/pdf_list.h"
#include "pdf/pdf_objects.h"

struct TextWidthResult {
  int charCount = 0;   // bytes
  int spaceCount = 0;  // bytes equal to 32
  int width = 0;       // sum of glyph widths in thousandths of the size
};

// A font is a stream object that never receives data, so it is written as a
// plain dictionary; it is always indirect.
class PdfFont : public PdfStream {
 public:
  PdfFont(PdfXref* xref, const char* name);
  ~PdfFont() override;

  virtual TextWidthResult TextWidth(const char* text) { return TextWidths(text, nullptr); }
  virtual TextWidthResult TextWidths(const char* text, unsigned int* widths);
  // Number of bytes of text that fit into maxWidth.
  virtual int MeasureText(const char* text, double maxWidth, double fontSize, double charSpace,
                          double wordSpace, double* realWidth);
  virtual int GetWritingMode() const { return writingMode_; }
  virtual int GetAscent() const = 0;
  virtual int GetDescent() const = 0;

  // A composite font draws text through its own operators instead of one
  // string of bytes with Tj; the standard fonts are simple.
  virtual bool IsComposite() const { return false; }
  // The operators that show text at the current position (each ending in a
  // line feed); fontSize and textRise are the current text state.
  virtual std::string ShowTextOperators(const char*, double, double) { return std::string(); }
  // Completes the font's objects once drawing is done, before the file is written.
  virtual void PrepareToWrite() {}
  // The digit after "%PDF-1." of the oldest file version that has this
  // font's kind; the standard fonts are in every version.
  virtual int GetMinimumMinorVersion() const { return 2; }

  const char* GetName() const { return name_; }

 protected:
  void SetName(const char* name);

 private:
  char* name_ = nullptr;
  int writingMode_ = 0;
};

class PdfFontMgr {
 public:
  explicit PdfFontMgr(PdfXref* xref) : xref_(xref) {}
  ~PdfFontMgr();
  PdfFontMgr(const PdfFontMgr&) = delete;
  PdfFontMgr& operator=(const PdfFontMgr&) = delete;

  int RegisterFont(PdfFont* font);
  PdfFont* GetFont(const char* name) const;
  int GetCount() const { return fonts_ ? fonts_->Count() : 0; }
  PdfFont* GetFontAt(int index) const;
  PdfXref* GetXref() const { return xref_; }

 private:
  PdfList* fonts_ = nullptr;
  PdfXref* xref_;
};
