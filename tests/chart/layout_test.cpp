// The plot rectangle, divisions and bar geometry, seen where the page content
// puts the bars, grid lines, axes and labels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/chart/chart_test_util.h"

namespace {

using namespace charttest;

const std::string kBars = "-chart Bar V -barcolor #FF0000 #0000FF ";

TEST(Layout, WorkedExampleValueLabelsAndBars) {
  Chart c = runChart(kBars + "-datum A 20 -datum B 50 -datum C 80 -axeslabely 10 Times #000000 Normal");
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;

  // Scale 14..80; labels right-aligned one space (2.5) left of left = 20.
  const char* labels[] = {"14", "20", "27", "33", "40", "47", "53", "60", "66", "73", "80"};
  size_t at = 0;
  for (int j = 0; j <= 10; ++j) {
    double q = 5 + 59.0 * j;
    double y = j == 0 ? q : (j < 10 ? q - (kTimesA + kTimesD) / 2 : q - kTimesA);
    int i = findRun(c.lines, {"BT", textAt(0, 7.5, y), std::string("(") + labels[j] + ") Tj", "ET"}, at);
    ASSERT_GE(i, 0) << "division " << j << "\n" << dump(c.lines);
    at = i + 4;
  }
  EXPECT_EQ(num(5 + 59.0 * 1 - (kTimesA + kTimesD) / 2), "60.76389");

  // Bars 246.333 wide, gaps 18, heights (v - 14) * 590 / 66; colours from
  // red at 14 to blue at 80.
  std::vector<std::string> bars = {"0.90909 0 0.09091 rg", "20 5 246.33333 53.63636 re", "f",
                                   "0.45455 0 0.54545 rg", "284.33333 5 246.33333 321.81818 re", "f",
                                   "0 0 1 rg", "548.66667 5 246.33333 590 re", "f"};
  EXPECT_GE(findRun(c.lines, bars, at), 0) << dump(c.lines);
}

TEST(Layout, TitleCentredOnTheEightHundredPointPage) {
  // Default title format: 18-point Times-Roman. "Sales" is 556+444+278+444+389
  // thousandths wide.
  Chart c = runChart(kBars + "-datum A 1 -datum B 2 -title Sales -chartheading Top Centre");
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  double w = 2111 * 18 / 1000.0;
  EXPECT_EQ(num(600 - kTimesA + 2 * kTimesD), "584.48611");
  EXPECT_GE(findRun(c.lines, {"/F0 18 Tf", "0 Tr", "0 0 0 rg", "BT", textAt(0, (800 - w) / 2, 584.486111111), "(Sales) Tj",
                              "ET"}),
            0)
      << dump(c.lines);
}

struct RectCase {
  std::string name;
  std::string args;
  std::string frame;  // the full axes frame of width 1: the plot rectangle
};

TEST(Layout, PlotRectangleAfterTheHeading) {
  const RectCase cases[] = {
      {"no heading: 5 inside every edge", "", "5 5 790 590 re"},
      // top trunc(600 - 9.486 - 12.056 - 0.5) = 577, bottom trunc(3.01) = 3,
      // sides one space (4.5) of the title font.
      {"title at the top", "-title Sales", "4 3 791 574 re"},
      {"title at the bottom", "-title Sales -chartheading Bottom Left",
       // bottom trunc(A - 4D + 0.5) = 22, top trunc(600 + D) = 596.
       "4 22 791 574 re"},
      // Symbol has no ascent or descent: top trunc(600 - 0.5), bottom 0.
      {"Symbol title", "-title abc -headingtitle 18 Symbol #000000 Normal", "4 0 791 599 re"},
      // Subject only, 14-point Times: top trunc(600 - A + 3D) = 581,
      // bottom trunc(-D) = 3, sides trunc(3.5) and trunc(796.5).
      {"subject only", "-subject Sub", "3 3 793 578 re"},
      // Title and subject: s = A - D - D(title) = 15.514, top
      // trunc(600 - A + 4D - 0.5 - s) = 562.
      {"title and subject", "-title T -subject S", "4 3 791 559 re"},
  };
  for (const RectCase& rc : cases) {
    SCOPED_TRACE(rc.name);
    Chart c = runChart(kBars + "-datum A 1 -datum B 2 -axesline 1 #000000 Full " + rc.args);
    ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
    ASSERT_FALSE(c.lines.empty());
    EXPECT_GE(findRun(c.lines, {"0 0 0 RG", "1 w", rc.frame, "S"}), 0) << dump(c.lines);
  }
}

TEST(Layout, CaptionsTakeTheirRoomAndLineUpWithThePlot) {
  Chart c = runChart(kBars +
                     "-datum A 1 -datum B 2 -axesline 1 #000000 Full "
                     "-axescaptionx 10 Times #000000 Normal Left Across "
                     "-axescaptiony 10 Times #000000 Normal Top Up");
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  // Caption X: baseline 5 - D; bottom trunc(5 + A - 2D) = 20. Caption Y:
  // cy = A - 2D; x = 5 + A; left trunc(5 + A - 2D) = 20.
  double cy = kTimesA - 2 * kTimesD;
  EXPECT_GE(findRun(c.lines, {"BT", textAt(0, 5 + cy, 5 - kTimesD), "(Across) Tj", "ET"}), 0) << dump(c.lines);
  // "Up" is 722 + 500 thousandths: with Top alignment it ends at the top, 595.
  EXPECT_GE(findRun(c.lines, {"BT", textAt(90, 5 + kTimesA, 595 - 12.22), "(Up) Tj", "ET"}), 0) << dump(c.lines);
  EXPECT_GE(findRun(c.lines, {"20 20 775 575 re", "S"}), 0) << dump(c.lines);
}

TEST(Layout, HorizontalValueLabelsUnderThePlotAndTheCaptionBelowThem) {
  // Scale 0..2 (the lowest value 0.9 rounded down), shown truncated. Labels
  // take trunc(5 + A - 2D) = 20 at the bottom, the caption
  // trunc(5 + A - 2D + 15) = 35; label baseline 35 - (A - D) = 22.5.
  Chart c = runChart("-chart Bar H -barcolor #FF0000 #0000FF -datum A 1 -datum B 2 "
                     "-axeslabelx 10 Times #000000 Normal -axescaptionx 10 Times #000000 Normal C Across");
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  const double w = 5;  // each label is one digit
  size_t from = 0;
  for (int j = 0; j <= 10; ++j) {
    double q = 5 + 79.0 * j;
    double x = j == 0 ? q : (j < 10 ? q - w / 2 : q - w);
    std::string text = "(" + std::to_string(j < 5 ? 0 : (j < 10 ? 1 : 2)) + ") Tj";
    int i = findRun(c.lines, {"BT", textAt(0, x, 22.5), text, "ET"}, from);
    ASSERT_GE(i, 0) << "division " << j << "\n" << dump(c.lines);
    from = i + 4;
  }
  // "Across" is 2777 thousandths wide, centred under the plot 5..795.
  EXPECT_GE(findRun(c.lines, {"BT", textAt(0, (790 - 27.77) / 2 + 5, 5 - kTimesD), "(Across) Tj", "ET"}), 0)
      << dump(c.lines);
  EXPECT_EQ(withOperator(c.lines, "re").front().rfind("5 35 ", 0), 0u) << dump(c.lines);
}

struct BarCase {
  std::string name;
  std::string args;
  int count;
  // x and width of the first, second and last bar.
  double x0, x1, xLast, width;
};

TEST(Layout, BarSizesAndGaps) {
  // Page 410 wide: 400 points between the margins of 5.
  const BarCase cases[] = {
      {"spacing 18: (400 - 162) / 10", "", 10, 5, 5 + 41.8, 5 + 9 * 41.8, 23.8},
      {"barsize 30 fits: gaps share 100", "-barsize 30", 10, 5, 5 + 30 + 100 / 9.0, 5 + 9 * (30 + 100 / 9.0), 30},
      {"barsize 50 does not fit: gaps total 10", "-barsize 50", 10, 5, 5 + 39 + 10 / 9.0, 5 + 9 * (39 + 10 / 9.0),
       39},
      {"barsize 40 leaves no gap: gaps raised to total 10", "-barsize 40", 10, 5, 5 + 39 + 10 / 9.0,
       5 + 9 * (39 + 10 / 9.0), 39},
      {"spacing 44 leaves 4 points: bars 1 thick", "-barspacing 44", 10, 5, 5 + 1 + 390 / 9.0, 5 + 9 * (1 + 390 / 9.0),
       1},
      {"spacing 0", "-barspacing 0", 10, 5, 45, 365, 40},
      {"forty bars one point thick", "", 40, 5, 5 + 1 + 360 / 39.0, 5 + 39 * (1 + 360 / 39.0), 1},
      {"one datum: the whole width", "", 1, 5, 5, 5, 400},
      {"one datum with a bar size", "-barsize 30", 1, 5, 5, 5, 30},
  };
  for (const BarCase& bc : cases) {
    SCOPED_TRACE(bc.name);
    std::string args = kBars + "-page 410 300 #FFFFFF " + bc.args;
    for (int i = 0; i < bc.count; ++i) args += " -datum L" + std::to_string(i) + " " + std::to_string(10 + i);
    Chart c = runChart(args);
    ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
    std::vector<std::string> rects = withOperator(c.lines, "re");
    ASSERT_EQ(rects.size(), static_cast<size_t>(bc.count)) << dump(c.lines);
    auto head = [&](double x) { return num(x) + " 5 " + num(bc.width) + " "; };
    EXPECT_EQ(rects[0].rfind(head(bc.x0), 0), 0u) << rects[0];
    if (bc.count > 1) {
      EXPECT_EQ(rects[1].rfind(head(bc.x1), 0), 0u) << rects[1];
    }
    EXPECT_EQ(rects.back().rfind(head(bc.xLast), 0), 0u) << rects.back();
    EXPECT_EQ(c.run.out.find("nan"), std::string::npos);
    for (const std::string& l : c.lines) EXPECT_EQ(l.find("nan"), std::string::npos) << l;
  }
}

TEST(Layout, HorizontalBarsGrowRightFromTheScaleBase) {
  // Values 10 and 30 under 10 %: scale 8..30, range 22. The first datum is
  // lowest.
  Chart c = runChart("-chart Bar H -barcolor #FF0000 #FF0000 -datum A 10 -datum B 30");
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  // E = 590, bar size (590 - 18) / 2 = 286; lengths (v - 8) * 790 / 22.
  std::vector<std::string> rects = withOperator(c.lines, "re");
  ASSERT_EQ(rects.size(), 2u) << dump(c.lines);
  EXPECT_EQ(rects[0], nums({5, 5, 2 * 790 / 22.0, 286}, "re"));
  EXPECT_EQ(rects[1], nums({5, 5 + 286 + 18, 790, 286}, "re"));
}

TEST(Layout, ScaleWithoutRangeReachesZero) {
  // One value 42: the scale becomes 0..42, so the bar fills the plot in the
  // to colour and the division labels count up from 0.
  Chart c = runChart(kBars + "-datum A 42 -axeslabely 10 Times #000000 Normal");
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  // left = trunc(5 + 5 + width of "42") = 20.
  EXPECT_EQ(withOperator(c.lines, "re"), (std::vector<std::string>{"20 5 775 590 re"})) << dump(c.lines);
  EXPECT_EQ(withOperator(c.lines, "rg").back(), "0 0 1 rg");
  EXPECT_EQ(withOperator(c.lines, "Tj"), (std::vector<std::string>{"(0) Tj", "(4) Tj", "(8) Tj", "(12) Tj",
                                                                  "(16) Tj", "(21) Tj", "(25) Tj", "(29) Tj",
                                                                  "(33) Tj", "(37) Tj", "(42) Tj"}));

  // Equal negative values reach up to 0: their bars have no length at the
  // scale's base, in the from colour.
  c = runChart(kBars + "-datum A -3 -datum B -3");
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  EXPECT_EQ(withOperator(c.lines, "re"), (std::vector<std::string>{"5 5 386 0 re", "409 5 386 0 re"}));
  EXPECT_EQ(withOperator(c.lines, "rg").back(), "1 0 0 rg");
}

TEST(Layout, RoundScaleValueLabelsReadAsRoundNumbers) {
  // 0 to 14,000,000 in steps of 2,000,000: 2,000,000 would need 13 steps.
  Chart c = runChart(kBars + "-datum A 12345678.5 -datum B 7000000 -axesscale Nice -numberformat , . "
                             "-axeslabely 10 Helv 0 0 0 Normal -axesgridline 0.5 #C0C0C0");
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  std::string text;
  ASSERT_EQ(pvtest::runShell("pdftotext -layout '" + c.pdfPath + "' -", &text), 0);
  std::vector<std::string> read;
  for (const std::string& w : splitWords(text)) read.push_back(w);
  EXPECT_EQ(read, (std::vector<std::string>{"14,000,000", "12,000,000", "10,000,000", "8,000,000", "6,000,000",
                                            "4,000,000", "2,000,000", "0"}));
  // Eight labels, seven grid lines inside the plot and the moved bottom one.
  EXPECT_EQ(withOperator(c.lines, "Tj").size(), 8u);
}

TEST(Layout, RoomForTheWidestFormattedValueLabel) {
  // Scale -14,000 to 2,000: the lowest label is the widest, and the room
  // along the left is made for it, not for the highest value's text.
  Chart c = runChart(kBars + "-datum A -12345 -datum B 10 -axesscale N -numberformat , . "
                             "-axeslabely 10 Helv 0 0 0 Normal");
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  std::vector<std::string> shows = withOperator(c.lines, "Tj");
  ASSERT_EQ(shows.size(), 9u) << dump(c.lines);
  EXPECT_EQ(shows.front(), "(-14,000) Tj");
  EXPECT_EQ(shows.back(), "(2,000) Tj");
  // Right-aligned one space left of left = trunc(5 + 2 sp + w(-14,000)).
  const double sp = 2.78, widest = (333 + 5 * 556 + 278) / 100.0;
  const double left = static_cast<int>(5 + 2 * sp + widest);
  std::vector<std::string> matrices = withOperator(c.lines, "Tm");
  ASSERT_EQ(matrices.size(), 9u);
  EXPECT_EQ(matrices.front(), textAt(0, left - sp - widest, 5));
  for (const std::string& m : matrices) {
    std::vector<std::string> w = splitWords(m);
    EXPECT_GT(std::stod(w[4]), 5.0) << m;
  }
}

}  // namespace
