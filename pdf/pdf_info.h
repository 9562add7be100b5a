// The document information dictionary and the PDF date text.
#pragma once

#include "pdf/pdf_objects.h"

struct PdfDate {
  int year = 0;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minutes = 0;
  int seconds = 0;
  int ind = '-';  // '+', '-' or 'z'
  int offHour = 0;
  int offMinutes = 0;
};

// Formats "D:YYYYMMDDHHmmSS+HH'mm'" into a 24-byte buffer; throws unless the
// text has exactly 23 characters.
void PdfDateToStr(const PdfDate& date, char* buffer);
// Reads and checks a date text; throws on any invalid field.
PdfDate StrToPdfDate(const char* text);

class PdfInfo : public PdfDictionary {
 public:
  explicit PdfInfo(PdfXref* xref);

  void SetAuthor(const char* text, PdfEncodingDef* encoding = nullptr) { SetText("Author", text, encoding); }
  void SetCreator(const char* text, PdfEncodingDef* encoding = nullptr) { SetText("Creator", text, encoding); }
  void SetProducer(const char* text, PdfEncodingDef* encoding = nullptr) { SetText("Producer", text, encoding); }
  void SetTitle(const char* text, PdfEncodingDef* encoding = nullptr) { SetText("Title", text, encoding); }
  void SetSubject(const char* text, PdfEncodingDef* encoding = nullptr) { SetText("Subject", text, encoding); }
  void SetKeywords(const char* text, PdfEncodingDef* encoding = nullptr) { SetText("Keywords", text, encoding); }
  void SetCreationDate(int year, int month, int day, int hour, int minutes, int seconds,
                       int ind, int offHour, int offMinutes);
  void SetModDate(int year, int month, int day, int hour, int minutes, int seconds,
                  int ind, int offHour, int offMinutes);
  PdfDate GetCreationDate() const { return GetDate("CreationDate"); }
  PdfDate GetModDate() const { return GetDate("ModDate"); }

 private:
  void SetText(const char* key, const char* text, PdfEncodingDef* encoding);
  void SetDate(const char* key, const PdfDate& date);
  PdfDate GetDate(const char* key) const;
};
