#include <cstring>

#include "pdf/font/pdf_encoding.h"
#include "pdf/pdf_auto_ptr.h"
#include "pdf/pdf_doc.h"
#include "pdf/pdf_objects.h"
#include "pdf/pdf_xref.h"

PdfEncodedText::PdfEncodedText(const char* text, PdfEncodingDef* encoding) {
  if (!text) text = "";
  int size = static_cast<int>(std::strlen(text)) * 2 + 2;
  data_ = new unsigned char[size];
  if (!encoding || encoding->ToUnicodeText(text, data_, &size) < 0) size = 0;
  length_ = size;
}

PdfEncodedText::PdfEncodedText(const unsigned char* bytes, int length) {
  if (!bytes || length < 0) length = 0;
  data_ = new unsigned char[length > 0 ? length : 1];
  if (length > 0) std::memcpy(data_, bytes, static_cast<size_t>(length));
  length_ = length;
}

// The document's ownership registry keeps an encoding alive for as long as
// the texts that were made through it.
void RegisterEncodingWithDocument(PdfXref* xref, PdfEncodingDef* encoding) {
  if (!encoding || encoding->GetAutoPtrMgr() || !xref || !xref->GetDoc()) return;
  xref->GetDoc()->GetAutoPtrMgr()->RegisterObject(encoding);
}
