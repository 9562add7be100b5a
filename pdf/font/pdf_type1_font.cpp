#include "pdf/font/pdf_type1_font.h"

#include <cstring>

#include "pdf/pdf_auto_ptr.h"
#include "pdf/pdf_doc.h"
#include "pdf/pdf_exception.h"
#include "pdf/pdf_stream.h"
#include "pdf/pdf_xref.h"

namespace {

// The ownership registry reports its failures as a pointer to a new
// exception; everywhere else the layer throws by value, and that is what the
// callers of AddType1Font catch.
void RegisterOwned(PdfAutoPtrMgr* mgr, PdfAutoPtrObject* thing) {
  try {
    mgr->RegisterObject(thing);
  } catch (PdfException* e) {
    PdfException copy = *e;
    delete e;
    throw copy;
  }
}

}  // namespace

PdfType1Font::~PdfType1Font() { delete[] widths_; }

void PdfType1Font::Setup(const char* name, PdfType1FontDef* fontDef, PdfEncodingDef* encoding) {
  if (!fontDef) throw PdfException(PDF_ERR_INVALID, "ERROR: PdfType1Font::Setup fontdef is null.");
  fontDef_ = fontDef;
  encoding_ = encoding;
  flags_ = fontDef->GetFlags();
  SetName(name);

  AddElement("Type", new PdfName("Font"));
  PdfArray* widthsArray = nullptr;
  if (!fontDef->IsStandardFont()) {
    widthsArray = new PdfArray(GetXref());
    AddElement("Widths", widthsArray);
  }

  bool byName = encoding && encoding->GetEncodingKind() != kFontSpecificKind;
  if (byName) {
    firstChar_ = static_cast<int>(encoding->GetFirstCode());
    lastChar_ = static_cast<int>(encoding->GetLastCode());
  } else {
    firstChar_ = fontDef->GetFirstChar();
    lastChar_ = fontDef->GetLastChar();
    if (fontDef->GetEncodingKind() == kFontSpecificKind) flags_ = (flags_ ^ 32) | 4;
  }

  delete[] widths_;
  widths_ = nullptr;
  // A definition with a reversed range covers no code; every byte then takes
  // the missing width instead of indexing a negative-sized array.
  widthCount_ = lastChar_ >= firstChar_ ? lastChar_ - firstChar_ + 1 : 0;
  if (widthCount_ > 0) widths_ = new int[widthCount_];
  for (int i = 0; i < widthCount_; ++i) {
    int code = firstChar_ + i;
    int w = byName ? fontDef->WidthByName(encoding->GlyphName(static_cast<unsigned int>(code)))
                   : fontDef->WidthByCode(code);
    widths_[i] = w;
    if (widthsArray) widthsArray->Add(new PdfNumber(w));
  }
  missingWidth_ = fontDef->GetMissingWidth();

  AddElement("Subtype", new PdfName("Type1"));
  AddElement("BaseFont", new PdfName(fontDef->GetBaseFont()));
  AddElement("FirstChar", new PdfNumber(firstChar_));
  AddElement("LastChar", new PdfNumber(lastChar_));
  if (encoding) {
    PdfObject* form = encoding->GetPdfForm(GetXref());
    if (form) AddElement("Encoding", form);
  }
  if (!fontDef->IsStandardFont()) {
    fontDescriptor_ = fontDef->GetFontDescriptor();
    if (!fontDescriptor_) fontDescriptor_ = CreateFontDescriptor();
    AddElement("FontDescriptor", fontDescriptor_);
  }
  setUp_ = true;
}

PdfDictionary* PdfType1Font::CreateFontDescriptor() {
  PdfXref* xref = GetXref();
  PdfDictionary* desc = new PdfDictionary(xref);
  xref->AddObject(desc);
  desc->AddElement("Type", new PdfName("FontDescriptor"));
  desc->AddElement("Ascent", new PdfNumber(fontDef_->GetAscent()));
  desc->AddElement("CapHeight", new PdfNumber(fontDef_->GetCapHeight()));
  desc->AddElement("Descent", new PdfNumber(fontDef_->GetDescent()));
  PdfArray* bbox = new PdfArray(xref);
  desc->AddElement("FontBBox", bbox);
  const int* b = fontDef_->GetFontBBox();
  bbox->AddNumbers(b[0], b[1], b[2], b[3]);
  desc->AddElement("FontName", new PdfName(fontDef_->GetFontName()));
  desc->AddElement("ItalicAngle", new PdfNumber(fontDef_->GetItalicAngle()));
  desc->AddElement("StemV", new PdfNumber(fontDef_->GetStemV()));
  desc->AddElement("Flags", new PdfNumber(flags_));
  if (fontDef_->GetCharSet()[0]) desc->AddElement("CharSet", new PdfText(fontDef_->GetCharSet()));
  if (fontDef_->GetXHeight() != 0) desc->AddElement("XHeight", new PdfNumber(fontDef_->GetXHeight()));
  if (fontDef_->GetFontFile()) {
    PdfStream* file = new PdfStream(xref);
    xref->AddObject(file);
    file->SetFilter(PDF_FILTER_FLATE);
    file->GetStream()->Write(fontDef_->GetFontFile(), fontDef_->GetFontFileLength());
    file->AddElement("Length1", new PdfNumber(fontDef_->GetLength1()));
    file->AddElement("Length2", new PdfNumber(fontDef_->GetLength2()));
    file->AddElement("Length3", new PdfNumber(fontDef_->GetLength3()));
    desc->AddElement("FontFile", file);
  }
  fontDef_->SetFontDescriptor(desc);
  return desc;
}

int PdfType1Font::CharWidth(unsigned char code) const {
  int c = code;
  if (c < firstChar_ || c > lastChar_ || !widths_) return missingWidth_;
  return widths_[c - firstChar_];
}

TextWidthResult PdfType1Font::TextWidths(const char* text, unsigned int* widths) {
  TextWidthResult r;
  if (!text) return r;
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
    int w = CharWidth(*p);
    r.width += w;
    if (widths) widths[r.charCount] = static_cast<unsigned int>(w);
    if (*p == 32) ++r.spaceCount;
    ++r.charCount;
  }
  return r;
}

int PdfType1Font::MeasureText(const char* text, double maxWidth, double fontSize, double charSpace,
                              double wordSpace, double* realWidth) {
  if (!text) return 0;
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
  int n = static_cast<int>(std::strlen(text));
  double w = 0;
  int lastBreak = 0;
  for (int i = 0; i < n; ++i) {
    w += CharWidth(bytes[i]) * fontSize * 0.001;
    if (w > maxWidth) {
      if (lastBreak > 0) return lastBreak;
      if (realWidth) *realWidth = w;
      return i;
    }
    if (realWidth) *realWidth = w;
    if (i > 0) w += charSpace;
    if (bytes[i] == 32) {
      w += wordSpace;
      lastBreak = i + 1;
    }
  }
  return n;
}

int PdfDoc::AddType1Font(PdfType1FontDef* fontDef, const char* name, PdfEncodingDef* encoding) {
  if (!fontDef) throw PdfException(PDF_ERR_INVALID, "PdfDoc::AddType1Font fontdef is null.");
  PdfAutoPtrMgr* owner = GetAutoPtrMgr();
  RegisterOwned(owner, fontDef);
  if (!name) name = fontDef->GetFontName();
  if (encoding) {
    RegisterOwned(owner, encoding);
  } else {
    encoding = CreateBuiltinEncoding(fontDef->GetEncodingKind());
    if (encoding) RegisterOwned(owner, encoding);
  }
  PdfType1Font* font = new PdfType1Font(xref_);
  if (!font->IsIndirect()) xref_->AddObject(font);
  font->Setup(name, fontDef, encoding);
  font->SetFilter(PDF_FILTER_FLATE);
  return fontMgr_->RegisterFont(font);
}
