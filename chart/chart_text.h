// Text on the chart: applying a text format, measuring, value and bar-label
// texts, and where each text of the chart goes.
#pragma once

#include <string>

#include "app/settings.h"
#include "chart/chart_frame.h"
#include "chart/value_text.h"

void applyTextFormat(PdfContents* canvas, const FontSpec& format);
void drawTextAt(PdfContents* canvas, double angle, double x, double y, const char* text);

// Metrics of the format last applied: ascent and descent divided by 72
// (independent of the size), the width of a space, the width of a text.
double fontAscent(PdfContents* canvas);
double fontDescent(PdfContents* canvas);
double spaceWidth(PdfContents* canvas);
double textWidth(PdfContents* canvas, const char* text);

std::string formatBarLabel(const char* format, const Datum& datum);
// The same for a bar of several series: SSSS is the series name. With series
// nullptr SSSS stays as written, as in single-series charts.
std::string formatBarLabel(const char* format, const char* label, double value, const char* series);

// The heading title and subtitle; sets the rectangle's room for them.
void drawHeadings(ChartFrame& frame);
// Captions X then Y; sets their room.
void drawCaptions(ChartFrame& frame);
// The value label of division j at division position q (format applied).
void drawValueLabel(ChartFrame& frame, int j, double q);
// The labels of bar i at its offset, size and length.
void drawBarLabels(ChartFrame& frame, const Datum& datum, double offset, double size, double length);
// One bar label at a place (Start, End, Center or Axes) of a bar that runs
// from base (a page coordinate along the value axis) over length, which is
// negative for a bar that runs down or left. The label format is applied.
void placeBarLabel(ChartFrame& frame, const std::string& text, int place, double offset, double size, double base,
                   double length);
