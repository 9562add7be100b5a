#include "pdf/source_date.h"

#include <cstdlib>
#include <limits>

bool PdfSourceDateEpoch(time_t* out) {
  const char* text = std::getenv("SOURCE_DATE_EPOCH");
  if (text == nullptr || *text == '\0') return false;
  // Digits only: a sign, spaces or a fraction make the value invalid rather
  // than silently something else.
  unsigned long long value = 0;
  const unsigned long long limit = static_cast<unsigned long long>(std::numeric_limits<time_t>::max());
  for (const char* p = text; *p; ++p) {
    if (*p < '0' || *p > '9') return false;
    unsigned digit = static_cast<unsigned>(*p - '0');
    if (value > (limit - digit) / 10) return false;
    value = value * 10 + digit;
  }
  time_t instant = static_cast<time_t>(value);
  // gmtime must be able to break it down, or no date could be written from it.
  struct tm check;
  if (gmtime_r(&instant, &check) == nullptr || check.tm_year + 1900 > 9999) return false;
  *out = instant;
  return true;
}

time_t PdfFileTime() {
  time_t instant;
  return PdfSourceDateEpoch(&instant) ? instant : time(nullptr);
}
