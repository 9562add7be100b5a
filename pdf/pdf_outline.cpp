#include "pdf/pdf_outline.h"

#include <cstring>

#include "pdf/pdf_doc.h"
#include "pdf/pdf_exception.h"
#include "pdf/pdf_xref.h"

// Registered last, so that a failure before leaves nothing in the table; a
// refused registration is freed once, by the failing constructor.
PdfOutline::PdfOutline(PdfXref* xref) : PdfDictionary(xref) {
  AddElement("Type", new PdfName("Outline"));
  xref->AddObjectUnderConstruction(this);
}

static PdfOutline* asOutline(PdfObject* object) { return dynamic_cast<PdfOutline*>(object); }

PdfOutline* PdfOutline::GetFirst() const { return asOutline(GetValue("First")); }
PdfOutline* PdfOutline::GetLast() const { return asOutline(GetValue("Last")); }
PdfOutline* PdfOutline::GetNext() const { return asOutline(GetValue("Next")); }

void PdfOutline::AddChild(PdfOutline* child) {
  if (!GetRawValue("First")) AddElement("First", child);
  PdfOutline* last = GetLast();
  if (last) {
    last->AddElement("Next", child);
    child->AddElement("Prev", last);
  }
  AddElement("Last", child);
  child->AddElement("Parent", this);
}

int PdfOutline::GetCountVisible() const {
  int count = 0;
  for (PdfOutline* child = GetFirst(); child; child = child->GetNext()) {
    ++count;
    if (child->GetOpened()) count += child->GetCountVisible();
  }
  return count;
}

void PdfOutline::WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) {
  int n = GetCountVisible();
  if (n == 0)
    RemoveElement("Count");
  else
    AddElement("Count", new PdfNumber(opened_ ? n : -n));
  WriteDictionary(out, encryptor);
}

PdfOutlineRoot::PdfOutlineRoot(PdfXref* xref) : PdfOutline(xref) { SetOpened(true); }

PdfOutlineItem::PdfOutlineItem(PdfOutline* parent) : PdfOutline(parent->GetXref()) {
  try {
    parent->AddChild(this);
  } catch (...) {
    // The failing constructor frees the item; the table must not keep it.
    GetXref()->RemoveLast(this);
    throw;
  }
}



void PdfOutlineItem::SetTitle(const char* title, PdfEncodingDef* encoding) {
  RegisterEncodingWithDocument(GetXref(), encoding);
  if (encoding)
    AddElement("Title", new PdfEncodedText(title, encoding));
  else
    AddElement("Title", new PdfText(title));
}

void PdfOutlineItem::SetTitleMb(const char* title, PdfCMap* cmap) {
  if (!cmap) throw PdfException(PDF_ERR_MISSING, "ERROR: PdfOutlineItem::SetTitleMb --cmap object is null.");
  // Multi-byte character maps are not supported; the title is kept as given.
  AddElement("Title", new PdfText(title));
}

void PdfOutlineItem::SetDestination(PdfDestination* destination) {
  if (!destination) {
    RemoveElement("Dest");
    return;
  }
  if (!destination->IsValid())
    throw PdfException(PDF_ERR_INVALID, "ERROR: PdfOutlineItem::SetDestination --Invalid destination.");
  // Adding a direct destination that is already the value would delete it.
  if (GetValue("Dest") == destination) return;
  AddElement("Dest", destination);
}

static const char* const kFitNames[] = {"XYZ", "Fit", "FitH", "FitV", "FitR", "FitB", "FitBH", "FitBV"};

PdfDestination::PdfDestination(PdfPage* page, bool makeIndirect)
    : PdfArray(page ? page->GetXref() : nullptr), page_(page), makeIndirect_(makeIndirect) {}

void PdfDestination::Rebuild(int type, int count, const double* params) {
  // Without a page there is no object table to number it in.
  if (makeIndirect_ && !IsIndirect() && GetXref()) GetXref()->AddObject(this);
  Clear();
  Add(page_);
  Add(new PdfName(kFitNames[type]));
  for (int i = 0; i < count; ++i) Add(new PdfReal(params[i]));
}

void PdfDestination::SetXYZ(double left, double top, double zoom) {
  if (zoom < 0 || zoom > 10) zoom = 1;
  const double p[] = {left, top, zoom};
  Rebuild(dtXYZ, 3, p);
}

void PdfDestination::SetFit() { Rebuild(dtFit, 0, nullptr); }

void PdfDestination::SetFitH(double top) { Rebuild(dtFitH, 1, &top); }

void PdfDestination::SetFitV(double left) { Rebuild(dtFitV, 1, &left); }

void PdfDestination::SetFitR(double left, double bottom, double right, double top) {
  const double p[] = {left, bottom, right, top};
  Rebuild(dtFitR, 4, p);
}

void PdfDestination::SetFitB() { Rebuild(dtFitB, 0, nullptr); }

void PdfDestination::SetFitBH(double top) { Rebuild(dtFitBH, 1, &top); }

void PdfDestination::SetFitBV(double left) { Rebuild(dtFitBV, 1, &left); }

bool PdfDestination::IsValid() {
  if (!page_) return false;
  if (GetCount() == 0)
    SetFit();
  else if (makeIndirect_ && !IsIndirect())
    GetXref()->AddObject(this);
  return true;
}

int PdfDestination::GetFitType() const {
  PdfObject* item = GetItem(1);
  if (!item || item->GetType() != otName) return dtUnknown;
  const char* name = static_cast<PdfName*>(item)->GetValue();
  for (int i = 0; i < dtUnknown; ++i)
    if (std::strcmp(kFitNames[i], name) == 0) return i;
  return dtUnknown;
}

double PdfDestination::GetParam(int index) const {
  PdfObject* item = GetItem(index + 2);
  if (!item || item->GetType() != otReal) return 1.1754944e-38;
  return static_cast<PdfReal*>(item)->GetValue();
}
