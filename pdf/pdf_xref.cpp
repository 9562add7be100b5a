#include "pdf/pdf_xref.h"

#include <cstdio>

#include "pdf/pdf_exception.h"
#include "pdf/pdf_objects.h"
#include "pdf/pdf_stream.h"
#include "pdf/security/pdf_encrypt.h"

PdfXref::~PdfXref() {
  Clear();
  delete entries_;
}

void PdfXref::Init() {
  if (!entries_) entries_ = new PdfList();
  if (entries_->Count() > 0) return;
  PdfXrefEntry* head = new PdfXrefEntry{'f', 0, 65535, nullptr};
  if (!entries_->Add(head)) {
    delete head;
    throw PdfException(PDF_ERR_LIST, "PdfXref::Init()");
  }
}

int PdfXref::AddObject(PdfObject* object) {
  try {
    return AddObjectUnderConstruction(object);
  } catch (...) {
    delete object;
    throw;
  }
}

int PdfXref::AddObjectUnderConstruction(PdfObject* object) {
  if (!entries_ || entries_->Count() == 0) Init();
  PdfXrefEntry* entry = new PdfXrefEntry{'n', 0, object->GetGenerationNo(), object};
  if (!entries_->Add(entry)) {
    delete entry;
    throw PdfException(PDF_ERR_LIST, "PdfXref::AddObject");
  }
  int id = entries_->Count() - 1;
  object->SetObjectId(id);
  return id;
}

void PdfXref::RemoveLast(PdfObject* object) {
  int last = GetCount() - 1;
  PdfXrefEntry* entry = GetEntry(last);
  if (last < 1 || entry->object != object) return;
  delete static_cast<PdfXrefEntry*>(entries_->Remove(last));
  object->SetObjectId(0);
}

PdfXrefEntry* PdfXref::GetEntry(int index) const {
  return entries_ ? static_cast<PdfXrefEntry*>(entries_->ItemAt(index)) : nullptr;
}

PdfObject* PdfXref::GetObject(int objectId) const {
  PdfXrefEntry* entry = GetEntry(objectId);
  return entry ? entry->object : nullptr;
}

void PdfXref::Clear() {
  if (entries_) {
    for (int i = 0; i < entries_->Count(); ++i) {
      PdfXrefEntry* entry = static_cast<PdfXrefEntry*>(entries_->ItemAt(i));
      delete entry->object;
      delete entry;
    }
    entries_->Clear();
  }
  xrefOffset_ = 0;
}

void PdfXref::WriteToStream(PdfStreamBase* out, PdfEncryptor* encryptor) {
  if (!entries_ || entries_->Count() == 0) Init();
  // The count is read again at every step: writing a stream may register
  // its Length object, which must be written too.
  for (int i = 1; i < entries_->Count(); ++i) {
    PdfXrefEntry* entry = GetEntry(i);
    entry->byteOffset = out->GetSize();
    if (encryptor) encryptor->Init(entry->object->GetObjectId(), entry->object->GetGenerationNo());
    entry->object->WriteToStream(out, encryptor);
  }
  xrefOffset_ = out->GetSize();
  *out << "xref\r\n0 " << static_cast<unsigned int>(entries_->Count()) << "\r\n";
  for (int i = 0; i < entries_->Count(); ++i) {
    PdfXrefEntry* entry = GetEntry(i);
    char line[32];
    int n = snprintf(line, sizeof line, "%010d %05d %c\r\n", entry->byteOffset, entry->generation, entry->type);
    out->Write(line, n);
  }
}
