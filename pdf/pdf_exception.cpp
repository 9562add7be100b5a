#include "pdf/pdf_exception.h"

#include <cstdarg>
#include <cstdio>

PdfException::PdfException(int code, const char* format, ...) : code_(code) {
  va_list args;
  va_start(args, format);
  vsnprintf(message_, sizeof message_, format, args);
  va_end(args);
}
