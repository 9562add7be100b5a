#include "pdf/pdf_xobject.h"

#include <cstring>

#include "pdf/pdf_exception.h"

PdfXObject::PdfXObject(PdfXref* xref, const char* name) : PdfStream(xref) { SetName(name); }

PdfXObject::~PdfXObject() { delete[] name_; }

void PdfXObject::SetName(const char* name) {
  char* copy = PdfCopyText(name);  // first, so a name of its own text survives
  delete[] name_;
  name_ = copy;
}

PdfXObjectMgr::~PdfXObjectMgr() { delete list_; }

int PdfXObjectMgr::RegisterXObject(PdfXObject* xobject) {
  if (!list_) list_ = new PdfList();
  if (!list_->Add(xobject)) throw PdfException(PDF_ERR_LIST, "ERROR: PdfXObjectMgr::RegisterXObject");
  return list_->Count() - 1;
}

PdfXObject* PdfXObjectMgr::GetXObject(const char* name) const {
  if (!list_ || !name) return nullptr;
  for (int i = 0; i < list_->Count(); ++i) {
    PdfXObject* x = static_cast<PdfXObject*>(list_->ItemAt(i));
    if (x->GetName() && std::strcmp(x->GetName(), name) == 0) return x;
  }
  return nullptr;
}
