// The document: object table, header, trailer, catalog, page tree and
// information dictionary, and the save sequence.
#pragma once

#include "pdf/pdf_objects.h"

class PdfXref;
class PdfAutoPtrMgr;
class PdfFont;
class PdfFontMgr;
class PdfXObject;
class PdfXObjectMgr;
class PdfContents;
class PdfInfo;
class PdfEncrypt;
class PdfType1FontDef;
class PdfEncodingDef;
class PdfOutlineRoot;
class PdfDestination;
class PdfPages;
class PdfPage;

class PdfHeader {
 public:
  void WriteToStream(PdfStreamBase* out);
  // The digit after "%PDF-1.", 0 to 9.
  void SetMinorVersion(int minor);
  int GetMinorVersion() const { return minorVersion_; }

 private:
  int minorVersion_ = 2;
};

class PdfTrailer {
 public:
  explicit PdfTrailer(PdfXref* xref);
  ~PdfTrailer();
  PdfTrailer(const PdfTrailer&) = delete;
  PdfTrailer& operator=(const PdfTrailer&) = delete;

  void SetSize(int size);
  void SetRoot(PdfDictionary* catalog);
  void SetInfo(PdfDictionary* info);
  // Links the Encrypt dictionary and takes its current file identifier.
  void SetEncrypt(PdfEncrypt* encrypt);
  PdfEncrypt* GetEncrypt() const { return encrypt_; }
  void SetXrefOffset(int offset) { xrefOffset_ = offset; }
  PdfDictionary* GetDictionary() const { return dict_; }
  void WriteToStream(PdfStreamBase* out);

 private:
  PdfDictionary* dict_;
  PdfEncrypt* encrypt_ = nullptr;
  int xrefOffset_ = 0;
  PdfXref* xref_;
  unsigned char fileId_[32] = {};
};

struct PdfBox {
  int left, bottom, right, top;
};

enum PdfPageLayout { plSinglePage = 0, plOneColumn, plTwoColumnLeft, plTwoColumnRight };
enum PdfPageMode { pmUseNone = 0, pmUseOutlines, pmUseThumbs, pmFullScreen };
enum PdfViewerPreference {
  vpHideToolbar = 1,
  vpHideMenubar = 2,
  vpHideWindowUI = 4,
  vpFitWindow = 8,
  vpCenterWindow = 16
};
enum PdfProcSet { psPDF = 2, psText = 4, psImageB = 8, psImageC = 16, psImageI = 32 };
enum PdfPageNumberStyle {
  pnDecimal = 0,
  pnUpperRoman,
  pnLowerRoman,
  pnUpperLetters,
  pnLowerLetters
};

class PdfCatalog : public PdfDictionary {
 public:
  explicit PdfCatalog(PdfXref* xref);
  void WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) override;

  void SetPageLayout(int layout) { pageLayout_ = layout; }
  int GetPageLayout() const { return pageLayout_; }
  void SetPageMode(int mode) { pageMode_ = mode; }
  int GetPageMode() const { return pageMode_; }
  void SetNonFullScreenPageMode(int mode) { nonFullScreenPageMode_ = mode; }
  void SetViewerPreference(int bits) { viewerPreferences_ = bits; }
  int GetViewerPreference() const { return viewerPreferences_; }
  PdfPages* GetPages() const;
  PdfOutlineRoot* GetOutlines();
  void SetOpenAction(PdfDestination* destination);
  void AddPageLabel(int firstPage, int style, int firstNumber, const char* prefix);

 private:
  int pageLayout_ = 0;
  int pageMode_ = 0;
  int nonFullScreenPageMode_ = 0;
  PdfDestination* openAction_ = nullptr;
  int viewerPreferences_ = 0;
};

class PdfPageBase : public PdfDictionary {
 public:
  explicit PdfPageBase(PdfXref* xref) : PdfDictionary(xref) {}
  virtual void Init() = 0;
  virtual int GetPageCount() const = 0;

  void SetMediaBox(int left, int bottom, int right, int top);
  void SetCropBox(int left, int bottom, int right, int top);
  PdfBox GetMediaBox() const;
  PdfBox GetCropBox() const;
  void SetSize(int width, int height);
  void SetRotate(int angle);
  // nullptr when no node of the tree sets it.
  PdfNumber* GetRotate() const;
  PdfDictionary* GetResources();
  void SetResources(PdfObject* resources);
  PdfDictionary* GetResource(const char* category);
  void AddFont(PdfFont* font, const char* name);
  const char* GetFontName(const PdfFont* font);
  int GetFontCount();
  void AddXObject(PdfXObject* xobject, const char* name);
  const char* GetXObjectName(const PdfXObject* xobject);
  void AddProcSet(int bits);
  int GetPageIndex() const;
  PdfPages* GetParent() const { return parent_; }
  void SetParent(PdfPages* parent) { parent_ = parent; }
  // Looks the key up here and then up the tree.
  PdfObject* FindInherited(const char* key) const;

 private:
  PdfBox GetBox(const char* key) const;
  const char* FindResourceName(const char* category, const PdfObject* object);

  PdfPages* parent_ = nullptr;
  int procSet_ = 0;
};

class PdfPages : public PdfPageBase {
 public:
  enum Kind { kEmpty = 0, kPagesNode = 1, kPageNode = 2 };
  PdfPages(PdfXref* xref, PdfFontMgr* fontMgr, PdfXObjectMgr* xobjectMgr)
      : PdfPageBase(xref), fontMgr_(fontMgr), xobjectMgr_(xobjectMgr) {}
  void WriteValueToStream(PdfStreamBase* out, PdfEncryptor* encryptor) override;
  void Init() override;
  int GetPageCount() const override;

  // index -1 appends.
  PdfPage* AddPage(int index = -1);
  PdfPages* AddPages(int index = -1);
  PdfArray* GetKids() const;
  PdfFontMgr* GetFontMgr() const { return fontMgr_; }
  PdfXObjectMgr* GetXObjectMgr() const { return xobjectMgr_; }
  int GetKind() const { return kind_; }

 private:
  void AddKid(PdfPageBase* kid, int index);

  PdfFontMgr* fontMgr_;
  PdfXObjectMgr* xobjectMgr_;
  int kind_ = kEmpty;
};

class PdfPage : public PdfPageBase {
 public:
  explicit PdfPage(PdfXref* xref) : PdfPageBase(xref) {}
  void Init() override;
  int GetPageCount() const override { return 1; }

  // The page's content stream, created on the first call.
  PdfContents* GetContents();
  PdfFontMgr* GetFontMgr() const;
  PdfXObjectMgr* GetXObjectMgr() const;

 private:
  PdfContents* contents_ = nullptr;
};

class PdfDoc {
 public:
  PdfDoc() = default;
  PdfDoc(const PdfDoc&) = delete;
  PdfDoc& operator=(const PdfDoc&) = delete;
  ~PdfDoc();

  void CreateDocument();
  void FreeDocument();
  bool HasDoc() const { return hasDoc_; }
  PdfPage* AddPage();
  PdfInfo* GetInfo();
  PdfCatalog* GetCatalog() const { return catalog_; }
  PdfPages* GetRootPages() const { return rootPages_; }
  PdfPages* GetCurrentPages() const { return currentPages_; }
  PdfPage* GetCurrentPage() const { return currentPage_; }
  void SetCurrentPages(PdfPages* pages) { currentPages_ = pages; }
  void SetCurrentPage(PdfPage* page) { currentPage_ = page; }
  PdfXref* GetXref() const { return xref_; }
  PdfTrailer* GetTrailer() const { return trailer_; }
  PdfFontMgr* GetFontMgr() const { return fontMgr_; }
  PdfXObjectMgr* GetXObjectMgr() const { return xobjectMgr_; }
  PdfAutoPtrMgr* GetAutoPtrMgr();

  // Returns the font manager's index of the new font.
  int AddType1Font(PdfType1FontDef* fontDef, const char* name = nullptr,
                   PdfEncodingDef* encoding = nullptr);
  void AddXObject(PdfXObject* xobject, const char* name = nullptr);

  void SetPassword(const char* ownerPassword, const char* userPassword);
  void SetPermission(int flags);
  // Encrypts with a PdfEncryptMethod (creating the handler like the two
  // above); AES-256 also adds the catalog's extension entry for it.
  void SetEncryptionMethod(int method);
  PdfEncrypt* GetEncrypt() const;

  void WriteToStream(PdfStreamBase* out);
  // Replaces a regular file (or makes a new one) through a temporary file
  // renamed over it, so a failed save never leaves a partial file; writes
  // FIFOs and devices in place (see pdf_output_file.h).
  void WriteToFile(const char* fileName);

 private:
  PdfEncrypt* EnsureEncrypt();

  PdfXref* xref_ = nullptr;
  PdfHeader* header_ = nullptr;
  PdfTrailer* trailer_ = nullptr;
  PdfCatalog* catalog_ = nullptr;
  PdfInfo* info_ = nullptr;
  PdfFontMgr* fontMgr_ = nullptr;
  PdfXObjectMgr* xobjectMgr_ = nullptr;
  PdfAutoPtrMgr* autoPtrMgr_ = nullptr;
  PdfPages* rootPages_ = nullptr;
  PdfPages* currentPages_ = nullptr;
  PdfPage* currentPage_ = nullptr;
  bool hasDoc_ = false;
};

// Hands an encoding to the document's ownership registry unless it already
// has one; used by texts made through an encoding.
void RegisterEncodingWithDocument(PdfXref* xref, PdfEncodingDef* encoding);
