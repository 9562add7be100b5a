// The content stream of one page: every drawing call writes its PDF operator
// text here, under a strict graphics-mode discipline, and updates a small
// record of the graphics and text state that the measuring functions read.
#pragma once

#include "pdf/pdf_objects.h"

class PdfPage;
class PdfFont;
class PdfFontMgr;
class PdfXObject;
class PdfXObjectMgr;
class PdfStreamBase;

// The numbers appear in error messages.
enum GraphicsMode { PageDescription = 0, PathObject = 1, TextObject = 2, ClippingPath = 3 };

struct PdfPoint {
  double x;
  double y;
};

struct PdfTextMatrix {
  double a, b, c, d, e, f;
};

class PdfContents : public PdfStream {
 public:
  explicit PdfContents(PdfPage* page);

  // Graphics state.
  void SetLineWidth(double width);
  void SetLineCap(unsigned int cap);
  void SetLineJoin(unsigned int join);
  void SetMiterLimit(double limit);
  void SetDash(unsigned int on, unsigned int off, unsigned int phase);
  void SetFlat(int flatness);
  void GSave();
  void GRestore();
  void Concat(double a, double b, double c, double d, double e, double f);

  // Path construction and painting.
  void MoveTo(double x, double y);
  void LineTo(double x, double y);
  void CurveTo(double x1, double y1, double x2, double y2, double x3, double y3);
  void CurveTo2(double x2, double y2, double x3, double y3);
  void CurveTo3(double x1, double y1, double x3, double y3);
  void ClosePath();
  void Rectangle(double x, double y, double width, double height);
  void Stroke();
  void ClosePathStroke();
  void Fill();
  void Eofill();
  void FillStroke();
  void EofillStroke();
  void ClosePathFillStroke();
  void ClosePathEofillStroke();
  void EndPath();
  void Clip();
  void Eolip();

  // Colours.
  void SetGrayFill(double gray);
  void SetGrayStroke(double gray);
  void SetRGBFill(double r, double g, double b);
  void SetRGBFill(int r, int g, int b);
  void SetRGBStroke(double r, double g, double b);
  void SetRGBStroke(int r, int g, int b);
  void SetCMYKFill(double c, double m, double y, double k);
  void SetCMYKStroke(double c, double m, double y, double k);

  // Text state.
  void SetCharSpace(double spacing);
  void SetWordSpace(double spacing);
  void SetHorizontalScalling(double percent);
  void SetTextLeading(double leading);
  void SetTextRenderingMode(int mode);
  void SetTextRaise(double rise);
  void SetFontAndSize(const char* fontName, double size);
  void SetFontAndSize(PdfFont* font, double size);

  // Text objects, positioning and showing.
  void BeginText();
  void EndText();
  void MoveTextPos(double x, double y);
  void MoveTextPos2(double x, double y);
  void SetTextMatrix(double a, double b, double c, double d, double x, double y);
  void MoveToNextLine();
  void ShowText(const char* text);
  void ShowTextNextLine(const char* text);
  void ShowTextNextLine(double wordSpace, double charSpace, const char* text);

  // Measuring in the current font and size (no mode check).
  double TextWidth(const char* text, int* charCount = nullptr, int* spaceCount = nullptr);
  // widths receives one element per byte of text.
  void CharWidths(const char* text, double* widths);
  // The number of bytes of text that fit into maxWidth.
  int MeasureText(const char* text, double maxWidth, double* realWidth = nullptr);

  // XObjects.
  void ExecuteXObject(const char* name);
  void ExecuteXObject(PdfXObject* xobject);

  // Convenience.
  void ShowTextAt(double x, double y, const char* text);
  // Line-broken text inside the rectangle; only carriage returns break lines.
  void ShowTextInRect(const char* text, double left, double bottom, double right, double top,
                      int maxBytesPerLine);

  // The state record: what was last written.
  PdfPage* GetPage() const { return page_; }
  GraphicsMode GetGMode() const { return gMode_; }
  PdfFont* GetCurrentFont() const { return font_; }
  double GetFontSize() const { return fontSize_; }
  double GetCharSpace() const { return charSpace_; }
  double GetWordSpace() const { return wordSpace_; }
  double GetHorizontalScalling() const { return horizontalScaling_; }
  double GetTextLeading() const { return textLeading_; }
  int GetTextRenderingMode() const { return renderingMode_; }
  double GetTextRaise() const { return textRise_; }
  double GetLineWidth() const { return lineWidth_; }
  unsigned int GetLineCap() const { return lineCap_; }
  unsigned int GetLineJoin() const { return lineJoin_; }
  double GetMiterLimit() const { return miterLimit_; }
  unsigned int GetDashOn() const { return dashOn_; }
  unsigned int GetDashOff() const { return dashOff_; }
  unsigned int GetDashPhase() const { return dashPhase_; }
  unsigned int GetFlat() const { return flatness_; }
  PdfPoint GetStartPoint() const { return startPoint_; }
  PdfPoint GetCurrentPoint() const { return currentPoint_; }
  PdfPoint GetTextPos() const { return textPos_; }
  PdfTextMatrix GetTextMatrix() const { return textMatrix_; }
  void GetRGBFill(double* r, double* g, double* b) const;
  void GetRGBStroke(double* r, double* g, double* b) const;
  double GetGrayFill() const { return grayFill_; }
  double GetGrayStroke() const { return grayStroke_; }

 private:
  PdfStreamBase& Out();
  void CheckMode(const char* operation, unsigned int modes) const;
  void RequireFont(const char* message) const;
  void WriteText(const char* text);
  void WriteName(const char* name);
  void NextLineStep();
  void AdvanceText(const char* text);
  PdfFontMgr* FontMgr() const;
  PdfXObjectMgr* XObjectMgr() const;

  PdfPage* page_;
  double charSpace_ = 0;
  double wordSpace_ = 0;
  double fontSize_ = 10;
  PdfFont* font_ = nullptr;
  double horizontalScaling_ = 100;
  double textLeading_ = 0;
  int renderingMode_ = 0;
  double textRise_ = 0;
  double lineWidth_ = 1;
  unsigned int lineCap_ = 0;
  unsigned int lineJoin_ = 0;
  double miterLimit_ = 10;
  unsigned int dashOn_ = 0;
  unsigned int dashOff_ = 0;
  unsigned int dashPhase_ = 0;
  unsigned int flatness_ = 0;
  PdfPoint startPoint_ = {0, 0};
  PdfPoint currentPoint_ = {0, 0};
  PdfPoint textPos_ = {0, 0};
  PdfTextMatrix textMatrix_ = {1, 0, 0, 1, 0, 0};
  GraphicsMode gMode_ = PageDescription;
  double rgbFill_[3] = {0, 0, 0};
  double rgbStroke_[3] = {0, 0, 0};
  double grayFill_ = 0;
  double grayStroke_ = 0;
};
