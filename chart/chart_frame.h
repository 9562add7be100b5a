// What the drawing steps of one chart share: the canvas, the plot rectangle
// as the layout leaves it, and the values derived once per chart.
#pragma once

class PdfContents;

struct ChartFrame {
  PdfContents* canvas = nullptr;
  // The plot rectangle; every assignment goes through truncation.
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  // The rectangle's bottom and left before the axis labels took their room.
  int savedBottom = 0;
  int savedLeft = 0;
  // The page's media box top (its height) and right edge (its width).
  int pageTop = 0;
  int pageRight = 0;
  // Inset of bar borders wider than one point.
  double borderInset = 0.0;
};

// Truncation toward zero to a 32-bit integer, as every rectangle edge takes.
int truncToInt(double value);
