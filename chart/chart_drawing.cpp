#include "chart/chart_drawing.h"

#include <algorithm>

#include "chart/chart_layout.h"
#include "chart/chart_text.h"
#include "pdf/content/pdf_contents.h"

namespace {

double interpolate(double from, double to, double low, double high, double t) {
  double c = from + (t - low) * (to - from) / (high - low);
  // Rounding may step a hair past the end colours, which the canvas refuses.
  return std::min(std::max(c, std::min(from, to)), std::max(from, to));
}

void fillRect(PdfContents* c, const RgbColor& color, double x, double y, double w, double h) {
  c->SetRGBFill(color.red, color.green, color.blue);
  c->Rectangle(x, y, w, h);
  c->Fill();
}

}  // namespace

RgbColor interpolateColor(const RgbColor& from, const RgbColor& to, double low, double high, double t) {
  // An empty range has only one colour: the from colour.
  if (high == low) return from;
  return RgbColor{interpolate(from.red, to.red, low, high, t), interpolate(from.green, to.green, low, high, t),
                  interpolate(from.blue, to.blue, low, high, t)};
}

void drawPageBackground(ChartFrame& frame) {
  const ChartSettings& s = chartSettings;
  const RgbColor& p = s.pageColor;
  if (p.red < 1.0 || p.green < 1.0 || p.blue < 1.0) fillRect(frame.canvas, p, 0, 0, s.pageWidth, s.pageHeight);
}

void drawChartBackground(ChartFrame& frame) {
  const ChartSettings& s = chartSettings;
  const RgbColor& from = s.chartBackgroundFrom;
  const RgbColor& to = s.chartBackgroundTo;
  if (!(!sameColor(from, s.pageColor) || !sameColor(to, s.pageColor))) return;
  if (from.red == -1 || to.red == -1) return;
  const double left = frame.left, right = frame.right, top = frame.top, bottom = frame.bottom;
  const int d = divisionCount();
  if (sameColor(from, to) || d < 2) {
    fillRect(frame.canvas, from, left, bottom, right - left, top - bottom);
    return;
  }
  for (int k = 0; k < d; ++k) {
    RgbColor band = interpolateColor(from, to, 1, d, k + 1);
    if (s.chartStyle == Horizontal)
      fillRect(frame.canvas, band, (right - left) * k / d + left, bottom, (right - left) / d, top - bottom);
    else
      fillRect(frame.canvas, band, left, (top - bottom) * k / d + bottom, right - left, (top - bottom) / d);
  }
}

void drawGridAndValueLabels(ChartFrame& frame) {
  const ChartSettings& s = chartSettings;
  PdfContents* c = frame.canvas;
  const bool horizontal = s.chartStyle == Horizontal;
  const FontSpec& fv = horizontal ? s.axesLabelX : s.axesLabelY;
  const double gw = s.gridLineWidth;
  const int divisions = divisionCount();

  if (fv.size > 0) applyTextFormat(c, fv);
  bool dashed = false;
  if (gw > 0) {
    c->SetLineWidth(gw);
    c->SetRGBStroke(s.gridLineColor.red, s.gridLineColor.green, s.gridLineColor.blue);
    if (s.gridLineStyle[0] > 0 || s.gridLineStyle[1] > 0 || s.gridLineStyle[2] > 0) {
      c->SetDash(s.gridLineStyle[0], s.gridLineStyle[1], s.gridLineStyle[2]);
      dashed = true;
    }
  }
  for (int j = 0; j <= divisions; ++j) {
    const double q = divisionPosition(frame, j);
    if (gw > 0) {
      bool draw = true;
      double at = q;
      if (j == 0 && s.axesLineWidth == 0)
        at = q + gw / 2;  // an end line moved inwards lies inside the plot
      else if (j == divisions && !s.axesLineFull)
        at = q - gw / 2;
      else if (j == 0 || j == divisions)
        draw = false;
      if (draw) {
        if (horizontal) {
          c->MoveTo(at, frame.bottom);
          c->LineTo(at, frame.top);
        } else {
          c->MoveTo(frame.left, at);
          c->LineTo(frame.right, at);
        }
        c->Stroke();
      }
    }
    if (fv.size > 0) drawValueLabel(frame, j, q);
  }
  if (gw > 0 && dashed) c->SetDash(0, 0, 0);
}

void drawBarBox(ChartFrame& frame, const RgbColor& color, double x, double y, double w, double h) {
  const ChartSettings& s = chartSettings;
  PdfContents* c = frame.canvas;
  const double e = frame.borderInset;
  fillRect(c, color, x, y, w, h);
  if (s.barBorderWidth > 0) {
    c->SetRGBStroke(s.barBorderColor.red, s.barBorderColor.green, s.barBorderColor.blue);
    c->SetLineWidth(s.barBorderWidth);
    c->Rectangle(x + e, y + e, w - 2 * e, h - 2 * e);
    c->Stroke();
  }
}

void drawBars(ChartFrame& frame) {
  const ChartSettings& s = chartSettings;
  const bool horizontal = s.chartStyle == Horizontal;
  const BarGeometry bars = barGeometry(frame);
  for (int i = 0; i < s.dataCount; ++i) {
    const Datum& datum = s.data[i];
    const ColorPair& pair = s.barColors[i % s.barColorCount];
    const double offset = barOffset(bars, i);
    const double length = barLength(frame, datum.value);
    double x, y, w, h;
    if (horizontal) {
      x = frame.left;
      y = frame.bottom + offset;
      w = length;
      h = bars.size;
    } else {
      x = frame.left + offset;
      y = frame.bottom;
      w = bars.size;
      h = length;
    }
    drawBarBox(frame, interpolateColor(pair.from, pair.to, s.valueMin, s.valueMax, datum.value), x, y, w, h);
    drawBarLabels(frame, datum, offset, bars.size, length);
  }
}

void drawAxesLines(ChartFrame& frame) {
  const ChartSettings& s = chartSettings;
  PdfContents* c = frame.canvas;
  const double width = s.axesLineWidth;
  if (width <= 0) return;
  const double a = width > 1.0 ? (width - 0.5) * 0.5 : 0;
  c->SetRGBStroke(s.axesLineColor.red, s.axesLineColor.green, s.axesLineColor.blue);
  c->SetLineWidth(width);
  if (s.axesLineFull) {
    c->Rectangle(frame.left + a, frame.bottom + a, (frame.right - frame.left) - 2 * a,
                 (frame.top - frame.bottom) - 2 * a);
  } else {
    c->MoveTo(frame.left + a, frame.top);
    c->LineTo(frame.left + a, frame.bottom + a);
    c->LineTo(frame.right, frame.bottom + a);
  }
  c->Stroke();
}
