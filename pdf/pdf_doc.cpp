#include "pdf/pdf_doc.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "pdf/font/pdf_font.h"
#include "pdf/pdf_auto_ptr.h"
#include "pdf/pdf_exception.h"
#include "pdf/pdf_info.h"
#include "pdf/pdf_outline.h"
#include "pdf/pdf_output_file.h"
#include "pdf/pdf_stream.h"
#include "pdf/pdf_xobject.h"
#include "pdf/pdf_xref.h"
#include "pdf/security/pdf_encrypt.h"

static const char kProducerBanner[] = "Plotvane PDF Library Version 1.00";

// --- header and trailer ---

void PdfHeader::WriteToStream(PdfStreamBase* out) {
  unsigned char header[16] = {0x25, 0x50, 0x44, 0x46, 0x2D, 0x31, 0x2E, 0x32,
                              0x0A, 0x25, 0xB7, 0xBE, 0xAD, 0xAA, 0x0D, 0x0A};
  header[7] = static_cast<unsigned char>('0' + minorVersion_);
  out->Write(header, sizeof header);
}

void PdfHeader::SetMinorVersion(int minor) {
  if (minor >= 0 && minor <= 9) minorVersion_ = minor;
}

PdfTrailer::PdfTrailer(PdfXref* xref) : dict_(new PdfDictionary(xref)), xref_(xref) {}

PdfTrailer::~PdfTrailer() { delete dict_; }

void PdfTrailer::SetSize(int size) { dict_->AddElement("Size", new PdfNumber(size)); }

void PdfTrailer::SetRoot(PdfDictionary* catalog) { dict_->AddElement("Root", catalog); }

void PdfTrailer::SetInfo(PdfDictionary* info) { dict_->AddElement("Info", info); }

void PdfTrailer::SetEncrypt(PdfEncrypt* encrypt) {
  encrypt_ = encrypt;
  dict_->AddElement("Encrypt", encrypt);
  std::memcpy(fileId_, encrypt->GetFileId(), 16);
  std::memcpy(fileId_ + 16, encrypt->GetFileId(), 16);
  PdfArray* id = new PdfArray(xref_);
  dict_->AddElement("ID", id);
  id->Add(new PdfBinary(fileId_, 16, true));
  id->Add(new PdfBinary(fileId_ + 16, 16, true));
}

void PdfTrailer::WriteToStream(PdfStreamBase* out) {
  *out << "trailer\r\n";
  dict_->WriteValueToStream(out, nullptr);
  *out << "\r\nstartxref\r\n" << static_cast<unsigned int>(xrefOffset_) << "\r\n%%EOF\r\n";
}

// --- catalog ---

static const char* const kPageLayoutNames[] = {"SinglePage", "OneColumn", "TwoColumnLeft", "TwoColumnRight"};
static const char* const kPageModeNames[] = {"UseNone", "UseOutlines", "UseThumbs", "FullScreen"};

static const char* tableName(const char* const* table, int count, int index) {
  return (index >= 0 && index < count) ? table[index] : nullptr;
}

// Registered last, so that a failure before leaves nothing in the table; a
// refused registration is freed once, by the failing constructor.
PdfCatalog::PdfCatalog(PdfXref* xref) : PdfDictionary(xref) {
  AddElement("Type", new PdfName("Catalog"));
  xref->AddObjectUnderConstruction(this);
}

void PdfCatalog::WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) {
  const char* layout = tableName(kPageLayoutNames, 4, pageLayout_);
  if (pageLayout_ == 0 || !layout)
    RemoveElement("PageLayout");
  else
    AddElement("PageLayout", new PdfName(layout));

  const char* mode = tableName(kPageModeNames, 4, pageMode_);
  if (pageMode_ == 0 || !mode)
    RemoveElement("PageMode");
  else
    AddElement("PageMode", new PdfName(mode));

  const char* nfsMode = tableName(kPageModeNames, 4, nonFullScreenPageMode_);
  if (nonFullScreenPageMode_ == 0 || !nfsMode)
    RemoveElement("NonFullScreenPageMode");
  else
    AddElement("NonFullScreenPageMode", new PdfName(nfsMode));

  if (!openAction_)
    RemoveElement("OpenAction");
  else if (GetValue("OpenAction") != openAction_)
    AddElement("OpenAction", openAction_);

  if (viewerPreferences_ == 0) {
    RemoveElement("ViewerPreferences");
  } else {
    PdfObject* existing = GetValue("ViewerPreferences");
    PdfDictionary* prefs;
    if (existing && existing->GetType() == otDictionary) {
      prefs = static_cast<PdfDictionary*>(existing);
    } else {
      prefs = new PdfDictionary(GetXref());
      AddElement("ViewerPreferences", prefs);
    }
    static const struct {
      int bit;
      const char* key;
    } kPrefs[] = {{vpHideToolbar, "HideToolbar"},
                  {vpHideMenubar, "HideMenubar"},
                  {vpHideWindowUI, "HideWindowUI"},
                  {vpFitWindow, "FitWindow"},
                  {vpCenterWindow, "CenterWindow"}};
    for (const auto& p : kPrefs) {
      if (viewerPreferences_ & p.bit)
        prefs->AddElement(p.key, new PdfBoolean(true));
      else
        prefs->RemoveElement(p.key);
    }
  }
  WriteDictionary(out, encryptor);
}

PdfPages* PdfCatalog::GetPages() const {
  PdfObject* pages = GetValue("Pages");
  if (!pages) throw PdfException(PDF_ERR_INVALID, "ERROR: Pages element not found.");
  return static_cast<PdfPages*>(pages);
}

PdfOutlineRoot* PdfCatalog::GetOutlines() {
  PdfObject* existing = GetValue("Outlines");
  if (existing) return static_cast<PdfOutlineRoot*>(existing);
  PdfOutlineRoot* root = new PdfOutlineRoot(GetXref());
  AddElement("Outlines", root);
  return root;
}

void PdfCatalog::SetOpenAction(PdfDestination* destination) {
  if (destination && !destination->IsValid())
    throw PdfException(PDF_ERR_INVALID, "ERROR: PdfCatalog::SetOpenAction --Invalid destination.");
  openAction_ = destination;
}

void PdfCatalog::AddPageLabel(int firstPage, int style, int firstNumber, const char* prefix) {
  static const char* const kStyles[] = {"D", "R", "r", "A", "a"};
  PdfObject* labels = GetValue("PageLabels");
  PdfDictionary* labelsDict;
  if (labels && labels->GetType() == otDictionary) {
    labelsDict = static_cast<PdfDictionary*>(labels);
  } else {
    labelsDict = new PdfDictionary(GetXref());
    AddElement("PageLabels", labelsDict);
  }
  PdfObject* nums = labelsDict->GetValue("Nums");
  PdfArray* numsArray;
  if (nums && nums->GetType() == otArray) {
    numsArray = static_cast<PdfArray*>(nums);
  } else {
    numsArray = new PdfArray(GetXref());
    labelsDict->AddElement("Nums", numsArray);
  }
  PdfDictionary* label = new PdfDictionary(GetXref());
  const char* styleName = tableName(kStyles, 5, style);
  if (styleName) label->AddElement("S", new PdfName(styleName));
  if (prefix && *prefix) label->AddElement("P", new PdfText(prefix));
  if (firstNumber != 1) label->AddElement("St", new PdfNumber(firstNumber));
  numsArray->Add(new PdfNumber(firstPage));
  numsArray->Add(label);
}

// --- page tree ---

void PdfPageBase::SetMediaBox(int left, int bottom, int right, int top) {
  PdfArray* box = new PdfArray(GetXref());
  AddElement("MediaBox", box);
  box->AddNumbers(left, bottom, right, top);
}

void PdfPageBase::SetCropBox(int left, int bottom, int right, int top) {
  PdfArray* box = new PdfArray(GetXref());
  AddElement("CropBox", box);
  box->AddNumbers(left, bottom, right, top);
}

PdfBox PdfPageBase::GetBox(const char* key) const {
  PdfBox box = {0, 0, 0, 0};
  PdfObject* value = FindInherited(key);
  if (!value || value->GetType() != otArray) return box;
  PdfArray* array = static_cast<PdfArray*>(value);
  array->GetItemAsInteger(0, &box.left);
  array->GetItemAsInteger(1, &box.bottom);
  array->GetItemAsInteger(2, &box.right);
  array->GetItemAsInteger(3, &box.top);
  return box;
}

PdfBox PdfPageBase::GetMediaBox() const { return GetBox("MediaBox"); }

PdfBox PdfPageBase::GetCropBox() const { return GetBox("CropBox"); }

void PdfPageBase::SetSize(int width, int height) {
  if (width <= 0 || height <= 0)
    throw PdfException(PDF_ERR_INVALID, "ERROR: invalid page size(%d,%d).", width, height);
  SetMediaBox(0, 0, width, height);
}

void PdfPageBase::SetRotate(int angle) {
  if (angle < 0 || angle > 360 || angle % 90 != 0)
    throw PdfException(PDF_ERR_INVALID, "ERROR: PdfPageBase::SetRotate invarid value[%d].", angle);
  AddElement("Rotate", new PdfNumber(angle));
}

PdfNumber* PdfPageBase::GetRotate() const {
  PdfObject* value = FindInherited("Rotate");
  return (value && value->GetType() == otNumber) ? static_cast<PdfNumber*>(value) : nullptr;
}

PdfObject* PdfPageBase::FindInherited(const char* key) const {
  for (const PdfPageBase* node = this; node; node = node->parent_) {
    PdfObject* value = node->GetValue(key);
    if (value) return value;
  }
  return nullptr;
}

PdfDictionary* PdfPageBase::GetResources() {
  PdfObject* value = FindInherited("Resources");
  if (value && value->GetType() == otDictionary) return static_cast<PdfDictionary*>(value);
  PdfDictionary* resources = new PdfDictionary(GetXref());
  AddElement("Resources", resources);
  return resources;
}

void PdfPageBase::SetResources(PdfObject* resources) {
  if (!resources) {
    RemoveElement("Resources");
    return;
  }
  if (resources->GetType() != otDictionary)
    throw PdfException(PDF_ERR_INVALID, "ERROR: PdfPage::SetResources invarid resources");
  AddElement("Resources", resources);
}

PdfDictionary* PdfPageBase::GetResource(const char* category) {
  static const char* const kCategories[] = {"Font",    "ColorSpace", "XObject", "ExtGState",
                                            "Pattern", "Properties", "Shading"};
  bool known = false;
  for (const char* c : kCategories)
    if (category && std::strcmp(c, category) == 0) known = true;
  if (!known)
    throw PdfException(PDF_ERR_INVALID, "ERROR: Invalid resource element name [%s].", category ? category : "");
  PdfDictionary* resources = GetResources();
  PdfObject* value = resources->GetValue(category);
  if (value && value->GetType() == otDictionary) return static_cast<PdfDictionary*>(value);
  PdfDictionary* dict = new PdfDictionary(GetXref());
  resources->AddElement(category, dict);
  return dict;
}

const char* PdfPageBase::FindResourceName(const char* category, const PdfObject* object) {
  if (!object) return nullptr;
  PdfDictionary* dict = GetResource(category);
  for (int i = 0; i < dict->GetCount(); ++i) {
    PdfDictElement* e = dict->GetElementAt(i);
    PdfObject* v = e->value;
    if (v == object || (v->GetObjectClass() == ocReference && object->IsIndirect() &&
                        v->GetObjectId() == object->GetObjectId()))
      return e->key->GetValue();
  }
  return nullptr;
}

void PdfPageBase::AddFont(PdfFont* font, const char* name) {
  PdfDictionary* fonts = GetResource("Font");
  if (fonts->GetRawValue(name)) throw PdfException(PDF_ERR_INVALID, "ERROR: duplicate font-name[%s].", name);
  fonts->AddElement(name, font);
}

const char* PdfPageBase::GetFontName(const PdfFont* font) { return FindResourceName("Font", font); }

int PdfPageBase::GetFontCount() { return GetResource("Font")->GetCount(); }

void PdfPageBase::AddXObject(PdfXObject* xobject, const char* name) {
  PdfDictionary* xobjects = GetResource("XObject");
  if (xobjects->GetRawValue(name))
    throw PdfException(PDF_ERR_INVALID, "ERROR: duplicate XObject-name[%s].", name);
  xobjects->AddElement(name, xobject);
  const char* subtype = xobject->GetNameValue("Subtype");
  if (subtype && std::strcmp(subtype, "Image") == 0) {
    int kind = xobject->GetColorSpaceKind();
    AddProcSet((kind == 0 || kind == 3) ? psImageB : (kind == 9 ? psImageI : psImageC));
  }
}

const char* PdfPageBase::GetXObjectName(const PdfXObject* xobject) { return FindResourceName("XObject", xobject); }

void PdfPageBase::AddProcSet(int bits) {
  if ((bits & ~procSet_) == 0) return;
  PdfDictionary* resources = GetResources();
  PdfObject* value = resources->GetValue("ProcSet");
  PdfArray* procSet;
  if (value && value->GetType() == otArray) {
    procSet = static_cast<PdfArray*>(value);
  } else {
    procSet = new PdfArray(GetXref());
    resources->AddElement("ProcSet", procSet);
  }
  static const struct {
    int bit;
    const char* name;
  } kSets[] = {{psPDF, "PDF"}, {psText, "Text"}, {psImageB, "ImageB"}, {psImageC, "ImageC"}, {psImageI, "ImageI"}};
  for (const auto& s : kSets)
    if (bits & s.bit) procSet->Add(new PdfName(s.name));
  procSet_ |= bits;
}

int PdfPageBase::GetPageIndex() const {
  if (!parent_) return -1;
  PdfArray* kids = parent_->GetKids();
  for (int i = 0; kids && i < kids->GetCount(); ++i)
    if (kids->GetItem(i) == this) return i;
  return -1;
}

void PdfPages::Init() {
  AddElement("Type", new PdfName("Pages"));
  AddElement("Kids", new PdfArray(GetXref()));
  GetXref()->AddObject(this);
}

PdfArray* PdfPages::GetKids() const {
  PdfObject* kids = GetValue("Kids");
  return (kids && kids->GetType() == otArray) ? static_cast<PdfArray*>(kids) : nullptr;
}

int PdfPages::GetPageCount() const {
  PdfArray* kids = GetKids();
  int count = 0;
  for (int i = 0; kids && i < kids->GetCount(); ++i) {
    PdfPageBase* kid = dynamic_cast<PdfPageBase*>(kids->GetItem(i));
    if (kid) count += kid->GetPageCount();
  }
  return count;
}

void PdfPages::WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) {
  AddElement("Count", new PdfNumber(GetPageCount()));
  WriteDictionary(out, encryptor);
}

void PdfPages::AddKid(PdfPageBase* kid, int index) {
  PdfArray* kids = GetKids();
  if (index == -1)
    kids->Add(kid);
  else
    kids->Insert(kid, index);
  kid->SetParent(this);
}

PdfPage* PdfPages::AddPage(int index) {
  PdfArray* kids = GetKids();
  int count = kids ? kids->GetCount() : 0;
  if (!kids || index < -1 || index > count || kind_ == kPagesNode)
    throw PdfException(PDF_ERR_INVALID, "ERROR: Invalid operation cannot add Page.");
  kind_ = kPageNode;
  PdfPage* page = new PdfPage(GetXref());
  page->Init();
  AddKid(page, index);
  page->AddElement("Type", new PdfName("Page"));
  page->AddElement("Parent", this);
  if (!page->FindInherited("Resources")) page->AddElement("Resources", new PdfDictionary(GetXref()));
  if (!page->FindInherited("MediaBox")) page->SetMediaBox(0, 0, 596, 842);
  PdfDoc* doc = GetXref()->GetDoc();
  if (doc) {
    doc->SetCurrentPage(page);
    doc->SetCurrentPages(this);
  }
  return page;
}

PdfPages* PdfPages::AddPages(int index) {
  PdfArray* kids = GetKids();
  int count = kids ? kids->GetCount() : 0;
  if (!kids || index < -1 || index > count || kind_ == kPageNode)
    throw PdfException(PDF_ERR_INVALID, "ERROR: Invalid operation cannot add Pages.");
  kind_ = kPagesNode;
  PdfPages* child = new PdfPages(GetXref(), fontMgr_, xobjectMgr_);
  child->Init();
  AddKid(child, index);
  child->AddElement("Parent", this);
  return child;
}

void PdfPage::Init() { GetXref()->AddObject(this); }

PdfFontMgr* PdfPage::GetFontMgr() const { return GetParent() ? GetParent()->GetFontMgr() : nullptr; }

PdfXObjectMgr* PdfPage::GetXObjectMgr() const { return GetParent() ? GetParent()->GetXObjectMgr() : nullptr; }

// --- document ---

PdfDoc::~PdfDoc() {
  FreeDocument();
  delete autoPtrMgr_;
}

PdfAutoPtrMgr* PdfDoc::GetAutoPtrMgr() {
  if (!autoPtrMgr_) autoPtrMgr_ = new PdfAutoPtrMgr();
  return autoPtrMgr_;
}

void PdfDoc::CreateDocument() {
  FreeDocument();
  xref_ = new PdfXref(this);
  header_ = new PdfHeader();
  trailer_ = new PdfTrailer(xref_);
  catalog_ = new PdfCatalog(xref_);
  fontMgr_ = new PdfFontMgr(xref_);
  xobjectMgr_ = new PdfXObjectMgr(xref_);
  rootPages_ = new PdfPages(xref_, fontMgr_, xobjectMgr_);
  rootPages_->Init();
  catalog_->AddElement("Pages", rootPages_);
  trailer_->SetRoot(catalog_);
  currentPages_ = rootPages_;
  currentPage_ = nullptr;
  GetInfo()->SetProducer(kProducerBanner);
  hasDoc_ = true;
}

void PdfDoc::FreeDocument() {
  hasDoc_ = false;
  delete xref_;
  delete header_;
  delete trailer_;
  delete fontMgr_;
  delete xobjectMgr_;
  xref_ = nullptr;
  header_ = nullptr;
  trailer_ = nullptr;
  fontMgr_ = nullptr;
  xobjectMgr_ = nullptr;
  catalog_ = nullptr;
  info_ = nullptr;
  rootPages_ = nullptr;
  currentPages_ = nullptr;
  currentPage_ = nullptr;
}

PdfPage* PdfDoc::AddPage() {
  if (!currentPages_) throw PdfException(PDF_ERR_INVALID, "ERROR: PdfDoc::AddPage no document.");
  return currentPages_->AddPage(-1);
}

PdfInfo* PdfDoc::GetInfo() {
  if (!info_ && xref_) {
    info_ = new PdfInfo(xref_);
    trailer_->SetInfo(info_);
  }
  return info_;
}

void PdfDoc::AddXObject(PdfXObject* xobject, const char* name) {
  if (!xobject || !xobjectMgr_) throw PdfException(PDF_ERR_INVALID, "ERROR: Invalid XObject.");
  // One made for another table, registered there or not, would have its
  // Length numbered in that table when written.
  if (xobject->GetXref() != xref_ || (xobject->IsIndirect() && xref_->GetObject(xobject->GetObjectId()) != xobject))
    throw PdfException(PDF_ERR_INVALID,
                       "PdfDoc::AddXObject:: cannot add xobject. this object is owned by other PdfDoc object.");
  if (!name) {
    char generated[25];
    snprintf(generated, sizeof generated, "%s%X", "XOBJ",
             static_cast<unsigned int>(reinterpret_cast<uintptr_t>(xobject)));
    xobject->SetName(generated);
  } else {
    xobject->SetName(name);
  }
  if (!xobject->IsIndirect()) xref_->AddObject(xobject);
  xobjectMgr_->RegisterXObject(xobject);
}

PdfEncrypt* PdfDoc::GetEncrypt() const { return trailer_ ? trailer_->GetEncrypt() : nullptr; }

PdfEncrypt* PdfDoc::EnsureEncrypt() {
  if (!hasDoc_) throw PdfException(PDF_ERR_INVALID, "ERROR: PdfDoc no document.");
  PdfEncrypt* encrypt = trailer_->GetEncrypt();
  if (!encrypt) {
    encrypt = new PdfEncrypt(xref_, GetInfo());
    trailer_->SetEncrypt(encrypt);
  }
  return encrypt;
}

void PdfDoc::SetPassword(const char* ownerPassword, const char* userPassword) {
  EnsureEncrypt()->SetPassword(ownerPassword, userPassword);
}

void PdfDoc::SetPermission(int flags) { EnsureEncrypt()->SetPermission(flags); }

void PdfDoc::SetEncryptionMethod(int method) {
  PdfEncrypt* encrypt = EnsureEncrypt();
  encrypt->SetMethod(method);
  // Readers learn from the catalog which extension of PDF 1.7 the AES-256
  // handler belongs to.
  if (encrypt->GetMethod() == emAES256) {
    PdfDictionary* extensions = new PdfDictionary(xref_);
    catalog_->AddElement("Extensions", extensions);
    PdfDictionary* adobe = new PdfDictionary(xref_);
    extensions->AddElement("ADBE", adobe);
    adobe->AddElement("BaseVersion", new PdfName("1.7"));
    adobe->AddElement("ExtensionLevel", new PdfNumber(8));
  } else {
    catalog_->RemoveElement("Extensions");
  }
}

void PdfDoc::WriteToStream(PdfStreamBase* out) {
  if (!hasDoc_) throw PdfException(PDF_ERR_INVALID, "ERROR: PdfDoc::WriteToStream no document to save.");
  PdfEncryptor* encryptor = nullptr;
  try {
    PdfEncrypt* encrypt = trailer_->GetEncrypt();
    if (encrypt) {
      encrypt->PrepareEncryption();
      trailer_->SetEncrypt(encrypt);
      encryptor = new PdfEncryptor(encrypt->GetMethod(), encrypt->GetKey());
      header_->SetMinorVersion(encrypt->GetMinorVersion());
    }
    // Fonts that embed a program complete it from what the pages drew, and
    // the header names a version that has every kind of font in the file.
    for (int i = 0; i < fontMgr_->GetCount(); ++i) {
      PdfFont* font = fontMgr_->GetFontAt(i);
      font->PrepareToWrite();
      if (font->GetMinimumMinorVersion() > header_->GetMinorVersion())
        header_->SetMinorVersion(font->GetMinimumMinorVersion());
    }
    header_->WriteToStream(out);
    xref_->WriteToStream(out, encryptor);
    trailer_->SetXrefOffset(xref_->GetXrefOffset());
    trailer_->SetSize(xref_->GetCount());
    trailer_->WriteToStream(out);
  } catch (...) {
    delete encryptor;
    throw;
  }
  delete encryptor;
}

void PdfDoc::WriteToFile(const char* fileName) {
  PdfWriteOutputFile(
      fileName, [](void* doc, PdfStreamBase* out) { static_cast<PdfDoc*>(doc)->WriteToStream(out); }, this);
}
