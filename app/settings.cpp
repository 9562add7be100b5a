#include "app/settings.h"

ChartSettings chartSettings;
Category categoryTable[kMaxData];

void resetChartSettings() {
  // The record is too large for the stack of every caller (fuzzers run on
  // small threads), so the defaults come from one static copy.
  static const ChartSettings defaults;
  chartSettings = defaults;
  for (Category& c : categoryTable) c = Category{};
}

const char* standardFontName(int font) {
  static const char* const names[15] = {
      nullptr,          "Courier",        "Courier-Bold",          "Courier-BoldOblique",
      "Courier-Oblique", "Helvetica",     "Helvetica-Bold",        "Helvetica-BoldOblique",
      "Helvetica-Oblique", "Times-Roman", "Times-Bold",            "Times-Italic",
      "Times-BoldItalic", "Symbol",       "ZapfDingbats"};
  if (font < 1 || font > 14) return nullptr;
  return names[font];
}
