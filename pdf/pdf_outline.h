// Outlines (bookmarks) and destinations.
#pragma once

#include "pdf/pdf_objects.h"

class PdfPage;
class PdfCMap;

class PdfOutline : public PdfDictionary {
 public:
  explicit PdfOutline(PdfXref* xref);
  void WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) override;
  // Children, and the opened children's own counts.
  virtual int GetCountVisible() const;

  void SetOpened(bool opened) { opened_ = opened; }
  bool GetOpened() const { return opened_; }
  PdfOutline* GetFirst() const;
  PdfOutline* GetLast() const;
  PdfOutline* GetNext() const;
  void AddChild(PdfOutline* child);

 private:
  bool opened_ = false;
};

class PdfOutlineRoot : public PdfOutline {
 public:
  explicit PdfOutlineRoot(PdfXref* xref);
};

class PdfDestination;

class PdfOutlineItem : public PdfOutline {
 public:
  explicit PdfOutlineItem(PdfOutline* parent);
  void SetTitle(const char* title, PdfEncodingDef* encoding = nullptr);
  void SetTitleMb(const char* title, PdfCMap* cmap);
  void SetDestination(PdfDestination* destination);
};

enum PdfDestinationType {
  dtXYZ = 0,
  dtFit,
  dtFitH,
  dtFitV,
  dtFitR,
  dtFitB,
  dtFitBH,
  dtFitBV,
  dtUnknown
};

class PdfDestination : public PdfArray {
 public:
  PdfDestination(PdfPage* page, bool makeIndirect);
  void SetXYZ(double left, double top, double zoom);
  void SetFit();
  void SetFitH(double top);
  void SetFitV(double left);
  void SetFitR(double left, double bottom, double right, double top);
  void SetFitB();
  void SetFitBH(double top);
  void SetFitBV(double left);
  bool IsValid();
  int GetFitType() const;
  double GetParam(int index) const;
  PdfPage* GetPage() const { return page_; }

 private:
  void Rebuild(int type, int count, const double* params);

  PdfPage* page_;
  bool makeIndirect_;
};
