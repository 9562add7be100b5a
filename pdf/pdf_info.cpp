#include "pdf/pdf_info.h"

#include <cstdio>
#include <cstring>

#include "pdf/pdf_doc.h"
#include "pdf/pdf_exception.h"
#include "pdf/pdf_xref.h"

void PdfDateToStr(const PdfDate& date, char* buffer) {
  char text[128];
  int len = snprintf(text, sizeof text, "D:%04d%02d%02d%02d%02d%02d%c%02d'%02d'", date.year, date.month, date.day,
                     date.hour, date.minutes, date.seconds, static_cast<char>(date.ind), date.offHour,
                     date.offMinutes);
  std::memset(buffer, 0, 24);
  std::memcpy(buffer, text, len < 23 ? (len > 0 ? len : 0) : 23);
  // "%02d" writes -1 in two characters, so the length alone lets a negative
  // field through into a date no reader accepts.
  const bool negative = date.year < 0 || date.month < 0 || date.day < 0 || date.hour < 0 || date.minutes < 0 ||
                        date.seconds < 0 || date.offHour < 0 || date.offMinutes < 0;
  if (len != 23 || negative) throw PdfException(PDF_ERR_MISSING, "error: PdfInfo::PdfDateToStr --invalid date[%s:%d].", text, len);
}

PdfDate StrToPdfDate(const char* text) {
  PdfDate date;
  if (!text || std::strlen(text) < 16)
    throw PdfException(PDF_ERR_MISSING, "error: PdfInfo::StrToPdfDate --invalid value[%s]", text ? text : "");
  char ind = static_cast<char>(date.ind);
  int n = sscanf(text, "D:%4d%2d%2d%2d%2d%2d%c%2d'%2d'", &date.year, &date.month, &date.day, &date.hour,
                 &date.minutes, &date.seconds, &ind, &date.offHour, &date.offMinutes);
  date.ind = ind;
  bool valid = n >= 6 && date.year >= 0 && date.month >= 1 && date.month <= 12 && date.day >= 1 &&
               date.day <= 31 && date.hour >= 0 && date.hour <= 23 && date.minutes >= 0 && date.minutes <= 59 &&
               date.seconds >= 0 && date.seconds <= 59 && (ind == '+' || ind == '-' || ind == 'z') &&
               date.offHour >= 0 && date.offHour <= 23 && date.offMinutes >= 0 && date.offMinutes <= 59;
  if (!valid) throw PdfException(PDF_ERR_MISSING, "error: PdfInfo::StrToPdfDate --invalid value[%s]", text);
  return date;
}

// A refused registration is freed once, by the failing constructor.
PdfInfo::PdfInfo(PdfXref* xref) : PdfDictionary(xref) { xref->AddObjectUnderConstruction(this); }



void PdfInfo::SetText(const char* key, const char* text, PdfEncodingDef* encoding) {
  if (encoding) {
    RegisterEncodingWithDocument(GetXref(), encoding);
    AddElement(key, new PdfEncodedText(text, encoding));
  } else {
    AddElement(key, new PdfText(text));
  }
}

void PdfInfo::SetCreationDate(int year, int month, int day, int hour, int minutes, int seconds, int ind,
                              int offHour, int offMinutes) {
  SetDate("CreationDate", PdfDate{year, month, day, hour, minutes, seconds, ind, offHour, offMinutes});
}

void PdfInfo::SetModDate(int year, int month, int day, int hour, int minutes, int seconds, int ind, int offHour,
                         int offMinutes) {
  SetDate("ModDate", PdfDate{year, month, day, hour, minutes, seconds, ind, offHour, offMinutes});
}

void PdfInfo::SetDate(const char* key, const PdfDate& date) {
  char text[24];
  PdfDateToStr(date, text);
  AddElement(key, new PdfText(text));
}

PdfDate PdfInfo::GetDate(const char* key) const {
  PdfObject* value = GetValue(key);
  if (!value || value->GetType() != otText) return PdfDate();
  return StrToPdfDate(static_cast<PdfText*>(value)->GetValue());
}
