// Simple-font encodings: the mapping of the codes of a byte text to Unicode
// values and, through the shared glyph-name table, to PostScript glyph names.
#pragma once

#include "pdf/pdf_auto_ptr.h"
#include "pdf/pdf_list.h"

class PdfObject;
class PdfXref;

// Kind of an encoding and of a font definition's built-in encoding. The
// names are written into PDF files.
enum BaseEncodingKind {
  kStandardEncodingKind = 0,
  kMacRomanEncodingKind = 1,
  kWinAnsiEncodingKind = 2,
  kFontSpecificKind = 3,
  kNoEncodingKind = 4
};

// For font metric files: no name, an unknown name give kNoEncodingKind;
// "AdobeStandardEncoding" counts as StandardEncoding.
BaseEncodingKind BaseEncodingKindOf(const char* name);
// nullptr for kNoEncodingKind (and anything out of range).
const char* BaseEncodingName(int kind);

struct GlyphNameEntry {
  unsigned int unicode;
  const char* name;  // nullptr only in the end entry
};

// (0, ".notdef"), the Adobe Glyph List 1.2 sorted by Unicode value, then the
// end entry (0xFFFF, nullptr). Generated from the reference data.
extern const GlyphNameEntry GlyphNameTable[];
// Entries including .notdef and the end entry.
extern const int kGlyphNameTableCount;

// The first name listed for the value; ".notdef" when there is none.
const char* GlyphNameOfUnicode(unsigned int unicode);
// The lowest value listed for the name; 0 for an unknown name.
unsigned int UnicodeOfGlyphName(const char* name);

// The three built-in encodings cover the codes 32..255.
const int kBuiltinEncodingFirst = 32;
const int kBuiltinEncodingLast = 255;
const int kBuiltinEncodingSize = kBuiltinEncodingLast - kBuiltinEncodingFirst + 1;
extern const unsigned short kStandardEncodingUnicode[kBuiltinEncodingSize];
extern const unsigned short kMacRomanEncodingUnicode[kBuiltinEncodingSize];
extern const unsigned short kWinAnsiEncodingUnicode[kBuiltinEncodingSize];

struct PdfEncodingDifference {
  int code;
  char* glyphName;  // owned copy
};

class PdfEncodingDef : public PdfAutoPtrObject {
 public:
  static const int kMaxCodes = 254;

  PdfEncodingDef() { Construct(); }
  ~PdfEncodingDef() override;

  // Back to the initial values: range 0..0, no kind, empty table.
  void Construct();
  // Sets the range and copies last - first + 1 table values; drops all
  // differences. A range of more than kMaxCodes codes (or first > last) is
  // refused before anything changes.
  void SetRange(unsigned int first, unsigned int last, const unsigned short* table);
  void SetEncodingKind(BaseEncodingKind kind) { kind_ = kind; }

  unsigned int GetFirstCode() const { return firstCode_; }
  unsigned int GetLastCode() const { return lastCode_; }
  BaseEncodingKind GetEncodingKind() const { return kind_; }

  const char* GlyphName(unsigned int code) const;
  unsigned short UnicodeOf(unsigned int code) const;
  int CodeOf(unsigned short unicode) const;
  int CodeOf(const char* glyphName) const;

  void AddDifference(int code, const char* glyphName);
  int GetDifferenceCount() const { return differences_ ? differences_->Count() : 0; }
  const PdfEncodingDifference* GetDifference(int index) const;

  // The object that becomes a font's Encoding value: a name such as
  // /StandardEncoding, or an Encoding dictionary when there are differences.
  // The caller owns the result.
  virtual PdfObject* GetPdfForm(PdfXref* xref);

  // UTF-16BE with a byte-order mark into out; *size is the buffer size on
  // entry and the bytes written on return. -1 for a missing buffer or size,
  // or a size of 3 or less.
  int ToUnicodeText(const char* text, unsigned char* out, int* size) const;

 private:
  void ClearDifferences();

  unsigned int firstCode_ = 0;
  unsigned int lastCode_ = 0;
  BaseEncodingKind kind_ = kNoEncodingKind;
  PdfList* differences_ = nullptr;
  unsigned short unicode_[kMaxCodes] = {};
};

class PdfStandardEncoding : public PdfEncodingDef {
 public:
  PdfStandardEncoding();
};

class PdfMacRomanEncoding : public PdfEncodingDef {
 public:
  PdfMacRomanEncoding();
};

class PdfWinAnsiEncoding : public PdfEncodingDef {
 public:
  PdfWinAnsiEncoding();
};

// The built-in encoding a definition of this kind gets: StandardEncoding for
// 0, MacRomanEncoding for 1, WinAnsiEncoding for 2 and 4, none for
// FontSpecific. The caller owns the result.
PdfEncodingDef* CreateBuiltinEncoding(int kind);
