// The "table" command: series from the header line, categories from the
// lines after it.
#include "app/table_reader.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "app/commands.h"
#include "app/interpreter.h"
#include "app/log.h"
#include "app/platform.h"
#include "app/settings.h"
#include "app/standard_streams.h"
#include "app/utf8.h"

namespace {

ChartSettings& cs = chartSettings;

// Room for a header of 50 quoted 60-character names, every character a
// doubled quote, with the longest separator between them.
constexpr int kTableLine = 8191;

bool blank(char c) { return c == ' ' || c == '\t'; }

// A value cell: blanks, one number as the real reader takes it, blanks.
// Anything else in the cell (units, thousands separators) is refused rather
// than dropped.
bool readCellValue(const std::string& cell, double* value, bool* hadPoint) {
  const char* p = cell.c_str();
  while (blank(*p)) ++p;
  bool ok;
  const char* end = readReal(p, value, &ok, hadPoint);
  if (!ok || end == p) return false;
  while (blank(*end)) ++end;
  return *end == '\0';
}

// Length in characters: in UTF-8 mode a character may take several bytes.
size_t textLength(const std::string& text) {
  if (cs.textEncoding == Utf8Text) return utf8CharCount(text.data(), text.size());
  return text.size();
}

bool emptyCell(const std::string& cell) {
  for (char c : cell)
    if (!blank(c)) return false;
  return true;
}

}  // namespace

const char* splitTableCells(const char* line, const char* separator, std::vector<std::string>* cells) {
  cells->clear();
  const size_t sepLength = strlen(separator);
  const char* p = line;
  for (;;) {
    std::string cell;
    if (*p == '"') {
      ++p;
      for (;;) {
        if (*p == '\0') return "unterminated quote";
        if (*p == '"') {
          if (p[1] != '"') break;
          ++p;
        }
        cell += *p++;
      }
      ++p;  // the closing quote
      if (*p != '\0' && strncmp(p, separator, sepLength) != 0) return "text after a closing quote";
    } else {
      const char* end = strstr(p, separator);
      if (!end) end = p + strlen(p);
      cell.assign(p, end);
      p = end;
    }
    cells->push_back(cell);
    if (*p == '\0') return nullptr;
    p += sepLength;
  }
}

const char* cmdTable(const char* a) {
  char path[kMaxPath + 1];
  const char* p = readRequiredWord(a, path, kMaxPath, "Table", "no filename", "filename too long");
  if (!p) return nullptr;
  if (cs.chartStyle == NoChartStyle) {
    logLine("ERROR: Table - Type and/or Style not specified");
    return nullptr;
  }
  if (seriesMixedWithSingle("Table")) return nullptr;
  // The header declares the series, so one table holds them all: a second
  // table or earlier "series" commands would leave its columns ambiguous.
  if (cs.seriesCount > 0) {
    logLine("ERROR: Table - series already declared");
    return nullptr;
  }
  cs.textGiven = 1;
  const bool utf8 = cs.textEncoding == Utf8Text;
  FILE* f = openInputFile(path, "Table");
  if (!f) return nullptr;
  std::unique_ptr<char[]> line(new char[kTableLine + 1]);
  std::vector<std::string> cells;
  const char* problem = nullptr;
  int lineNumber = 0;
  bool header = true;
  while (!problem && readTextPiece(f, line.get(), kTableLine)) {
    ++lineNumber;
    size_t n = strlen(line.get());
    if (n > 0 && line[n - 1] == '\n') {
      line[--n] = '\0';
    } else if (n == static_cast<size_t>(kTableLine)) {
      const int next = getc(f);
      if (next != EOF) {
        problem = "line too long";
        break;
      }
    }
    if (n == 0) continue;
    if (utf8 && !utf8IsValid(line.get(), n)) {
      problem = "invalid UTF-8";
      break;
    }
    problem = splitTableCells(line.get(), cs.dataSeparator, &cells);
    if (problem) break;
    if (header) {
      header = false;
      const int count = static_cast<int>(cells.size()) - 1;
      if (count < 1) {
        problem = "no series";
      } else if (count > kMaxSeries) {
        problem = "too many series";
      } else {
        for (int k = 0; k < count && !problem; ++k) {
          const std::string& name = cells[k + 1];
          if (name.empty())
            problem = "empty series name";
          else if (textLength(name) > static_cast<size_t>(kMaxSeriesName))
            problem = "series name too long";
        }
      }
      if (problem) break;
      for (int k = 0; k < count; ++k) {
        Series& s = cs.series[k];
        s = Series{};
        strcpy(s.name, cells[k + 1].c_str());
        s.colorsFromBarColors = 1;
      }
      cs.seriesCount = count;
      continue;
    }
    if (cs.categoryCount >= kMaxData) {
      closeInputFile(f);
      logLine("ERROR: Table - too much data");
      return nullptr;
    }
    if (static_cast<int>(cells.size()) != cs.seriesCount + 1) {
      problem = "wrong number of cells";
      break;
    }
    if (textLength(cells[0]) > static_cast<size_t>(kMaxLabel)) {
      problem = "label too long";
      break;
    }
    Category& category = categoryTable[cs.categoryCount];
    category = Category{};
    strcpy(category.label, cells[0].c_str());
    bool decimals = false;
    for (int k = 0; k < cs.seriesCount; ++k) {
      const std::string& cell = cells[k + 1];
      if (emptyCell(cell)) continue;  // a missing value: no bar for it
      bool hadPoint;
      if (!readCellValue(cell, &category.values[k], &hadPoint)) {
        problem = "invalid value";
        break;
      }
      category.present |= uint64_t{1} << k;
      decimals = decimals || hadPoint;
    }
    if (problem) break;
    ++cs.categoryCount;
    if (decimals) cs.dataHasDecimals = 1;
  }
  // A read error is not the end of the file: the data would be silently cut.
  if (!problem && ferror(f)) {
    logLine("ERROR: Table - could not open [%s], error=%d", path, errno);
    closeInputFile(f);
    return nullptr;
  }
  closeInputFile(f);
  if (problem) {
    logLine("ERROR: %s on line %d of table [%.300s]", problem, lineNumber, path);
    return nullptr;
  }
  if (header) {
    logLine("ERROR: Table - no header in [%.300s]", path);
    return nullptr;
  }
  return p;
}
