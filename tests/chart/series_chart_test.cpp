// Charts of several series: grouped and stacked geometry from the layout
// rules, rows and tables giving the same page, the legend's room, labels.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/chart/chart_test_util.h"

namespace {

using namespace charttest;

const std::string kThree = "-series A #FF0000 #FF0000 -series B #00FF00 #00FF00 -series C #0000FF #0000FF ";

std::string rect(double x, double y, double w, double h) { return nums({x, y, w, h}, "re"); }

int count(const std::vector<std::string>& lines, const std::string& line) {
  return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

TEST(SeriesChart, GroupedBarsTouchAndGroupsFollowTheSpacing) {
  // Plot 5..795 x 5..595; two groups: 772 / 2 = 386 each with a gap of 18,
  // bars 386 / 3 wide; scale 0..40 over 590 points.
  const double size = 386.0 / 3;
  auto bar = [&](int group, int k, double v) { return rect(5 + 404.0 * group + size * k, 5, size, v * 590 / 40); };
  const std::vector<std::string> all = {bar(0, 0, 10), bar(0, 1, 20), bar(0, 2, 40),
                                        bar(1, 0, 30), bar(1, 1, 5),  bar(1, 2, 15)};
  const std::string common = "-chart Bar V -axesscale FZ -legend None ";
  Chart rows = runChart(common + kThree + "-row p 10 20 40 -row q 30 5 15");
  ASSERT_EQ(rows.run.exitCode, 0) << rows.run.out;
  EXPECT_EQ(withOperator(rows.lines, "re"), all) << dump(rows.lines);

  // The same data from a table, its colours from the bar colour pairs: the
  // same page.
  const std::string pairs = "-barcolor #FF0000 #FF0000 -barcolor #00FF00 #00FF00 -barcolor #0000FF #0000FF ";
  std::string dir = pvtest::makeTempDir();
  pvtest::writeFile(dir + "/t.csv", "Label,A,B,C\np,10,20,40\nq,30,5,15\n");
  pvtest::writeFile(dir + "/gap.csv", "Label,A,B,C\np,10,20,40\nq,30,,15\n");
  Chart table = runChart(common + pairs + "-table " + dir + "/t.csv");
  ASSERT_EQ(table.run.exitCode, 0) << table.run.out;
  EXPECT_EQ(table.lines, rows.lines);

  // A missing value leaves its place in the group empty.
  Chart gap = runChart(common + pairs + "-table " + dir + "/gap.csv");
  ASSERT_EQ(gap.run.exitCode, 0) << gap.run.out;
  std::vector<std::string> withGap = all;
  withGap.erase(withGap.begin() + 4);
  EXPECT_EQ(withOperator(gap.lines, "re"), withGap);
}

TEST(SeriesChart, StackedSegmentsOfMixedSignsAndTheirLabels) {
  // Stack ends: a 16 and -4, b 5 and -5: scale -5..16 over 790 points.
  // Stacks 286 high (572 / 2) with a gap of 18.
  Chart c = runChart("-chart Bar H -barmode S -axesscale FZ -legend None " + kThree +
                     "-row a 10 -4 6 -row b -3 -2 5 -axeslabely 10 Times #000000 Normal -barlabel E VVVV");
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  auto p = [](double v) { return (v + 5) * 790 / 21; };
  auto seg = [&](int stack, double from, double to) {
    const double lo = std::min(p(from), p(to)), hi = std::max(p(from), p(to));
    return rect(5 + lo, 5 + 304.0 * stack, hi - lo, 286);
  };
  const std::vector<std::string> want = {seg(0, 0, 10), seg(0, 0, -4), seg(0, 10, 16),
                                         seg(1, 0, -3), seg(1, -3, -5), seg(1, 0, 5)};
  EXPECT_EQ(withOperator(c.lines, "re"), want) << dump(c.lines);

  // A segment running left has its End label beyond its tip, one space off
  // ("-4" is 8.33 points wide, cut to 8); one running right has it inside.
  const double y = 5 + 143 - (kTimesA + kTimesD) / 2;
  EXPECT_GE(findRun(c.lines, {"BT", textAt(0, 5 + p(-4) + 2.5, y), "(-4) Tj"}), 0) << dump(c.lines);
  EXPECT_GE(findRun(c.lines, {"BT", textAt(0, 5 + p(10) - 10 - 2.5, y), "(10) Tj"}), 0);
}

TEST(SeriesChart, LegendTakesItsRoomAtEachPosition) {
  // Names a (4.44) and bb (10) in 10-point Times-Roman: items are an 8-point
  // swatch, a space (2.5) and the name; lines 12 points; 10 points between
  // the legend and the plot. Swatches sit 2.33 above the baseline's middle.
  struct Case {
    std::string position;
    std::string frame;  // the full axes frame: the plot rectangle
    double swatchX, swatchY, textX, baseline;
  };
  const double middleRow = 312 - 1.5 - 683 / 100.0;
  const double rowX = 5 + (790 - (14.94 + 10 + 20.5)) / 2;
  const Case cases[] = {
      {"Right", rect(5, 5, 759, 590), 774.5, middleRow + 2.33 - 4, 785, middleRow},
      {"L", rect(35, 5, 760, 590), 5, middleRow + 2.33 - 4, 15.5, middleRow},
      {"Top", rect(5, 5, 790, 568), rowX, 595 - 1.5 - 6.83 + 2.33 - 4, rowX + 10.5, 595 - 1.5 - 6.83},
      {"b", rect(5, 27, 790, 568), rowX, 17 - 1.5 - 6.83 + 2.33 - 4, rowX + 10.5, 17 - 1.5 - 6.83},
      {"None", rect(5, 5, 790, 590), 0, 0, 0, 0},
  };
  for (const Case& k : cases) {
    Chart c = runChart("-chart Bar V -axesline 1 #000000 Full -series a #FF0000 #0000FF -series bb #000000 #000000 "
                       "-row x 1 2 -legend " + k.position);
    ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
    const std::vector<std::string> rects = withOperator(c.lines, "re");
    ASSERT_FALSE(rects.empty());
    EXPECT_EQ(rects.back(), k.frame) << k.position << "\n" << dump(c.lines);
    if (k.position == "None") {
      EXPECT_EQ(count(c.lines, "(a) Tj"), 0);
      continue;
    }
    // The first swatch has the middle of its pair, then come the names.
    EXPECT_GE(findRun(c.lines, {"0.5 0 0.5 rg", rect(k.swatchX, k.swatchY, 8, 8), "f"}), 0)
        << k.position << "\n" << dump(c.lines);
    EXPECT_GE(findRun(c.lines, {"BT", textAt(0, k.textX, k.baseline), "(a) Tj"}), 0) << k.position;
  }
}

TEST(SeriesChart, LabelsNameTheCategoryOncePerGroupOrStack) {
  struct Case {
    std::string args;
    std::vector<std::pair<std::string, int>> texts;  // shown text and how often
  };
  const std::string x = "-axeslabelx 10 Times #000000 Normal -legend N ";
  const Case cases[] = {
      {"-barlabel AE " + x + kThree + "-row p 1 2 3 -row q 4 5 6",
       {{"(p) Tj", 1}, {"(q) Tj", 1}, {"(1) Tj", 1}, {"(6) Tj", 1}}},
      {"-barlabel S SSSS:VVVV " + x + kThree + "-row p 1 2 3", {{"(A:1) Tj", 1}, {"(C:3) Tj", 1}}},
      {"-barmode S -barlabel A TTTT=VVVV " + x + kThree + "-row p 1 -2 3", {{"(p=2) Tj", 1}, {"(1) Tj", 0}}},
      {"-barlabel S SSSS -barcolor #000000 #FFFFFF " + x + "-datum d 1", {{"(SSSS) Tj", 1}}},
  };
  for (const Case& k : cases) {
    Chart c = runChart("-chart Bar V " + k.args);
    ASSERT_EQ(c.run.exitCode, 0) << k.args << c.run.out;
    for (const auto& t : k.texts) EXPECT_EQ(count(c.lines, t.first), t.second) << k.args << " " << t.first;
  }
}

}  // namespace
