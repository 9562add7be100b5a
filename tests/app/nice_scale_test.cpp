// The round-number scale: the scale each data set gets, and what must hold
// for any data set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/data.h"
#include "app/nice_scale.h"
#include "app/settings.h"
#include "chart/value_text.h"

namespace {

void deriveNice(const std::vector<double>& values, int divisions) {
  resetChartSettings();
  for (size_t i = 0; i < values.size(); ++i) chartSettings.data[i].value = values[i];
  chartSettings.dataCount = static_cast<int>(values.size());
  chartSettings.axesScale = Nice;
  chartSettings.axesDivisions = divisions;
  deriveValueScale();
}

std::string divisionTextOf(int j) {
  const RoundScale& r = chartSettings.roundScale;
  return decimalText(r.first + j * r.stride, r.exponent);
}

TEST(NiceScale, ScaleOfEachDataSet) {
  struct Case {
    std::vector<double> values;
    int divisions;
    double min, max;
    int count;
    std::string second;  // the text of division 1: the step and its decimals
  } cases[] = {
      {{12, 7}, 10, 0, 12, 6, "2"},
      {{9}, 4, 0, 10, 4, "2.5"},
      {{0.9}, 4, 0, 1, 4, "0.25"},
      // Negative only: the scale ends at 0.
      {{-5, -3}, 10, -5, 0, 10, "-4.5"},
      // Mixed signs: 0 is a division.
      {{-5, 50}, 10, -10, 50, 6, "0"},
      {{-99999999999999, 999999999999999}, 10, -2e14, 1e15, 6, "0"},
      // One division cannot hold both signs: two.
      {{-3, 7}, 1, -10, 10, 2, "0"},
      // A tiny spread far from 0 still starts at 0.
      {{1000.001, 1000.004}, 10, 0, 1200, 6, "200"},
      // The real reader's limits.
      {{999999999999999}, 10, 0, 1e15, 10, "100000000000000"},
      {{0.0000000000001}, 10, 0, 1e-13, 10, "0.00000000000001"},
      // One value, equal values, zeros.
      {{7}, 10, 0, 7, 7, "1"},
      {{7, 7, 7}, 10, 0, 7, 7, "1"},
      {{0, 0}, 10, 0, 1, 10, "0.1"},
      // 0.07 / 0.01 is 7.000000000000001: a rounding error must not add a step.
      {{0.07}, 7, 0, 0.07, 7, "0.01"},
      {{-0.07}, 7, -0.07, 0, 7, "-0.06"},
  };
  for (const Case& c : cases) {
    deriveNice(c.values, c.divisions);
    const std::string what = "first value " + std::to_string(c.values[0]) + ", " +
                              std::to_string(c.divisions) + " divisions";
    EXPECT_EQ(chartSettings.valueMin, c.min) << what;
    EXPECT_EQ(chartSettings.valueMax, c.max) << what;
    EXPECT_EQ(chartSettings.roundScale.divisions, c.count) << what;
    EXPECT_EQ(divisionTextOf(1), c.second) << what;
  }
}

TEST(NiceScale, EveryScaleHoldsItsData) {
  const double values[] = {0, 0.001, -0.3, 1, 2.5, 9.99, -10, 12.5, -47, 101, 1000.004, -65535, 123456.789,
                           999999999999999};
  const int counts[] = {1, 2, 3, 7, 10, 37, 100};
  for (double a : values) {
    for (double b : values) {
      if (b < a) continue;
      for (int d : counts) {
        deriveNice({a, b}, d);
        const ChartSettings& s = chartSettings;
        const RoundScale& r = s.roundScale;
        const std::string what = std::to_string(a) + " to " + std::to_string(b) + " in " + std::to_string(d);
        EXPECT_LE(s.valueMin, a < 0 ? a : 0.0) << what;
        EXPECT_GE(s.valueMax, b > 0 ? b : 0.0) << what;
        if (a >= 0) { EXPECT_EQ(s.valueMin, 0.0) << what; }
        // Only zeros are the one data set that needs a span of its own.
        if (b <= 0 && a < 0) { EXPECT_EQ(s.valueMax, 0.0) << what; }
        if (d > 1 || a >= 0 || b <= 0)
          EXPECT_LE(r.divisions, d) << what;
        else
          EXPECT_EQ(r.divisions, 2) << what;
        EXPECT_GE(r.divisions, 1) << what;
        EXPECT_TRUE(r.stride == 1 || r.stride == 2 || r.stride == 5 || r.stride == 25) << what;
        EXPECT_EQ(r.first % r.stride, 0) << what;
        // Every division's text reads back as the value the scale uses, and
        // has exactly the step's decimals.
        for (int j = 0; j <= r.divisions; ++j) {
          const std::string t = divisionTextOf(j);
          EXPECT_EQ(std::atof(t.c_str()), roundScaleValue(r, j)) << what << ": " << t;
          const size_t point = t.find('.');
          const size_t decimals = point == std::string::npos ? 0 : t.size() - point - 1;
          EXPECT_EQ(decimals, static_cast<size_t>(r.exponent < 0 ? -r.exponent : 0)) << what << ": " << t;
        }
      }
    }
  }
}

}  // namespace
