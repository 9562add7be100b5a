// The chart's graphics: backgrounds, grid with value labels, bars with
// borders and labels, and axes lines.
#pragma once

#include "app/settings.h"
#include "chart/chart_frame.h"

RgbColor interpolateColor(const RgbColor& from, const RgbColor& to, double low, double high, double t);

void drawPageBackground(ChartFrame& frame);
void drawChartBackground(ChartFrame& frame);
void drawGridAndValueLabels(ChartFrame& frame);
void drawBars(ChartFrame& frame);
void drawAxesLines(ChartFrame& frame);
