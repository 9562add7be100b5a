// Preparing the data table for the renderer: sorting and the value scale.
#pragma once

// Sorts the first dataCount items by sortField and sortOrder (nothing when
// sortField is 0). Labels compare case-insensitively, then by byte order.
void sortData();

// Sets valueMin, valueMax and valueRange from the data and the axes scale.
// dataCount must be at least 1.
void deriveValueScale();
