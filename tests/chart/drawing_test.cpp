// Backgrounds, grid, bars, borders and axes lines as the page content draws
// them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/chart/chart_test_util.h"

namespace {

using namespace charttest;

// Values 10 and 20 under 10 %: scale 9..20, range 11. Bars (790 - 18) / 2.
const std::string kTwoBars = "-barcolor #FF0000 #0000FF -datum A 10 -datum B 20 ";

using Lines = std::vector<std::string>;

Lines line(double x0, double y0, double x1, double y1) {
  return {nums({x0, y0}, "m"), nums({x1, y1}, "l"), "S"};
}

struct GridCase {
  std::string name;
  std::string args;
  std::vector<Lines> lines;  // the grid lines in order, and no others
};

TEST(Drawing, GridEndLinesStayInsideThePlot) {
  // 4 divisions: y(j) = 5 + 147.5 j, x(j) = 5 + 197.5 j.
  const GridCase cases[] = {
      {"no axes line: both end lines moved in", "-chart Bar V -axesgridline 1 #808080",
       {line(5, 5.5, 795, 5.5), line(5, 152.5, 795, 152.5), line(5, 300, 795, 300), line(5, 447.5, 795, 447.5),
        line(5, 594.5, 795, 594.5)}},
      {"XY axes: no first line", "-chart Bar V -axesgridline 1 #808080 -axesline 1 #000000 XY",
       {line(5, 152.5, 795, 152.5), line(5, 300, 795, 300), line(5, 447.5, 795, 447.5),
        line(5, 594.5, 795, 594.5)}},
      {"full frame: neither end line", "-chart Bar V -axesgridline 2 #808080 -axesline 2 #000000 Full",
       {line(5, 152.5, 795, 152.5), line(5, 300, 795, 300), line(5, 447.5, 795, 447.5)}},
      {"horizontal style: vertical lines", "-chart Bar H -axesgridline 1 #808080",
       {line(5.5, 5, 5.5, 595), line(202.5, 5, 202.5, 595), line(400, 5, 400, 595), line(597.5, 5, 597.5, 595),
        line(794.5, 5, 794.5, 595)}},
      {"wide grid lines move in by half their width", "-chart Bar V -axesgridline 4 #808080",
       {line(5, 7, 795, 7), line(5, 152.5, 795, 152.5), line(5, 300, 795, 300), line(5, 447.5, 795, 447.5),
        line(5, 593, 795, 593)}},
  };
  for (const GridCase& gc : cases) {
    SCOPED_TRACE(gc.name);
    Chart c = runChart(gc.args + " -axesdivisions 4 " + kTwoBars);
    ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
    const std::string color = "0.50196 0.50196 0.50196 RG";
    int at = findRun(c.lines, {color});
    ASSERT_GE(at, 1) << dump(c.lines);
    EXPECT_EQ(c.lines[at - 1], num(std::stod(splitWords(gc.args)[4])) + " w");
    size_t from = at + 1;
    for (const Lines& l : gc.lines) {
      int i = findRun(c.lines, l, from);
      ASSERT_EQ(i, static_cast<int>(from)) << l[0] << "\n" << dump(c.lines);
      from = i + 3;
    }
    // Nothing but the bars follow the grid: the first bar's fill comes next.
    ASSERT_LT(from, c.lines.size());
    EXPECT_EQ(c.lines[from], "0.90909 0 0.09091 rg") << dump(c.lines);
  }
}

TEST(Drawing, DashedGridIsSetBeforeAndClearedAfterTheLines) {
  struct DashCase {
    std::string style, dash;
  } cases[] = {{"3 2 0", "[3 2]0 d"}, {"3 3 1", "[3]1 d"}, {"0 5 2", "[]2 d"}};
  for (const DashCase& dc : cases) {
    SCOPED_TRACE(dc.style);
    Chart c = runChart("-chart Bar V -axesdivisions 2 -axesgridline 0.5 #000000 -axesgridlinestyle " + dc.style +
                       " " + kTwoBars);
    ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
    int set = findRun(c.lines, {"0.5 w", "0 0 0 RG", dc.dash, "5 5.25 m"});
    ASSERT_GE(set, 0) << dump(c.lines);
    int last = findRun(c.lines, {nums({795, 594.75}, "l"), "S", "[]0 d"}, set);
    EXPECT_GT(last, set) << dump(c.lines);
  }
  // A solid grid sets no dash at all.
  Chart solid = runChart("-chart Bar V -axesgridline 1 #000000 " + kTwoBars);
  ASSERT_EQ(solid.run.exitCode, 0);
  EXPECT_TRUE(withOperator(solid.lines, "d").empty()) << dump(solid.lines);
}

TEST(Drawing, GridKeepsItsColourUnderStrokedValueLabels) {
  Chart c = runChart("-chart Bar V -axesdivisions 2 -axesgridline 1 #808080 "
                     "-axeslabely 10 Helv #000000 Stroke #FF0000 " +
                     kTwoBars);
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  // The value-label format first, then the grid state, then line and label
  // per division.
  int at = findRun(c.lines, {"/F0 10 Tf", "2 Tr", "1 0 0 RG", "0 0 0 rg", "1 w", "0.50196 0.50196 0.50196 RG"});
  ASSERT_GE(at, 0) << dump(c.lines);
  EXPECT_EQ(c.lines[at + 6].substr(c.lines[at + 6].size() - 2), " m");
  // The layout applied the format once to measure; after the grid's colour
  // no stroke colour is set again.
  EXPECT_EQ(withOperator(c.lines, "RG"), (Lines{"1 0 0 RG", "1 0 0 RG", "0.50196 0.50196 0.50196 RG"}));
}

struct InsetCase {
  std::string name;
  std::string args;
  Lines want;
};

TEST(Drawing, BorderAndAxesInsets) {
  // Bar 0: x 5, width 386, height (10 - 9) * 590 / 11.
  const double h = 590 / 11.0;
  const InsetCase cases[] = {
      {"border 3: inset 1", "-barborder 3 #000000",
       {nums({5, 5, 386, h}, "re"), "f", "0 0 0 RG", "3 w", nums({6, 6, 384, h - 2}, "re"), "S"}},
      {"border 2: inset 0.5", "-barborder 2 #00FF00",
       {nums({5, 5, 386, h}, "re"), "f", "0 1 0 RG", "2 w", nums({5.5, 5.5, 385, h - 1}, "re"), "S"}},
      {"border 1: no inset", "-barborder 1 #000000",
       {nums({5, 5, 386, h}, "re"), "f", "0 0 0 RG", "1 w", nums({5, 5, 386, h}, "re"), "S"}},
      {"border 0.5: no inset", "-barborder 0.5 #000000",
       {nums({5, 5, 386, h}, "re"), "f", "0 0 0 RG", "0.5 w", nums({5, 5, 386, h}, "re"), "S"}},
      {"axes XY 3: inset 1.25", "-axesline 3 #000000 XY",
       {"0 0 0 RG", "3 w", "6.25 595 m", "6.25 6.25 l", "795 6.25 l", "S"}},
      {"axes Full 3: inset 1.25", "-axesline 3 #0000FF Full", {"0 0 1 RG", "3 w", "6.25 6.25 787.5 587.5 re", "S"}},
      {"axes XY 1: no inset", "-axesline 1 #000000 XY", {"0 0 0 RG", "1 w", "5 595 m", "5 5 l", "795 5 l", "S"}},
      {"axes Full 0.5: no inset", "-axesline 0.5 #000000 F", {"0 0 0 RG", "0.5 w", "5 5 790 590 re", "S"}},
  };
  for (const InsetCase& ic : cases) {
    SCOPED_TRACE(ic.name);
    Chart c = runChart("-chart Bar V " + ic.args + " " + kTwoBars);
    ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
    EXPECT_GE(findRun(c.lines, ic.want), 0) << dump(c.lines);
  }
  // The axes come last, after the last bar.
  Chart c = runChart("-chart Bar V -axesline 1 #000000 XY " + kTwoBars);
  ASSERT_GE(c.lines.size(), 4u);
  EXPECT_EQ(Lines(c.lines.end() - 4, c.lines.end()), (Lines{"5 595 m", "5 5 l", "795 5 l", "S"}));
}

struct BackgroundCase {
  std::string name;
  std::string args;
  Lines want;  // every "rg"/"re" pair before the bars
};

Lines fill(const std::string& rg, std::initializer_list<double> rect) { return {rg, nums(rect, "re"), "f"}; }

TEST(Drawing, PageAndChartBackgrounds) {
  Lines bandsV, bandsH;
  for (int k = 0; k < 10; ++k) {
    std::string rg = nums({1 - k / 9.0, 0, k / 9.0}, "rg");
    for (const std::string& l : fill(rg, {5, 5 + 59.0 * k, 790, 59})) bandsV.push_back(l);
    for (const std::string& l : fill(rg, {5 + 79.0 * k, 5, 79, 590})) bandsH.push_back(l);
  }
  const BackgroundCase cases[] = {
      {"white page, no background", "-chart Bar V", {}},
      {"white page given as a colour", "-chart Bar V -page 800 600 #FFFFFF", {}},
      {"white page given as components", "-chart Bar V -page 800 600 255 255 255", {}},
      {"yellow page", "-chart Bar V -page 800 600 #FFFFCC", fill("1 1 0.8 rg", {0, 0, 800, 600})},
      {"red to blue in ten bands from the bottom", "-chart Bar V -chartbackground #FF0000 #0000FF", bandsV},
      {"red to blue from the left", "-chart Bar H -chartbackground #FF0000 #0000FF", bandsH},
      {"equal colours: one rectangle", "-chart Bar V -chartbackground #00FF00 #00FF00",
       fill("0 1 0 rg", {5, 5, 790, 590})},
      {"one division: one rectangle in the from colour",
       "-chart Bar V -axesdivisions 1 -chartbackground #FF0000 #0000FF", fill("1 0 0 rg", {5, 5, 790, 590})},
      {"both equal to the page colour: nothing", "-chart Bar V -page 800 600 #FFFFCC -chartbackground #FFFFCC #FFFFCC",
       fill("1 1 0.8 rg", {0, 0, 800, 600})},
      {"from equal to the page colour still shades", "-chart Bar V -axesdivisions 2 -chartbackground #FFFFFF #000000",
       [] {
         Lines l = fill("1 1 1 rg", {5, 5, 790, 295});
         for (const std::string& s : fill("0 0 0 rg", {5, 300, 790, 295})) l.push_back(s);
         return l;
       }()},
  };
  for (const BackgroundCase& bc : cases) {
    SCOPED_TRACE(bc.name);
    Chart c = runChart(bc.args + " " + kTwoBars);
    ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
    // Two bars close the content: rg, re, f each.
    ASSERT_GE(c.lines.size(), 6u);
    Lines before(c.lines.begin(), c.lines.end() - 6);
    EXPECT_EQ(before, bc.want) << dump(c.lines);
  }
}

TEST(Drawing, ColourPairsTakenInTurn) {
  std::string args = "-chart Bar V -barcolor #FF0000 #FF0000 -barcolor #00FF00 #00FF00 -barcolor #0000FF #0000FF";
  for (int i = 0; i < 7; ++i) args += " -datum D" + std::to_string(i) + " " + std::to_string(i + 1);
  Chart c = runChart(args);
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  const std::string r = "1 0 0 rg", g = "0 1 0 rg", b = "0 0 1 rg";
  EXPECT_EQ(withOperator(c.lines, "rg"), (Lines{r, g, b, r, g, b, r}));
}

TEST(Drawing, BarColourRunsFromLowestToHighestValue) {
  // FromZero keeps the lowest value 0: scale 0..10.
  Chart c = runChart("-chart Bar V -axesscale FromZero -barcolor #FF0000 #00FF00 -datum A 0 -datum B 5 -datum C 10 "
                     "-datum D 2.5");
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  EXPECT_EQ(withOperator(c.lines, "rg"), (Lines{"1 0 0 rg", "0.5 0.5 0 rg", "0 1 0 rg", "0.75 0.25 0 rg"}));
}

TEST(Drawing, StrokedTextSetsModeTwoAndItsStrokeColour) {
  struct StrokeCase {
    std::string name, format;
    Lines want;
  } cases[] = {
      {"stroke in another colour", "18 Helv #FF0000 Stroke #0000FF", {"/F0 18 Tf", "2 Tr", "0 0 1 RG", "1 0 0 rg", "BT"}},
      {"stroke in the fill colour is plain", "18 Helv #FF0000 Stroke #FF0000", {"/F0 18 Tf", "0 Tr", "1 0 0 rg", "BT"}},
      {"normal", "18 Helv 0 0 255 Normal", {"/F0 18 Tf", "0 Tr", "0 0 1 rg", "BT"}},
  };
  for (const StrokeCase& sc : cases) {
    SCOPED_TRACE(sc.name);
    Chart c = runChart("-chart Bar V -title Sales -headingtitle " + sc.format + " " + kTwoBars);
    ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
    EXPECT_EQ(findRun(c.lines, sc.want), 0) << dump(c.lines);
  }
}

TEST(Drawing, WholeChartInTheFixedOrder) {
  Chart c = runChart("-chart Bar V -page 800 600 #FFFFCC -title T -axescaptionx 10 Times #000000 Normal C Cx "
                     "-chartbackground #EEEEEE #EEEEEE -axesgridline 1 #808080 -axeslabely 10 Courier #000000 Normal "
                     "-axeslabelx 10 Courier #000000 Normal -barborder 1 #000000 -axesline 1 #000000 XY " +
                     kTwoBars);
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  // Bottom: title descent 3, bar-label line trunc(3 + A - 3D) = 18 (Courier),
  // caption trunc(3 + A - 2D + 15) = 33 (Times).
  EXPECT_EQ(c.lines.back(), "S");
  EXPECT_EQ(c.lines[c.lines.size() - 2], "795 33 l");
  auto index = [&](const std::string& l) {
    int i = findRun(c.lines, {l});
    EXPECT_GE(i, 0) << l;
    return i;
  };
  std::vector<int> order = {index("1 1 0.8 rg"),   index("(T) Tj"),         index("(Cx) Tj"),
                            index("0.93333 0.93333 0.93333 rg"), index("0.50196 0.50196 0.50196 RG"),
                            index("(9) Tj"),       index("0.90909 0 0.09091 rg"), index("(A) Tj"),
                            index("0 0 1 rg"),     index("(B) Tj"),         index("795 33 l")};
  for (size_t i = 1; i < order.size(); ++i) EXPECT_LT(order[i - 1], order[i]) << i << "\n" << dump(c.lines);
}

}  // namespace
