// Value and bar-label texts, and where the bar labels stand in both styles
// and all seven positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "app/settings.h"
#include "chart/chart_drawing.h"
#include "chart/chart_text.h"
#include "tests/chart/chart_test_util.h"

namespace {

using namespace charttest;

Datum datum(const char* label, double value) {
  Datum d;
  std::snprintf(d.label, sizeof d.label, "%s", label);
  d.value = value;
  return d;
}

struct ValueCase {
  int hasDecimals, decimals;
  double value;
  std::string text;
};

TEST(Text, FormatValue) {
  const ValueCase cases[] = {
      {1, 2, 7, "7.00"},
      {0, 2, 7, "7"},
      {1, 3, 3, "3.000"},
      {1, 0, 7.9, "7"},  // no decimals asked: the whole part
      {0, 1, 12.9, "12"},
      {0, 1, -12.9, "-12"},
      {0, 1, 5000000000.0, "5000000000"},
      {0, 1, -999999999999999.0, "-999999999999999"},
      {1, 9, 999999999999999.0, "999999999999999.000000000"},
      {1, 9, -0.5, "-0.500000000"},
      {1, 1, 20.6, "20.6"},
  };
  for (const ValueCase& vc : cases) {
    resetChartSettings();
    chartSettings.dataHasDecimals = vc.hasDecimals;
    chartSettings.decimalPoints = vc.decimals;
    EXPECT_EQ(formatValue(vc.value), vc.text) << vc.value << " with " << vc.decimals;
  }
  resetChartSettings();
}

TEST(Text, FormatBarLabel) {
  resetChartSettings();
  const std::string l30(30, 'L');
  struct LabelCase {
    std::string format;
    Datum d;
    std::string text;
  } cases[] = {
      {"TTTT (VVVV)", datum("Apples", 12), "Apples (12)"},
      {"tttt vvvv", datum("Apples", 12), "tttt vvvv"},
      {"TTTTT", datum("Apples", 12), "ApplesT"},
      {"VVVVTTTT", datum("", 3), "3"},
      {"TTT", datum("Apples", 12), "TTT"},
      {"TTTT TTTT TTTT", datum(l30.c_str(), 1), l30 + " " + l30 + " LLL"},
      {"", datum("Apples", 12), ""},
  };
  for (const LabelCase& lc : cases) EXPECT_EQ(formatBarLabel(lc.format.c_str(), lc.d), lc.text) << lc.format;
  EXPECT_EQ(formatBarLabel("TTTT TTTT TTTT", datum(l30.c_str(), 1)).size(), 65u);

  // A decimal datum elsewhere prints every value with the decimals.
  chartSettings.dataHasDecimals = 1;
  chartSettings.decimalPoints = 2;
  EXPECT_EQ(formatBarLabel("VVVV", datum("x", 7)), "7.00");
  resetChartSettings();
}

TEST(Text, NumberFormatsPrefixesAndSuffixes) {
  struct FormatCase {
    const char* group;
    const char* decimal;
    const char* prefix;
    const char* suffix;
    int decimals;  // -1: no value written with a point
    double value;
    std::string text;
  } cases[] = {
      {",", ".", "", "", 1, 12345678.5, "12,345,678.5"},
      {".", ",", "", "", 1, 12345678.5, "12.345.678,5"},
      {" ", ",", "", "", 1, 12345678.5, "12 345 678,5"},
      {",", ".", "", "", -1, 1000, "1,000"},
      {",", ".", "", "", -1, 100000, "100,000"},
      {",", ".", "", "", -1, -999999999999999, "-999,999,999,999,999"},
      {",", ".", "$", "", 2, -1200.5, "-$1,200.50"},
      {"", ".", "", "%", -1, 45, "45%"},
      {"", ".", "", " kg", 1, -0.25, "-0.2 kg"},
      {"'", ".", "CHF ", ".-", -1, 25000, "CHF 25'000.-"},
      {"\xE2\x80\xAF", "\xC2\xB7", "", "", 1, 1234.5, "1\xE2\x80\xAF" "234\xC2\xB7" "5"},  // UTF-8 marks
  };
  for (const FormatCase& fc : cases) {
    resetChartSettings();
    std::snprintf(chartSettings.numberGroup, sizeof chartSettings.numberGroup, "%s", fc.group);
    std::snprintf(chartSettings.numberDecimal, sizeof chartSettings.numberDecimal, "%s", fc.decimal);
    std::snprintf(chartSettings.valuePrefix, sizeof chartSettings.valuePrefix, "%s", fc.prefix);
    std::snprintf(chartSettings.valueSuffix, sizeof chartSettings.valueSuffix, "%s", fc.suffix);
    chartSettings.dataHasDecimals = fc.decimals >= 0;
    chartSettings.decimalPoints = fc.decimals >= 0 ? fc.decimals : 1;
    EXPECT_EQ(formatValue(fc.value), fc.text) << fc.value;
    // The bar labels' VVVV is the same text.
    EXPECT_EQ(formatBarLabel("TTTT: VVVV", datum("x", fc.value)), "x: " + fc.text) << fc.value;
  }
  resetChartSettings();
}

TEST(Text, DivisionTextsOfARoundScale) {
  struct DecimalCase {
    int64_t units;
    int exponent;
    std::string text, european;
  } cases[] = {
      {25, -1, "2.5", "2,5"},
      {0, 6, "0", "0"},
      {25, -2, "0.25", "0,25"},
      {-75, -2, "-0.75", "-0,75"},
      {5, -14, "0.00000000000005", "0,00000000000005"},
      {12, 6, "12000000", "12.000.000"},
  };
  for (const DecimalCase& dc : cases) {
    resetChartSettings();
    EXPECT_EQ(decimalText(dc.units, dc.exponent), dc.text);
    std::snprintf(chartSettings.numberGroup, sizeof chartSettings.numberGroup, ".");
    std::snprintf(chartSettings.numberDecimal, sizeof chartSettings.numberDecimal, ",");
    EXPECT_EQ(numberText(decimalText(dc.units, dc.exponent)), dc.european);
  }
  resetChartSettings();
}

TEST(Text, InterpolateColor) {
  const RgbColor red{1, 0, 0}, green{0, 1, 0}, grey{0.3, 0.3, 0.3};
  struct ColorCase {
    RgbColor from, to;
    double low, high, t;
    RgbColor want;
  } cases[] = {
      {red, green, 0, 10, 5, {0.5, 0.5, 0}},
      {red, green, 0, 10, 0, red},
      {red, green, 0, 10, 10, green},
      {red, green, 1, 10, 4, {2 / 3.0, 1 / 3.0, 0}},
      {red, green, 5, 5, 5, red},  // an empty range: the from colour
      {grey, grey, -3, 7, 2, grey},
  };
  for (const ColorCase& cc : cases) {
    RgbColor c = interpolateColor(cc.from, cc.to, cc.low, cc.high, cc.t);
    EXPECT_NEAR(c.red, cc.want.red, 1e-12);
    EXPECT_NEAR(c.green, cc.want.green, 1e-12);
    EXPECT_NEAR(c.blue, cc.want.blue, 1e-12);
    for (double v : {c.red, c.green, c.blue}) EXPECT_TRUE(v >= 0 && v <= 1) << v;
  }
}

// Helvetica glyph widths of the characters the label tests use.
double helv(const std::string& s, double size = 10) {
  static const std::map<char, int> w = {{' ', 278}, {'(', 333}, {')', 333}, {'A', 667}, {'P', 667}, {'a', 556},
                                        {'e', 556}, {'l', 222}, {'p', 556}, {'r', 333}, {'s', 500}, {':', 278}};
  double sum = 0;
  for (char ch : s) sum += std::isdigit(static_cast<unsigned char>(ch)) ? 556 : w.at(ch);
  return sum * size / 1000;
}

// A text string as the content stream writes it.
std::string shown(const std::string& s) {
  std::string out = "(";
  for (unsigned char ch : s) {
    if (ch < 0x21 || ch > 0x7e || std::string("\\%#/()<>[]{}").find(ch) != std::string::npos) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\%03o", ch);
      out += buf;
    } else {
      out += static_cast<char>(ch);
    }
  }
  return out + ") Tj";
}

struct Placed {
  int angle;
  double x, y;
  std::string text;
};

const double A = kHelvA, D = kHelvD, SP = helv(" ");

// Where the labels of the two bars Apples 10 and Pears 20 (scale 9..20)
// stand, by the placement rules, with the border inset e.
std::vector<Placed> expectedLabels(bool horizontal, int position, const std::string& format, double e) {
  const Datum data[] = {datum("Apples", 10), datum("Pears", 20)};
  const bool twoPasses = position >= 5;
  const double e2 = 2 * e;
  std::vector<Placed> out;
  // Plot rectangle.
  double left = 5, bottom = 5, right = 795, top = 595;
  auto texts = [&](const Datum& d) {
    std::vector<std::pair<int, std::string>> t;  // place, text
    std::string v = std::to_string(static_cast<int>(d.value));
    if (twoPasses) {
      t.push_back({4, d.label});
      t.push_back({position - 4, v});
    } else {
      std::string f = format, s;
      for (size_t i = 0; i < f.size();) {
        if (f.compare(i, 4, "TTTT") == 0) {
          s += d.label;
          i += 4;
        } else if (f.compare(i, 4, "VVVV") == 0) {
          s += v;
          i += 4;
        } else {
          s += f[i++];
        }
      }
      t.push_back({position, s});
    }
    return t;
  };
  if (!horizontal) {
    if (position >= 4) bottom = std::trunc(bottom + A - 3 * D);
  } else if (position >= 4) {
    int m = 0;
    for (const Datum& d : data) {
      double c = position == 4 ? 2 * SP + helv(texts(d)[0].second) : SP + helv(d.label);
      if (c > m) m = static_cast<int>(c);
    }
    left += m;
  }
  const double E = horizontal ? top - bottom : right - left;
  const double size = (E - 18) / 2, gap = 18;
  const double V = horizontal ? right - left : top - bottom;
  for (int i = 0; i < 2; ++i) {
    const double offset = (size + gap) * i, length = (data[i].value - 9) * V / 11;
    for (auto& [place, text] : texts(data[i])) {
      const double wI = std::trunc(helv(text));
      Placed p{0, 0, 0, text};
      if (horizontal) {
        p.y = bottom + offset + size / 2 - (A + D) / 2;
        const double minX = left + e2 + SP;
        if (place == 1) p.x = minX;
        if (place == 2) p.x = std::max(left + length - wI - SP - e2, minX);
        if (place == 3) p.x = std::max(left + length / 2 - wI / 2, minX);
        if (place == 4) p.x = left - (SP + wI);
      } else {
        const double xb = left + offset + size / 2 + (A + D) / 2, minY = bottom + e2 - D;
        p.angle = place == 4 ? 0 : 90;
        p.x = xb;
        if (place == 1) p.y = bottom + e2 - 2 * D;
        if (place == 2) p.y = std::max(bottom + length - wI - SP - e2, minY);
        if (place == 3) p.y = std::max(bottom + length / 2 - wI / 2, minY);
        if (place == 4) {
          p.x = left + offset + size / 2 - wI / 2;
          p.y = bottom - A + D;
        }
      }
      out.push_back(p);
    }
  }
  return out;
}

struct PositionCase {
  std::string keyword;
  int position;
  std::string format;  // positions 1 to 4 only
};

const PositionCase kPositions[] = {
    {"Start", 1, "VVVV"},        {"E", 2, "TTTT (VVVV)"}, {"Center", 3, "TTTT:VVVV"}, {"Axes", 4, "TTTT (VVVV)"},
    {"AxesAndStart", 5, ""}, {"AE", 6, ""},           {"AC", 7, ""},
};

TEST(Text, BarLabelsInEveryPositionAndBothStyles) {
  for (bool horizontal : {false, true}) {
    for (const PositionCase& pc : kPositions) {
      for (double border : {0.0, 3.0}) {
        SCOPED_TRACE(std::string(horizontal ? "horizontal " : "vertical ") + pc.keyword + " border " +
                     std::to_string(border));
        std::string args = std::string("-chart Bar ") + (horizontal ? "H" : "V") +
                           " -barcolor #FF0000 #0000FF -datum Apples 10 -datum Pears 20 " +
                           (horizontal ? "-axeslabely" : "-axeslabelx") + " 10 Helv #000000 Normal -barlabel " +
                           pc.keyword;
        if (border > 0) args += " -barborder 3 #000000";
        std::vector<std::string> argv = splitWords(args);
        // The format is one argument, spaces and all.
        if (!pc.format.empty()) argv.insert(argv.end() - (border > 0 ? 3 : 0), pc.format);
        Chart c = runChart(argv);
        ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
        std::vector<Placed> want = expectedLabels(horizontal, pc.position, pc.format, border > 0 ? 1 : 0);
        size_t from = 0;
        for (const Placed& p : want) {
          int i = findRun(c.lines, {"BT", textAt(p.angle, p.x, p.y), shown(p.text), "ET"}, from);
          EXPECT_GE(i, 0) << p.text << " at " << textAt(p.angle, p.x, p.y) << "\n" << dump(c.lines);
          if (i >= 0) from = i + 4;
        }
        EXPECT_EQ(withOperator(c.lines, "Tj").size(), want.size()) << dump(c.lines);
        // The format is applied by the layout once, then per pass in the
        // vertical style and per bar in the horizontal style.
        size_t applied = 1 + (horizontal ? 2 : want.size());
        EXPECT_EQ(withOperator(c.lines, "Tf").size(), applied) << dump(c.lines);
      }
    }
  }
}

TEST(Text, ShortBarShowsItsValueAtTheStart) {
  // Horizontal AxesAndEnd, scale 0..200. The room left of the axis is
  // trunc(SP + W("Apples")) = 33, so left = 38 and V = 757. The bar of 1 is
  // 3.785 long: its value stands where Start would put it (left + SP); the
  // value of 200 stands one space before its bar's end.
  Chart c = runChart("-chart Bar H -barcolor #FF0000 #0000FF -datum Apples 1 -datum Pears 200 "
                     "-axeslabely 10 Helv #000000 Normal -barlabel AE");
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  const double mid = 143 - (A + D) / 2;
  EXPECT_GE(findRun(c.lines, {"BT", textAt(0, 38 - SP - 30, 5 + mid), shown("Apples"), "ET", "BT",
                              textAt(0, 38 + SP, 5 + mid), shown("1"), "ET"}),
            0)
      << dump(c.lines);
  EXPECT_GE(findRun(c.lines, {"BT", textAt(0, 795 - 16 - SP, 309 + mid), shown("200"), "ET"}), 0) << dump(c.lines);
}

TEST(Text, CaptionAlignments) {
  struct CaptionCase {
    std::string args;
    Placed want;
  } cases[] = {
      // Plot 5..795 without caption Y: Centre (790 - w) / 2 + 5, Right 795 - w.
      {"-axescaptionx 10 Helv #000000 Normal C Apples", {0, (790 - helv("Apples")) / 2 + 5, 5 - D, "Apples"}},
      {"-axescaptionx 10 Helv #000000 Normal R Apples", {0, 795 - helv("Apples"), 5 - D, "Apples"}},
      {"-axescaptionx 10 Helv #000000 Normal L Apples", {0, 5, 5 - D, "Apples"}},
      // Caption Y against 5..595: Middle and Bottom, read upwards.
      {"-axescaptiony 10 Helv #000000 Normal M Pears", {90, 5 + A, (590 - helv("Pears")) / 2 + 5, "Pears"}},
      {"-axescaptiony 10 Helv #000000 Normal B Pears", {90, 5 + A, 5, "Pears"}},
      {"-axescaptiony 10 Helv #000000 Normal T Pears", {90, 5 + A, 595 - helv("Pears"), "Pears"}},
  };
  for (const CaptionCase& cc : cases) {
    SCOPED_TRACE(cc.args);
    Chart c = runChart("-chart Bar V -barcolor #FF0000 #0000FF -datum A 1 -datum B 2 " + cc.args);
    ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
    EXPECT_GE(findRun(c.lines, {"BT", textAt(cc.want.angle, cc.want.x, cc.want.y), shown(cc.want.text), "ET"}), 0)
        << dump(c.lines);
  }
}

TEST(Text, HeadingsAlignedOnThePage) {
  // 18-point Helvetica title, 12-point Courier subtitle.
  const double wT = helv("Apples", 18), spT = helv(" ", 18);
  const double aS = kCourA, dS = kCourD;
  const double s = aS - dS - D;
  struct HeadingCase {
    std::string heading;
    double xT, yT;
  } cases[] = {
      {"Top Left", spT / 2, 600 - A + 2 * D},
      {"Top Centre", (800 - wT) / 2, 600 - A + 2 * D},
      {"Top Right", 800 - wT - spT / 2, 600 - A + 2 * D},
      {"Bottom Right", 800 - wT - spT / 2, s - 2 * D},
  };
  for (const HeadingCase& hc : cases) {
    SCOPED_TRACE(hc.heading);
    Chart c = runChart("-chart Bar V -barcolor #FF0000 #0000FF -datum A 1 -datum B 2 -title Apples -subject Pears "
                       "-headingtitle 18 Helv #000000 Normal -headingsubtitle 12 Courier #000000 Normal "
                       "-chartheading " +
                       hc.heading);
    ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
    // The subtitle font is selected to measure it before the title's format.
    EXPECT_EQ(findRun(c.lines, {"/F0 12 Tf", "/F1 18 Tf", "0 Tr", "0 0 0 rg", "BT", textAt(0, hc.xT, hc.yT),
                                shown("Apples"), "ET"}),
              0)
        << dump(c.lines);
    // The subtitle one title descent, one subtitle ascent and descent lower.
    const double wS = 5 * 600 * 12 / 1000.0, spS = 600 * 12 / 1000.0;
    double xS = hc.heading.find("Left") != std::string::npos     ? spS / 2
                : hc.heading.find("Centre") != std::string::npos ? (800 - wS) / 2
                                                                 : 800 - wS - spS / 2;
    EXPECT_GE(findRun(c.lines, {"BT", textAt(0, xS, hc.yT - s), shown("Pears"), "ET"}), 0) << dump(c.lines);
  }
}

}  // namespace
