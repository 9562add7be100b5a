#include "chart/chart_legend.h"

#include <algorithm>
#include <vector>

#include "app/settings.h"
#include "chart/chart_drawing.h"
#include "chart/chart_text.h"
#include "chart/series_bars.h"
#include "pdf/content/pdf_contents.h"
#include "pdf/font/pdf_font.h"

namespace {

struct Item {
  double x = 0;    // left edge of the swatch
  double top = 0;  // top of the item's line
};

}  // namespace

bool legendShown() {
  const ChartSettings& s = chartSettings;
  return s.seriesCount >= 2 && s.legendPosition != LegendNone;
}

void drawLegend(ChartFrame& frame) {
  if (!legendShown()) return;
  const ChartSettings& s = chartSettings;
  PdfContents* c = frame.canvas;
  const FontSpec& font = s.legendFont;
  const int n = s.seriesCount;
  applyTextFormat(c, font);

  // Lines are as high as the font at its size, unlike the heading metrics;
  // fonts without ascent and descent (Symbol, ZapfDingbats) get a usual one.
  const double size = font.size;
  double ascent = c->GetCurrentFont()->GetAscent() * size / 1000;
  double descent = c->GetCurrentFont()->GetDescent() * size / 1000;
  if (ascent - descent <= 0) {
    ascent = 0.8 * size;
    descent = -0.2 * size;
  }
  const double lineHeight = ascent - descent + 0.3 * size;
  const double swatch = 0.8 * size;
  const double space = spaceWidth(c);
  const double gap = size;     // between items side by side
  const double margin = size;  // between the legend and the plot

  std::vector<double> width(n);
  for (int k = 0; k < n; ++k) width[k] = swatch + space + textWidth(c, s.series[k].name);

  std::vector<Item> items(n);
  const int position = s.legendPosition;
  if (position == LegendTop || position == LegendBottom) {
    // Rows as wide as the rectangle allows, each centred on it.
    const double room = frame.right - frame.left;
    std::vector<int> rowStart{0};
    double rowWidth = width[0];
    std::vector<double> rowWidths;
    for (int k = 1; k < n; ++k) {
      if (rowWidth + gap + width[k] > room) {
        rowWidths.push_back(rowWidth);
        rowStart.push_back(k);
        rowWidth = width[k];
      } else {
        rowWidth += gap + width[k];
      }
    }
    rowWidths.push_back(rowWidth);
    const int rows = static_cast<int>(rowStart.size());
    const double height = rows * lineHeight;
    const double top = position == LegendTop ? frame.top : frame.bottom + height;
    for (int r = 0; r < rows; ++r) {
      const int end = r + 1 < rows ? rowStart[r + 1] : n;
      double x = frame.left + (room - rowWidths[r]) / 2;
      for (int k = rowStart[r]; k < end; ++k) {
        items[k] = Item{x, top - r * lineHeight};
        x += width[k] + gap;
      }
    }
    if (position == LegendTop)
      frame.top = truncToInt(frame.top - height - margin);
    else
      frame.bottom = truncToInt(frame.bottom + height + margin);
  } else {
    // Columns as tall as the rectangle allows, the block centred on it.
    const int perColumn = std::max(1, static_cast<int>((frame.top - frame.bottom) / lineHeight));
    const int columns = (n + perColumn - 1) / perColumn;
    std::vector<double> columnX(columns);
    double blockWidth = 0;
    for (int j = 0; j < columns; ++j) {
      double widest = 0;
      for (int k = j * perColumn; k < std::min(n, (j + 1) * perColumn); ++k) widest = std::max(widest, width[k]);
      columnX[j] = blockWidth;
      blockWidth += widest + (j + 1 < columns ? gap : 0);
    }
    const double height = std::min(n, perColumn) * lineHeight;
    const double top = (frame.top + frame.bottom) / 2.0 + height / 2;
    const double left = position == LegendLeft ? frame.left : frame.right - blockWidth;
    for (int k = 0; k < n; ++k) items[k] = Item{left + columnX[k / perColumn], top - (k % perColumn) * lineHeight};
    if (position == LegendLeft)
      frame.left = truncToInt(frame.left + blockWidth + margin);
    else
      frame.right = truncToInt(frame.right - blockWidth - margin);
  }

  // Swatches first, then the names, so that the text colour is set once.
  auto baseline = [&](const Item& item) { return item.top - (lineHeight - (ascent - descent)) / 2 - ascent; };
  for (int k = 0; k < n; ++k) {
    const ColorPair& pair = seriesColors(k);
    const RgbColor color = interpolateColor(pair.from, pair.to, 0, 1, 0.5);
    const double middle = baseline(items[k]) + (ascent + descent) / 2;
    c->SetRGBFill(color.red, color.green, color.blue);
    c->Rectangle(items[k].x, middle - swatch / 2, swatch, swatch);
    c->Fill();
  }
  applyTextFormat(c, font);
  for (int k = 0; k < n; ++k) drawTextAt(c, 0, items[k].x + swatch + space, baseline(items[k]), s.series[k].name);
}
