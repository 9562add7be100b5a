// Unicode characters to the codes of single-byte encodings: WinAnsiEncoding
// for the text fonts, the built-in encodings of Symbol and ZapfDingbats, and
// PDFDocEncoding for passwords. Tables generated from the reference data.
#pragma once

#include <cstdint>

struct UnicodeCode {
  unsigned short unicode;
  unsigned char code;
};

extern const UnicodeCode kWinAnsiCodes[];
extern const int kWinAnsiCodesCount;
extern const UnicodeCode kSymbolCodes[];
extern const int kSymbolCodesCount;
extern const UnicodeCode kZapfDingbatsCodes[];
extern const int kZapfDingbatsCodesCount;
extern const UnicodeCode kPdfDocEncodingCodes[];
extern const int kPdfDocEncodingCodesCount;

// The code of the character in the table (sorted by Unicode value), or -1.
int CodeOfUnicode(const UnicodeCode* table, int count, uint32_t unicode);

inline int WinAnsiCodeOf(uint32_t u) { return CodeOfUnicode(kWinAnsiCodes, kWinAnsiCodesCount, u); }
inline int SymbolCodeOf(uint32_t u) { return CodeOfUnicode(kSymbolCodes, kSymbolCodesCount, u); }
inline int ZapfDingbatsCodeOf(uint32_t u) {
  return CodeOfUnicode(kZapfDingbatsCodes, kZapfDingbatsCodesCount, u);
}
inline int PdfDocEncodingCodeOf(uint32_t u) {
  return CodeOfUnicode(kPdfDocEncodingCodes, kPdfDocEncodingCodesCount, u);
}
