// Image XObjects: outside the chart's path; they exist so that pages can
// refer to them by name.
#pragma once

#include "pdf/pdf_list.h"
#include "pdf/pdf_objects.h"

class PdfXObject : public PdfStream {
 public:
  PdfXObject(PdfXref* xref, const char* name);
  ~PdfXObject() override;
  const char* GetName() const { return name_; }
  void SetName(const char* name);
  // Colour-space kind of an image: 0 grey, 3 indexed, 9 ImageI, other colour.
  int GetColorSpaceKind() const { return colorSpaceKind_; }
  void SetColorSpaceKind(int kind) { colorSpaceKind_ = kind; }

 private:
  char* name_ = nullptr;
  int colorSpaceKind_ = 0;
};

class PdfXObjectMgr {
 public:
  explicit PdfXObjectMgr(PdfXref* xref) : xref_(xref) {}
  ~PdfXObjectMgr();
  PdfXObjectMgr(const PdfXObjectMgr&) = delete;
  PdfXObjectMgr& operator=(const PdfXObjectMgr&) = delete;
  int RegisterXObject(PdfXObject* xobject);
  PdfXObject* GetXObject(const char* name) const;
  PdfXref* GetXref() const { return xref_; }

 private:
  PdfList* list_ = nullptr;
  PdfXref* xref_;
};
