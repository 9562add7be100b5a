// The ownership registry for things that are not PDF objects but must live as
// long as a document (font definitions, encodings).
#pragma once

#include "pdf/pdf_list.h"

class PdfAutoPtrMgr;

class PdfAutoPtrObject {
 public:
  PdfAutoPtrObject() = default;
  PdfAutoPtrObject(const PdfAutoPtrObject&) = delete;
  PdfAutoPtrObject& operator=(const PdfAutoPtrObject&) = delete;
  // Unregisters itself from its registry, if any.
  virtual ~PdfAutoPtrObject();
  virtual int GetKind() const { return 0; }
  // Called once the registry has taken the thing.
  virtual void OnRegistered() {}

  PdfAutoPtrMgr* GetAutoPtrMgr() const { return mgr_; }

 private:
  friend class PdfAutoPtrMgr;
  PdfAutoPtrMgr* mgr_ = nullptr;
};

class PdfAutoPtrMgr {
 public:
  PdfAutoPtrMgr() = default;
  PdfAutoPtrMgr(const PdfAutoPtrMgr&) = delete;
  PdfAutoPtrMgr& operator=(const PdfAutoPtrMgr&) = delete;
  // Deletes every registered thing in registration order.
  ~PdfAutoPtrMgr();

  // Failures are thrown as a pointer to a new PdfException.
  void RegisterObject(PdfAutoPtrObject* thing);
  void Unregister(PdfAutoPtrObject* thing);
  int Count() const { return list_ ? list_->Count() : 0; }

 private:
  PdfList* list_ = nullptr;
};
