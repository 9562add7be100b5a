// The object table: numbers every indirect object, owns it, and writes all
// objects and the cross-reference section.
#pragma once

#include "pdf/pdf_list.h"

class PdfObject;
class PdfStreamBase;
class PdfEncryptor;
class PdfDoc;

struct PdfXrefEntry {
  char type;        // 'f' or 'n'
  int byteOffset;
  int generation;
  PdfObject* object;
};

class PdfXref {
 public:
  explicit PdfXref(PdfDoc* doc) : doc_(doc) {}
  PdfXref(const PdfXref&) = delete;
  PdfXref& operator=(const PdfXref&) = delete;
  ~PdfXref();

  void Init();
  // Registers the object; returns its new object number. A refused object
  // is deleted.
  int AddObject(PdfObject* object);
  // The same for a constructor registering the object it is building: a
  // refused object is left to the failing constructor, which frees it.
  int AddObjectUnderConstruction(PdfObject* object);
  // Takes back the last registration when its constructor fails after it.
  void RemoveLast(PdfObject* object);
  PdfObject* GetObject(int objectId) const;
  PdfXrefEntry* GetEntry(int index) const;
  // Entries including entry 0: the trailer's Size.
  int GetCount() const { return entries_ ? entries_->Count() : 0; }
  void Clear();
  void WriteToStream(PdfStreamBase* out, PdfEncryptor* encryptor);
  int GetXrefOffset() const { return xrefOffset_; }
  PdfDoc* GetDoc() const { return doc_; }

 private:
  PdfList* entries_ = nullptr;
  int xrefOffset_ = 0;
  PdfDoc* doc_;
};
