// Commands for charts with several series: declaring a series, a category
// row, the bar mode and the legend.
#include <cstring>

#include "app/commands.h"
#include "app/interpreter.h"
#include "app/log.h"
#include "app/settings.h"

namespace {

ChartSettings& cs = chartSettings;

// A value argument of "row" starts like a number; a "-" followed by a letter
// is the next command.
bool startsNumber(const char* p) {
  const char c = p[0];
  if ((c >= '0' && c <= '9') || c == '+' || c == '.') return true;
  return c == '-' && ((p[1] >= '0' && p[1] <= '9') || p[1] == '.');
}

}  // namespace

bool seriesMixedWithSingle(const char* display) {
  if (cs.dataCount == 0) return false;
  logLine("ERROR: %s - cannot be mixed with datum or dataset", display);
  return true;
}

bool singleMixedWithSeries(const char* display) {
  if (!hasSeries()) return false;
  logLine("ERROR: %s - cannot be mixed with series, row or table", display);
  return true;
}

const char* cmdSeries(const char* a) {
  if (seriesMixedWithSingle("Series")) return nullptr;
  if (cs.seriesCount >= kMaxSeries) {
    logLine("ERROR: Series - maximum number of series (%d) reached", kMaxSeries);
    return nullptr;
  }
  Series& series = cs.series[cs.seriesCount];
  const char* p = readRequiredText(a, series.name, kMaxSeriesName, "Series", "no name", "name too long");
  if (!p) return nullptr;
  // Read like "barcolor": a colour that cannot be read keeps the entry's
  // previous contents, and each is checked.
  p = readColor(p, &series.colors.from);
  if (!colorIsValid(series.colors.from)) {
    logLine("ERROR: Series - from color is not valid");
    return nullptr;
  }
  p = readColor(p, &series.colors.to);
  if (!colorIsValid(series.colors.to)) {
    logLine("ERROR: Series - to color is not valid");
    return nullptr;
  }
  series.colorsFromBarColors = 0;
  ++cs.seriesCount;
  return p;
}

const char* cmdRow(const char* a) {
  if (cs.categoryCount >= kMaxData) {
    logLine("ERROR: Row - too many");
    return nullptr;
  }
  if (cs.chartStyle == NoChartStyle) {
    logLine("ERROR: Row - Type and/or Style not specified");
    return nullptr;
  }
  if (seriesMixedWithSingle("Row")) return nullptr;
  if (cs.seriesCount == 0) {
    logLine("ERROR: Row - no series declared");
    return nullptr;
  }
  Category& category = categoryTable[cs.categoryCount];
  category = Category{};
  const char* p = readRequiredText(a, category.label, kMaxLabel, "Row", "no label", "label too long");
  if (!p) return nullptr;
  // Every number up to the next command counts, so that a value too many or
  // too few is reported rather than taken for something else.
  int given = 0;
  bool decimals = false;
  for (;;) {
    const char* q = skipWhiteSpace(p);
    if (!startsNumber(q)) break;
    double value;
    bool ok, hadPoint;
    p = readReal(q, &value, &ok, &hadPoint);
    if (!ok) {
      logLine("ERROR: Row - invalid value");
      return nullptr;
    }
    if (given < cs.seriesCount) {
      category.values[given] = value;
      category.present |= uint64_t{1} << given;
    }
    decimals = decimals || hadPoint;
    ++given;
  }
  if (given != cs.seriesCount) {
    logLine("ERROR: Row - %d values given, %d series declared", given, cs.seriesCount);
    return nullptr;
  }
  ++cs.categoryCount;
  if (decimals) cs.dataHasDecimals = 1;
  return p;
}

const char* cmdBarMode(const char* a) {
  int mode;
  const char* p = readRequiredKeyword(a, barModeKeywords, 20, &mode, "BarMode", "mode not specified",
                                      "mode too long", "unknown mode");
  if (!p) return nullptr;
  cs.barMode = mode;
  return p;
}

const char* cmdLegend(const char* a) {
  int position;
  const char* p = readRequiredKeyword(a, legendPositionKeywords, 20, &position, "Legend",
                                      "position not specified", "position too long", "unknown position");
  if (!p) return nullptr;
  cs.legendPosition = position;
  // The font is optional: the next command, a comment or the end may follow.
  const char* q = skipWhiteSpace(p);
  if (position == LegendNone || *q == '\0' || *q == '-' || *q == ';') return p;
  return readFontSpec(p, &cs.legendFont, "Legend");
}
