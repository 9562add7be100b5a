#include "pdf/font/pdf_font.h"

#include <cstring>

#include "pdf/pdf_exception.h"

PdfFont::PdfFont(PdfXref* xref, const char* name) : PdfStream(xref) { SetName(name); }

PdfFont::~PdfFont() { delete[] name_; }

void PdfFont::SetName(const char* name) {
  char* copy = PdfCopyText(name);  // first, so a name of its own text survives
  delete[] name_;
  name_ = copy;
}

TextWidthResult PdfFont::TextWidths(const char*, unsigned int*) { return TextWidthResult(); }

int PdfFont::MeasureText(const char*, double, double, double, double, double*) { return 0; }

PdfFontMgr::~PdfFontMgr() { delete fonts_; }

int PdfFontMgr::RegisterFont(PdfFont* font) {
  if (!fonts_) fonts_ = new PdfList();
  if (!font->GetName())
    throw PdfException(PDF_ERR_INVALID, "ERROR: PdfFontMgr::RegisterFont: invalid font --name is null.");
  if (GetFont(font->GetName()))
    throw PdfException(PDF_ERR_INVALID, "ERROR: PdfFontMgr::RegisterFont: duplicate font registration[%s]",
                       font->GetName());
  if (!font->IsIndirect())
    throw PdfException(PDF_ERR_INVALID, "ERROR: PdfFontMgr::RegisterFont: font must be indirect object[%s]",
                       font->GetName());
  if (!fonts_->Add(font)) throw PdfException(PDF_ERR_LIST, "ERROR: PdfFontMgr::RegisterFont");
  return fonts_->Count() - 1;
}

PdfFont* PdfFontMgr::GetFont(const char* name) const {
  if (!fonts_ || !name) return nullptr;
  for (int i = 0; i < fonts_->Count(); ++i) {
    PdfFont* f = static_cast<PdfFont*>(fonts_->ItemAt(i));
    if (f->GetName() && std::strcmp(f->GetName(), name) == 0) return f;
  }
  return nullptr;
}

PdfFont* PdfFontMgr::GetFontAt(int index) const {
  return fonts_ ? static_cast<PdfFont*>(fonts_->ItemAt(index)) : nullptr;
}
