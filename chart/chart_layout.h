// The numbers the chart is drawn from: room for axis labels, divisions and
// bar geometry.
#pragma once

#include <string>

#include "chart/chart_frame.h"

// Steps 3 to 5 of the plot rectangle: saved bottom and left, then the room
// for the axis labels along the bottom and the left.
void layoutAxisLabelRoom(ChartFrame& frame);

// Divisions of the value axis: the count asked for, or the round scale's.
int divisionCount();
// The text at the category axis for data item or category i.
std::string axisLabelText(int i, const char* format);

double divisionPosition(const ChartFrame& frame, int j);
double divisionValue(int j);

struct BarGeometry {
  double size = 0.0;
  double gap = 0.0;
};

// Thickness and gap of the bars, or with several series of the groups or
// stacks, one per category.
BarGeometry barGeometry(const ChartFrame& frame);
double barOffset(const BarGeometry& bars, int index);
double barLength(const ChartFrame& frame, double value);
