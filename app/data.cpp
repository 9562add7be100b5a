// The data commands, sorting and the value scale.
#include "app/data.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/commands.h"
#include "app/interpreter.h"
#include "app/log.h"
#include "app/nice_scale.h"
#include "app/platform.h"
#include "app/settings.h"
#include "app/standard_streams.h"
#include "app/utf8.h"

namespace {

ChartSettings& cs = chartSettings;

constexpr int kDatasetPiece = 198;

}  // namespace

const char* cmdDatum(const char* a) {
  if (cs.dataCount >= kMaxData) {
    logLine("ERROR: Datum - too many");
    return nullptr;
  }
  if (cs.chartStyle == NoChartStyle) {
    logLine("ERROR: Datum - Type and/or Style not specified");
    return nullptr;
  }
  if (singleMixedWithSeries("Datum")) return nullptr;
  Datum& d = cs.data[cs.dataCount];
  const char* p = readRequiredText(a, d.label, kMaxLabel, "Datum", "no label", "label too long");
  if (!p) return nullptr;
  bool ok, hadPoint;
  p = readReal(p, &d.value, &ok, &hadPoint);
  if (!ok) {
    logLine("ERROR: Datum - no value");
    return nullptr;
  }
  ++cs.dataCount;
  if (hadPoint) cs.dataHasDecimals = 1;
  return p;
}

const char* cmdDataset(const char* a) {
  char path[kMaxPath + 1];
  const char* p = readRequiredWord(a, path, kMaxPath, "Dataset", "no filename", "filename too long");
  if (!p) return nullptr;
  if (cs.chartStyle == NoChartStyle) {
    logLine("ERROR: Dataset - Type and/or Style not specified");
    return nullptr;
  }
  if (singleMixedWithSeries("Dataset")) return nullptr;
  cs.textGiven = 1;
  const bool utf8 = cs.textEncoding == Utf8Text;
  FILE* f = openInputFile(path, "Dataset");
  if (!f) return nullptr;
  bool failed = false;
  char line[kDatasetPiece + 1];
  int lineNumber = 0;
  while (!failed && readTextPiece(f, line, kDatasetPiece)) {
    size_t n = strlen(line);
    if (n > 0 && isWhiteSpace(line[n - 1])) line[--n] = '\0';
    ++lineNumber;
    if (n == 0) continue;
    // Only a further item after the 1000th is too much, whether the table
    // filled up in this file or before it; the end of the file may or may
    // not follow a line break.
    if (cs.dataCount >= kMaxData) {
      logLine("ERROR: Dataset - too much data");
      failed = true;
      break;
    }
    if (utf8 && !utf8IsValid(line, n)) {
      logLine("ERROR: invalid UTF-8 on line %d of dataset [%.300s]", lineNumber, path);
      failed = true;
      break;
    }
    char* sep = strstr(line, cs.dataSeparator);
    if (!sep) {
      logLine("ERROR: no value on line %d of dataset [%.300s]", lineNumber, path);
      failed = true;
      break;
    }
    Datum& d = cs.data[cs.dataCount];
    size_t labelLength = static_cast<size_t>(sep - line);
    if (utf8)
      labelLength = utf8CutLength(line, labelLength, kMaxLabel);
    else if (labelLength > static_cast<size_t>(kMaxLabel))
      labelLength = kMaxLabel;
    memcpy(d.label, line, labelLength);
    d.label[labelLength] = '\0';
    bool ok, hadPoint;
    readReal(sep + strlen(cs.dataSeparator), &d.value, &ok, &hadPoint);
    if (!ok) {
      logLine("ERROR: invalid value on line %d of dataset [%.300s]", lineNumber, path);
      failed = true;
      break;
    }
    ++cs.dataCount;
    if (hadPoint) cs.dataHasDecimals = 1;
  }
  // A read error is not the end of the file: the data would be silently cut.
  if (!failed && ferror(f)) {
    logLine("ERROR: Dataset - could not open [%s], error=%d", path, errno);
    failed = true;
  }
  closeInputFile(f);
  return failed ? nullptr : p;
}

const char* cmdDataSeparator(const char* a) {
  return readRequiredText(a, cs.dataSeparator, kMaxDataSeparator, "DataSeparator", "not specified",
                          "too long");
}

const char* cmdDataSort(const char* a) {
  int field, order;
  const char* p = readRequiredKeyword(a, sortFieldKeywords, 20, &field, "DataSort", "field not specified",
                                      "field too long", "unknown field");
  if (!p) return nullptr;
  cs.sortField = field;
  p = readRequiredKeyword(p, sortOrderKeywords, 20, &order, "DataSort", "sort order not specified",
                          "sort order too long", "unknown sort order");
  if (!p) return nullptr;
  cs.sortOrder = order;
  return p;
}

double categorySum(const Category& c) {
  double sum = 0;
  for (int k = 0; k < cs.seriesCount; ++k)
    if (c.present >> k & 1) sum += c.values[k];
  return sum;
}

namespace {

int compareData(const void* x, const void* y) {
  const Datum* a = static_cast<const Datum*>(x);
  const Datum* b = static_cast<const Datum*>(y);
  bool ascending = cs.sortOrder == Ascending;
  if (cs.sortField == First)
    return ascending ? compareNoCase(a->label, b->label) : compareNoCase(b->label, a->label);
  if (a->value == b->value) return 0;
  bool less = a->value < b->value;
  if (ascending) return less ? -1 : 1;
  return less ? 1 : -1;
}

// Categories sort by label like data items, or by the sum of their values.
int compareCategories(const void* x, const void* y) {
  const Category* a = static_cast<const Category*>(x);
  const Category* b = static_cast<const Category*>(y);
  bool ascending = cs.sortOrder == Ascending;
  if (cs.sortField == First)
    return ascending ? compareNoCase(a->label, b->label) : compareNoCase(b->label, a->label);
  const double sa = categorySum(*a), sb = categorySum(*b);
  if (sa == sb) return 0;
  bool less = sa < sb;
  if (ascending) return less ? -1 : 1;
  return less ? 1 : -1;
}

}  // namespace

void sortData() {
  if (cs.sortField == NoSort) return;
  if (hasSeries()) {
    if (cs.categoryCount >= 2)
      qsort(categoryTable, static_cast<size_t>(cs.categoryCount), sizeof(Category), compareCategories);
    return;
  }
  if (cs.dataCount < 2) return;
  qsort(cs.data, static_cast<size_t>(cs.dataCount), sizeof(Datum), compareData);
}

bool drawnValueExtremes(double* lowest, double* highest) {
  bool any = false;
  auto take = [&](double v) {
    if (!any || v < *lowest) *lowest = v;
    if (!any || v > *highest) *highest = v;
    any = true;
  };
  if (!hasSeries()) {
    for (int i = 0; i < cs.dataCount; ++i) take(cs.data[i].value);
    return any;
  }
  for (int i = 0; i < cs.categoryCount; ++i) {
    const Category& c = categoryTable[i];
    if (cs.barMode == Stacked) {
      // The ends of the stack above and of the stack below zero; a stack
      // always starts at 0.
      double up = 0, down = 0;
      for (int k = 0; k < cs.seriesCount; ++k) {
        if (!(c.present >> k & 1)) continue;
        if (c.values[k] >= 0)
          up += c.values[k];
        else
          down += c.values[k];
      }
      take(down);
      take(up);
    } else {
      for (int k = 0; k < cs.seriesCount; ++k)
        if (c.present >> k & 1) take(c.values[k]);
    }
  }
  return any;
}

void deriveValueScale() {
  double lowest = 0, highest = 0;
  // A table whose cells are all empty draws nothing; its scale is 0 to 0.
  if (!drawnValueExtremes(&lowest, &highest) && !hasSeries()) return;
  deriveValueScaleFrom(lowest, highest);
}

void deriveValueScaleFrom(double lowest, double highest) {
  cs.valueMin = lowest;
  cs.valueMax = highest;
  switch (cs.axesScale) {
    case FromZero:
      if (lowest > 0.0) cs.valueMin = 0.0;
      break;
    case UnderLowestValue: {
      double span = (highest - lowest) * (cs.axesScalePercent + 100) * 0.01;
      cs.valueMin = highest - span;
      if (cs.valueMin < 0.0 && lowest >= 0.0) cs.valueMin = 0.0;
      if (!cs.dataHasDecimals) cs.valueMin = std::floor(cs.valueMin);
      break;
    }
    case Range:
      if (lowest > cs.axesScaleFrom) cs.valueMin = cs.axesScaleFrom;
      if (highest < cs.axesScaleTo) cs.valueMax = cs.axesScaleTo;
      break;
    case Nice:
      cs.roundScale = deriveNiceScale(lowest, highest, cs.axesDivisions);
      cs.valueMin = roundScaleValue(cs.roundScale, 0);
      cs.valueMax = roundScaleValue(cs.roundScale, cs.roundScale.divisions);
      break;
    default:
      break;
  }
  // An empty scale would give every bar zero length and every division the
  // same label: reach to 0 instead (0 to 1 when the values are 0).
  if (cs.valueMax == cs.valueMin) {
    if (cs.valueMin > 0.0)
      cs.valueMin = 0.0;
    else if (cs.valueMax < 0.0)
      cs.valueMax = 0.0;
    else
      cs.valueMax = 1.0;
  }
  cs.valueRange = cs.valueMax - cs.valueMin;
}
