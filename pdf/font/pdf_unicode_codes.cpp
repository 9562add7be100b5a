#include "pdf/font/pdf_unicode_codes.h"

int CodeOfUnicode(const UnicodeCode* table, int count, uint32_t unicode) {
  int low = 0, high = count - 1;
  while (low <= high) {
    int mid = (low + high) / 2;
    if (table[mid].unicode == unicode) return table[mid].code;
    if (table[mid].unicode < unicode)
      low = mid + 1;
    else
      high = mid - 1;
  }
  return -1;
}
