// The bars of a chart with several series: grouped side by side or stacked.
#pragma once

#include "app/settings.h"
#include "chart/chart_frame.h"

// The colour pair of series k: its own, or for a series a table declared,
// bar colour pair k (in turn).
const ColorPair& seriesColors(int k);

// Every category's bars or segments with their borders and labels.
void drawSeriesBars(ChartFrame& frame);
