// Preparing the data table for the renderer: sorting and the value scale.
#pragma once

// Sorts the first dataCount items by sortField and sortOrder (nothing when
// sortField is 0); with several series the categories, Second comparing the
// sums of their values. Labels compare case-insensitively, then by byte order.
void sortData();

struct Category;
// The sum of a category's values, missing ones left out.
double categorySum(const Category& c);

// The lowest and highest value drawn: of the data items; with several series
// grouped, of the single values; stacked, of the stack ends (0 included).
// False when there is no value.
bool drawnValueExtremes(double* lowest, double* highest);

// Sets valueMin, valueMax and valueRange from the drawn values and the axes
// scale. Needs at least one data item or category.
void deriveValueScale();

// The axes scale applied to the lowest and highest value drawn.
void deriveValueScaleFrom(double lowest, double highest);
