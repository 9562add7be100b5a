#include "chart/series_bars.h"

#include <algorithm>
#include <string>

#include "chart/chart_drawing.h"
#include "chart/chart_layout.h"
#include "chart/chart_text.h"
#include "pdf/content/pdf_contents.h"

namespace {

// One bar or segment of series k in category i: across the category axis at
// offset with thickness size, along the value axis from position p0 to p1
// (measured from the plot's base edge; p1 < p0 runs down or left).
void drawOne(ChartFrame& frame, int i, int k, double offset, double size, double p0, double p1) {
  const ChartSettings& s = chartSettings;
  const Category& category = categoryTable[i];
  const double value = category.values[k];
  const ColorPair& pair = seriesColors(k);
  const bool horizontal = s.chartStyle == Horizontal;
  const double low = std::min(p0, p1), extent = std::max(p0, p1) - low;
  const RgbColor color = interpolateColor(pair.from, pair.to, s.valueMin, s.valueMax, value);
  if (horizontal)
    drawBarBox(frame, color, frame.left + low, frame.bottom + offset, extent, size);
  else
    drawBarBox(frame, color, frame.left + offset, frame.bottom + low, size, extent);

  const FontSpec& fb = horizontal ? s.axesLabelY : s.axesLabelX;
  const int position = s.barLabelPosition;
  if (fb.size <= 0 || position == Axes) return;
  // Positions at the axis name the category once; the bar shows its value.
  const bool valueOnly = position >= AxesAndStart && position <= AxesAndCenter;
  const std::string text =
      formatBarLabel(valueOnly ? "VVVV" : s.barLabelFormat, category.label, value, s.series[k].name);
  const int place = valueOnly ? position - (AxesAndStart - Start) : position;
  applyTextFormat(frame.canvas, fb);
  placeBarLabel(frame, text, place, offset, size, (horizontal ? frame.left : frame.bottom) + p0, p1 - p0);
}

// The category's label at the axis, once under its group or stack.
void drawAxisLabel(ChartFrame& frame, int i, double offset, double size) {
  const ChartSettings& s = chartSettings;
  const FontSpec& fb = s.chartStyle == Horizontal ? s.axesLabelY : s.axesLabelX;
  const int position = s.barLabelPosition;
  if (fb.size <= 0 || position < Axes) return;
  applyTextFormat(frame.canvas, fb);
  placeBarLabel(frame, axisLabelText(i, position == Axes ? s.barLabelFormat : "TTTT"), Axes, offset, size, 0, 0);
}

}  // namespace

const ColorPair& seriesColors(int k) {
  const ChartSettings& s = chartSettings;
  if (s.series[k].colorsFromBarColors && s.barColorCount > 0) return s.barColors[k % s.barColorCount];
  return s.series[k].colors;
}

void drawSeriesBars(ChartFrame& frame) {
  const ChartSettings& s = chartSettings;
  const BarGeometry groups = barGeometry(frame);
  const int m = s.seriesCount;
  for (int i = 0; i < s.categoryCount; ++i) {
    const Category& category = categoryTable[i];
    const double offset = barOffset(groups, i);
    if (s.barMode == Stacked) {
      // Positive values stack up from 0, negative ones down from it.
      double up = 0, down = 0;
      for (int k = 0; k < m; ++k) {
        if (!(category.present >> k & 1)) continue;
        const double v = category.values[k];
        double& end = v >= 0 ? up : down;
        const double p0 = barLength(frame, end);
        end += v;
        drawOne(frame, i, k, offset, groups.size, p0, barLength(frame, end));
      }
    } else {
      // The bars of a group touch; a missing value leaves its place empty.
      const double size = groups.size / m;
      for (int k = 0; k < m; ++k)
        if (category.present >> k & 1)
          drawOne(frame, i, k, offset + size * k, size, 0, barLength(frame, category.values[k]));
    }
    drawAxisLabel(frame, i, offset, groups.size);
  }
}
