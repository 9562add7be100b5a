// The chart's graphics: backgrounds, grid with value labels, bars with
// borders and labels, and axes lines.
#pragma once

#include "app/settings.h"
#include "chart/chart_frame.h"

RgbColor interpolateColor(const RgbColor& from, const RgbColor& to, double low, double high, double t);

void drawPageBackground(ChartFrame& frame);
void drawChartBackground(ChartFrame& frame);
void drawGridAndValueLabels(ChartFrame& frame);
// A filled bar (or segment) with its border, when bars have one.
void drawBarBox(ChartFrame& frame, const RgbColor& color, double x, double y, double w, double h);
void drawBars(ChartFrame& frame);
void drawAxesLines(ChartFrame& frame);
