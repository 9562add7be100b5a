#include "pdf/font/pdf_encoding.h"

#include <cstring>

#include "pdf/pdf_exception.h"
#include "pdf/pdf_objects.h"

namespace {

const char* const kKindNames[] = {"StandardEncoding", "MacRomanEncoding", "WinAnsiEncoding",
                                  "FontSpecific"};

}  // namespace

BaseEncodingKind BaseEncodingKindOf(const char* name) {
  if (!name) return kNoEncodingKind;
  for (int i = 0; i < 4; ++i)
    if (std::strcmp(name, kKindNames[i]) == 0) return static_cast<BaseEncodingKind>(i);
  if (std::strcmp(name, "AdobeStandardEncoding") == 0) return kStandardEncodingKind;
  return kNoEncodingKind;
}

const char* BaseEncodingName(int kind) {
  if (kind < 0 || kind > 3) return nullptr;
  return kKindNames[kind];
}

const char* GlyphNameOfUnicode(unsigned int unicode) {
  // The table is sorted, so the scan can stop at the first larger value.
  for (const GlyphNameEntry* e = GlyphNameTable; e->name; ++e) {
    if (e->unicode == unicode) return e->name;
    if (e->unicode > unicode) break;
  }
  return ".notdef";
}

unsigned int UnicodeOfGlyphName(const char* name) {
  if (!name) return 0;
  for (const GlyphNameEntry* e = GlyphNameTable; e->name; ++e)
    if (std::strcmp(e->name, name) == 0) return e->unicode;
  return 0;
}

PdfEncodingDef::~PdfEncodingDef() {
  ClearDifferences();
  delete differences_;
}

void PdfEncodingDef::Construct() {
  firstCode_ = 0;
  lastCode_ = 0;
  kind_ = kNoEncodingKind;
  ClearDifferences();
  std::memset(unicode_, 0, sizeof(unicode_));
}

void PdfEncodingDef::ClearDifferences() {
  if (!differences_) return;
  for (int i = 0; i < differences_->Count(); ++i) {
    PdfEncodingDifference* d = static_cast<PdfEncodingDifference*>(differences_->ItemAt(i));
    delete[] d->glyphName;
    delete d;
  }
  differences_->Clear();
}

void PdfEncodingDef::SetRange(unsigned int first, unsigned int last, const unsigned short* table) {
  // The table has room for kMaxCodes values only; a wider range would write
  // past it.
  if (first > last || last - first >= static_cast<unsigned int>(kMaxCodes))
    throw PdfException(PDF_ERR_INVALID, "ERROR: PdfEncodingDef::SetRange invalid range(%u-%u).",
                       first, last);
  firstCode_ = first;
  lastCode_ = last;
  ClearDifferences();
  std::memset(unicode_, 0, sizeof(unicode_));
  if (table) std::memcpy(unicode_, table, (last - first + 1) * sizeof(unsigned short));
}

const char* PdfEncodingDef::GlyphName(unsigned int code) const {
  if (code < firstCode_ || code > lastCode_) return ".notdef";
  return GlyphNameOfUnicode(unicode_[code - firstCode_]);
}

unsigned short PdfEncodingDef::UnicodeOf(unsigned int code) const {
  if (code < firstCode_ || code > lastCode_) return 0;
  return unicode_[code - firstCode_];
}

int PdfEncodingDef::CodeOf(unsigned short unicode) const {
  for (unsigned int code = firstCode_; code <= lastCode_; ++code)
    if (unicode_[code - firstCode_] == unicode) return static_cast<int>(code);
  return -1;
}

int PdfEncodingDef::CodeOf(const char* glyphName) const {
  return CodeOf(static_cast<unsigned short>(UnicodeOfGlyphName(glyphName)));
}

void PdfEncodingDef::AddDifference(int code, const char* glyphName) {
  if (!differences_) differences_ = new PdfList();
  PdfEncodingDifference* d = new PdfEncodingDifference;
  d->code = code;
  // Copied, so that a caller's temporary buffer cannot leave the encoding
  // pointing at freed memory.
  size_t n = glyphName ? std::strlen(glyphName) : 0;
  d->glyphName = new char[n + 1];
  if (n) std::memcpy(d->glyphName, glyphName, n);
  d->glyphName[n] = 0;
  if (!differences_->Add(d)) {
    delete[] d->glyphName;
    delete d;
    throw PdfException(PDF_ERR_LIST, "ERROR: PdfEncodingDef::AddDifference");
  }
}

const PdfEncodingDifference* PdfEncodingDef::GetDifference(int index) const {
  if (!differences_) return nullptr;
  return static_cast<const PdfEncodingDifference*>(differences_->ItemAt(index));
}

PdfObject* PdfEncodingDef::GetPdfForm(PdfXref* xref) {
  if (GetDifferenceCount() > 0) {
    PdfDictionary* dict = new PdfDictionary(xref);
    try {
      dict->AddElement("Type", new PdfName("Encoding"));
      if (kind_ != kFontSpecificKind && BaseEncodingName(kind_))
        dict->AddElement("BaseEncoding", new PdfName(BaseEncodingName(kind_)));
      PdfArray* differences = new PdfArray(xref);
      dict->AddElement("Differences", differences);
      for (int i = 0; i < differences_->Count(); ++i) {
        const PdfEncodingDifference* d = GetDifference(i);
        differences->Add(new PdfNumber(d->code));
        differences->Add(new PdfName(d->glyphName));
      }
    } catch (...) {
      delete dict;
      throw;
    }
    return dict;
  }
  const char* name = BaseEncodingName(kind_);
  // An encoding of no kind has no name to give; the font then gets no
  // Encoding entry, rather than an empty name.
  return name ? new PdfName(name) : nullptr;
}

int PdfEncodingDef::ToUnicodeText(const char* text, unsigned char* out, int* size) const {
  if (!out || !size || *size <= 3) return -1;
  int limit = *size;
  int pos = 0;
  out[pos++] = 0xFE;
  out[pos++] = 0xFF;
  if (text) {
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
      if (pos >= limit - 1) continue;
      unsigned short u = UnicodeOf(*p);
      out[pos++] = static_cast<unsigned char>(u >> 8);
      out[pos++] = static_cast<unsigned char>(u & 0xFF);
    }
  }
  *size = pos;
  return pos;
}

PdfStandardEncoding::PdfStandardEncoding() {
  SetRange(kBuiltinEncodingFirst, kBuiltinEncodingLast, kStandardEncodingUnicode);
  SetEncodingKind(kStandardEncodingKind);
}

PdfMacRomanEncoding::PdfMacRomanEncoding() {
  SetRange(kBuiltinEncodingFirst, kBuiltinEncodingLast, kMacRomanEncodingUnicode);
  SetEncodingKind(kMacRomanEncodingKind);
}

PdfWinAnsiEncoding::PdfWinAnsiEncoding() {
  SetRange(kBuiltinEncodingFirst, kBuiltinEncodingLast, kWinAnsiEncodingUnicode);
  SetEncodingKind(kWinAnsiEncodingKind);
}

PdfEncodingDef* CreateBuiltinEncoding(int kind) {
  switch (kind) {
    case kStandardEncodingKind:
      return new PdfStandardEncoding();
    case kMacRomanEncodingKind:
      return new PdfMacRomanEncoding();
    case kWinAnsiEncodingKind:
    case kNoEncodingKind:
      return new PdfWinAnsiEncoding();
    default:
      return nullptr;
  }
}
