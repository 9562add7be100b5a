// The legend of a chart with several series: each series' name beside a
// swatch of its colour, in series order.
#pragma once

#include "chart/chart_frame.h"

// Whether the chart has a legend: several series and a position not None.
bool legendShown();

// Draws the legend at its position and takes its room from the plot
// rectangle, before the axis labels and captions take theirs.
void drawLegend(ChartFrame& frame);
