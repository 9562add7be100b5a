// Tables of several series: a header line naming the series, then one line
// per category with its label and one value per series.
#pragma once

#include <string>
#include <vector>

// Splits one line (without its line break) into cells at separator. A cell
// that starts with a double quote runs to the closing quote, may hold the
// separator, and writes a quote as two; the closing quote must end the cell.
// Returns nullptr, or the problem for the error line.
const char* splitTableCells(const char* line, const char* separator, std::vector<std::string>* cells);
