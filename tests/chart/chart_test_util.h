// Running whole charts as a user would and reading back the page's
// operators.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace charttest {

struct Chart {
  pvtest::RunResult run;
  std::string dir;
  std::string pdfPath;
  bool written = false;
  std::vector<std::string> log;    // without time stamps
  std::vector<std::string> lines;  // operator lines of the page content
};

inline std::vector<std::string> splitWords(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream s(text);
  std::string w;
  while (s >> w) words.push_back(w);
  return words;
}

inline std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream s(text);
  std::string l;
  while (std::getline(s, l)) lines.push_back(l);
  return lines;
}

// The independent readers' verdict on a PDF, "" when all accept it. mutool
// on this machine prints a notice about its missing colour management for
// every file; that notice alone is not a complaint about the file.
inline std::string readersVerdict(const std::string& path, const std::string& password = "") {
  std::string problems = pvtest::checkWithReaders(path, password);
  const std::string notice = "warning: ICC support is not available\n";
  for (size_t at; (at = problems.find(notice)) != std::string::npos;) problems.erase(at, notice.size());
  const std::string emptyComplaint = "mutool draw exit 0: \n";
  if (size_t at = problems.find(emptyComplaint); at != std::string::npos) problems.erase(at, emptyComplaint.size());
  return problems;
}

// Runs plotvane in a fresh folder with args, then "-output chart" unless the
// arguments name their own output. Every PDF written must satisfy the
// independent readers.
inline Chart runChart(std::vector<std::string> args, const std::vector<std::string>& env = {},
                      const std::string& output = "chart", const std::string& password = "") {
  Chart c;
  c.dir = pvtest::makeTempDir();
  bool hasOutput = false;
  for (const std::string& a : args)
    if (a == "-output") hasOutput = true;
  if (!hasOutput) {
    args.push_back("-output");
    args.push_back(output);
  }
  c.run = pvtest::runPlotvane(args, c.dir, env);
  c.log = pvtest::logMessages(c.run.out);
  // The log goes to standard output; nothing, not even the viewer's chatter,
  // goes to standard error.
  EXPECT_EQ(c.run.err, "");
  std::string name = output;
  if (name.size() <= 4 || name.substr(name.size() - 4) != ".pdf") name += ".pdf";
  c.pdfPath = c.dir + "/" + name;
  c.written = pvtest::fileExists(c.pdfPath);
  if (c.written && c.run.exitCode == 0) {
    EXPECT_EQ(readersVerdict(c.pdfPath, password), "") << c.pdfPath;
    if (password.empty()) {
      std::vector<std::string> streams = pvtest::inflateStreams(pvtest::readFile(c.pdfPath));
      EXPECT_EQ(streams.size(), 1u) << "one compressed stream: the page content";
      if (!streams.empty()) c.lines = splitLines(streams[0]);
    }
  }
  return c;
}

inline Chart runChart(const std::string& args, const std::vector<std::string>& env = {}) {
  return runChart(splitWords(args), env);
}

// A number as the PDF layer writes reals: at most five decimals, without
// trailing zeros or point.
inline std::string num(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.5f", v);
  std::string s = buf;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

inline std::string nums(std::initializer_list<double> vs, const std::string& op) {
  std::string s;
  for (double v : vs) s += num(v) + " ";
  return s + op;
}

// Index where want starts as a contiguous run in lines at or after from, -1
// when it does not.
inline int findRun(const std::vector<std::string>& lines, const std::vector<std::string>& want, size_t from = 0) {
  if (want.empty()) return -1;
  for (size_t i = from; i + want.size() <= lines.size(); ++i) {
    bool ok = true;
    for (size_t k = 0; k < want.size() && ok; ++k) ok = lines[i + k] == want[k];
    if (ok) return static_cast<int>(i);
  }
  return -1;
}

inline std::string dump(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\n";
  return s;
}

// The lines that end with the operator op (" re", " Tm", ...).
inline std::vector<std::string> withOperator(const std::vector<std::string>& lines, const std::string& op) {
  std::vector<std::string> out;
  for (const std::string& l : lines)
    if (l.size() >= op.size() + 1 && l.compare(l.size() - op.size(), op.size(), op) == 0 &&
        l[l.size() - op.size() - 1] == ' ')
      out.push_back(l);
  return out;
}

// Text matrix line of a text drawn at angle 0 or 90.
inline std::string textAt(int angle, double x, double y) {
  if (angle == 90) return "0 1 -1 0 " + num(x) + " " + num(y) + " Tm";
  return "1 0 -0 1 " + num(x) + " " + num(y) + " Tm";
}

// Metrics of the layout: ascent and descent divided by 72.
constexpr double kTimesA = 683 / 72.0, kTimesD = -217 / 72.0;
constexpr double kHelvA = 718 / 72.0, kHelvD = -207 / 72.0;
constexpr double kCourA = 629 / 72.0, kCourD = -157 / 72.0;

}  // namespace charttest
