#include "pdf/pdf_auto_ptr.h"

#include "pdf/pdf_exception.h"

PdfAutoPtrObject::~PdfAutoPtrObject() {
  if (mgr_) mgr_->Unregister(this);
}

PdfAutoPtrMgr::~PdfAutoPtrMgr() {
  if (!list_) return;
  for (int i = 0; i < list_->Count(); ++i) {
    PdfAutoPtrObject* thing = static_cast<PdfAutoPtrObject*>(list_->ItemAt(i));
    thing->mgr_ = nullptr;
    delete thing;
  }
  delete list_;
}

void PdfAutoPtrMgr::RegisterObject(PdfAutoPtrObject* thing) {
  if (thing->mgr_ == this) return;
  if (thing->mgr_)
    throw new PdfException(PDF_ERR_INVALID,
                           "ERROR:PdfAutoPtrMgr::RegisterObject this object owned by other object.");
  if (!list_) list_ = new PdfList();
  if (!list_->Add(thing)) {
    delete thing;
    throw new PdfException(PDF_ERR_INVALID,
                           "ERROR: PdfAutoPtrMgr::RegisterObject cannot register object.");
  }
  thing->mgr_ = this;
  thing->OnRegistered();
}

void PdfAutoPtrMgr::Unregister(PdfAutoPtrObject* thing) {
  if (list_) {
    int i = list_->Find(thing);
    if (i >= 0) list_->Remove(i);
  }
  thing->mgr_ = nullptr;
}
