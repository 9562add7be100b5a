#include "chart/chart_layout.h"

#include <string>

#include "app/data.h"
#include "app/nice_scale.h"
#include "app/settings.h"
#include "chart/chart_text.h"
#include "chart/value_text.h"
#include "pdf/content/pdf_contents.h"

namespace {

// Width of the value labels along the left. Plain numbers on the first
// three scales are measured by the highest value's text alone, as their
// pages always were; a number format or the round scale measures every
// division's text, as a minus sign, prefix or longer lower text can make
// another the widest.
double valueLabelWidth(PdfContents* c) {
  const ChartSettings& s = chartSettings;
  if (s.axesScale != Nice && plainNumberFormat()) return textWidth(c, formatValue(s.valueMax).c_str());
  double widest = 0;
  for (int j = 0, n = divisionCount(); j <= n; ++j) {
    const double w = textWidth(c, divisionText(j).c_str());
    if (w > widest) widest = w;
  }
  return widest;
}

}  // namespace

void layoutAxisLabelRoom(ChartFrame& frame) {
  ChartSettings& s = chartSettings;
  PdfContents* c = frame.canvas;
  const bool horizontal = s.chartStyle == Horizontal;
  const int position = s.barLabelPosition;

  frame.savedBottom = frame.bottom;
  frame.savedLeft = frame.left;

  if (s.axesLabelX.size > 0) {
    applyTextFormat(c, s.axesLabelX);
    const double a = fontAscent(c), d = fontDescent(c);
    if (horizontal)
      frame.bottom = truncToInt(frame.bottom + a - 2 * d);
    else if (position >= Axes && position <= AxesAndCenter)
      frame.bottom = truncToInt(frame.bottom + a - 3 * d);
  }

  if (s.axesLabelY.size > 0) {
    applyTextFormat(c, s.axesLabelY);
    const double sp = spaceWidth(c);
    if (!horizontal) {
      frame.left = truncToInt(frame.left + 2 * sp + valueLabelWidth(c));
    } else if (position >= Axes && position <= AxesAndCenter) {
      int widest = 0;
      const int count = hasSeries() ? s.categoryCount : s.dataCount;
      for (int i = 0; i < count; ++i) {
        double room;
        if (position == Axes)
          room = 2 * sp + textWidth(c, axisLabelText(i, s.barLabelFormat).c_str());
        else
          room = sp + textWidth(c, axisLabelText(i, "TTTT").c_str());
        if (room > widest) widest = truncToInt(room);
      }
      frame.left = frame.left + widest;
    }
  }
}

int divisionCount() {
  const ChartSettings& s = chartSettings;
  return s.axesScale == Nice && s.roundScale.divisions > 0 ? s.roundScale.divisions : s.axesDivisions;
}

std::string axisLabelText(int i, const char* format) {
  const ChartSettings& s = chartSettings;
  if (!hasSeries()) return formatBarLabel(format, s.data[i]);
  // One label per category: its value is the category's total, and no series
  // is named.
  const Category& category = categoryTable[i];
  return formatBarLabel(format, category.label, categorySum(category), "");
}

double divisionPosition(const ChartFrame& frame, int j) {
  const int divisions = divisionCount();
  if (chartSettings.chartStyle == Horizontal)
    return static_cast<double>(frame.right - frame.left) * j / divisions + frame.left;
  return static_cast<double>(frame.top - frame.bottom) * j / divisions + frame.bottom;
}

double divisionValue(int j) {
  const ChartSettings& s = chartSettings;
  if (s.axesScale == Nice) return roundScaleValue(s.roundScale, j);
  if (j >= s.axesDivisions) return s.valueMax;
  return j * s.valueRange / s.axesDivisions + s.valueMin;
}

BarGeometry barGeometry(const ChartFrame& frame) {
  const ChartSettings& s = chartSettings;
  // With several series each category is one group or stack.
  const int n = hasSeries() ? s.categoryCount : s.dataCount;
  const int extent = s.chartStyle == Horizontal ? frame.top - frame.bottom : frame.right - frame.left;
  BarGeometry bars;
  if (n <= 1) {
    // One bar: no gap, and it starts at the plot's edge.
    bars.gap = 0;
    bars.size = (s.barSize > 0 && s.barSize < extent) ? s.barSize : extent;
    return bars;
  }
  if (s.barSize > 0) {
    int g = extent - s.barSize * n;
    if (g < n) g = n;
    bars.gap = static_cast<double>(g) / (n - 1);
    bars.size = (extent - (n - 1) * bars.gap) / n;
  } else {
    int g = extent - (n - 1) * s.barSpacing;
    if (g < n) g = n;
    bars.size = static_cast<double>(g) / n;
    bars.gap = (extent - n * bars.size) / (n - 1);
  }
  return bars;
}

double barOffset(const BarGeometry& bars, int index) { return (bars.size + bars.gap) * index; }

double barLength(const ChartFrame& frame, double value) {
  const ChartSettings& s = chartSettings;
  // The derived scale always has a range; a record set by hand may not.
  if (s.valueRange == 0) return 0;
  const int extent = s.chartStyle == Horizontal ? frame.right - frame.left : frame.top - frame.bottom;
  return (value - s.valueMin) * extent / s.valueRange;
}
