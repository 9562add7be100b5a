// Sorting, the value scale, and dataset files read in-process.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/data.h"
#include "app/settings.h"
#include "tests/app/app_test_util.h"
#include "tests/support/test_support.h"

namespace {

void setData(const std::vector<double>& values, bool decimals) {
  resetChartSettings();
  for (size_t i = 0; i < values.size(); ++i) chartSettings.data[i].value = values[i];
  chartSettings.dataCount = static_cast<int>(values.size());
  chartSettings.dataHasDecimals = decimals ? 1 : 0;
}

struct ScaleCase {
  std::vector<double> values;
  bool decimals;
  int kind;
  int percent;
  double from, to;
  double min, max, range;
};

TEST(DeriveValueScale, WorkedValues) {
  const ScaleCase cases[] = {
      {{20, 30, 40}, false, UnderLowestValue, 10, 0, 0, 18, 40, 22},
      {{2, 50}, false, UnderLowestValue, 10, 0, 0, 0, 50, 50},
      {{12, 20}, false, UnderLowestValue, 10, 0, 0, 11, 20, 9},
      {{12.0, 20}, true, UnderLowestValue, 10, 0, 0, 11.2, 20, 8.8},
      // No range left after the scale rules: widened to reach 0.
      {{7, 7, 7}, false, UnderLowestValue, 10, 0, 0, 0, 7, 7},
      {{42}, false, UnderLowestValue, 10, 0, 0, 0, 42, 42},
      {{-2.5, -2.5}, true, UnderLowestValue, 10, 0, 0, -2.5, 0, 2.5},
      {{0}, false, UnderLowestValue, 10, 0, 0, 0, 1, 1},
      {{0, 0}, false, FromZero, 10, 0, 0, 0, 1, 1},
      {{-4}, false, FromZero, 10, 0, 0, -4, 0, 4},
      {{5}, false, Range, 10, 5, 5, 0, 5, 5},
      {{-5, 50}, false, UnderLowestValue, 10, 0, 0, -11, 50, 61},
      {{-5, 50}, true, UnderLowestValue, 10, 0, 0, -10.5, 50, 60.5},
      {{20, 50, 80}, false, UnderLowestValue, 10, 0, 0, 14, 80, 66},
      {{20, 40}, false, UnderLowestValue, 0, 0, 0, 20, 40, 20},
      {{20, 40}, false, UnderLowestValue, 100, 0, 0, 0, 40, 40},
      {{-5, 10}, false, FromZero, 10, 0, 0, -5, 10, 15},
      {{5, 10}, false, FromZero, 10, 0, 0, 0, 10, 10},
      {{0, 10}, false, FromZero, 10, 0, 0, 0, 10, 10},
      {{20, 50}, false, Range, 10, 0, 100, 0, 100, 100},
      {{20, 50}, false, Range, 10, 30, 40, 20, 50, 30},
      {{20, 50}, false, Range, 10, 100, 0, 20, 50, 30},
      {{42}, false, Range, 10, 0, 0, 0, 42, 42},
  };
  for (const ScaleCase& c : cases) {
    setData(c.values, c.decimals);
    chartSettings.axesScale = c.kind;
    chartSettings.axesScalePercent = c.percent;
    chartSettings.axesScaleFrom = c.from;
    chartSettings.axesScaleTo = c.to;
    deriveValueScale();
    std::string what = "kind " + std::to_string(c.kind) + " first value " +
                       std::to_string(c.values[0]);
    EXPECT_NEAR(chartSettings.valueMin, c.min, 1e-9) << what;
    EXPECT_NEAR(chartSettings.valueMax, c.max, 1e-9) << what;
    EXPECT_NEAR(chartSettings.valueRange, c.range, 1e-9) << what;
  }
}

TEST(DeriveValueScale, WholeNumbersAreExactAfterRounding) {
  // floor must not fall one below because of the 0.01 factor.
  setData({20, 30, 40}, false);
  deriveValueScale();
  EXPECT_EQ(chartSettings.valueMin, 18.0);
  setData({-5, 50}, false);
  deriveValueScale();
  EXPECT_EQ(chartSettings.valueMin, -11.0);
}

std::vector<std::string> labels() {
  std::vector<std::string> l;
  for (int i = 0; i < chartSettings.dataCount; ++i) l.push_back(chartSettings.data[i].label);
  return l;
}

TEST(SortData, FieldsAndOrders) {
  apptest::Outcome o = apptest::interpret(
      "-chart Bar V -datum cherry 3 -datum apple 1 -datum Banana 2 -datum _x 9");
  ASSERT_EQ(o.result, 0);
  chartSettings.sortField = NoSort;
  sortData();
  EXPECT_EQ(labels(), (std::vector<std::string>{"cherry", "apple", "Banana", "_x"}));
  chartSettings.sortField = First;
  chartSettings.sortOrder = Ascending;
  sortData();
  EXPECT_EQ(labels(), (std::vector<std::string>{"_x", "apple", "Banana", "cherry"}));
  chartSettings.sortOrder = Descending;
  sortData();
  EXPECT_EQ(labels(), (std::vector<std::string>{"cherry", "Banana", "apple", "_x"}));
  chartSettings.sortField = Second;
  chartSettings.sortOrder = Ascending;
  sortData();
  EXPECT_EQ(labels(), (std::vector<std::string>{"apple", "Banana", "cherry", "_x"}));
  chartSettings.sortOrder = Descending;
  sortData();
  EXPECT_EQ(labels(), (std::vector<std::string>{"_x", "cherry", "Banana", "apple"}));
  EXPECT_EQ(chartSettings.data[0].value, 9.0);
}

TEST(SortData, DataSortCommandAliases) {
  struct Case {
    const char* args;
    int field, order;
  };
  const Case cases[] = {{"F A", First, Ascending},     {"1st desc", First, Descending},
                        {"Second Asc", Second, Ascending}, {"2nd D", Second, Descending},
                        {"sec Descending", Second, Descending}};
  for (const Case& c : cases) {
    apptest::Outcome o = apptest::interpret(std::string("-datasort ") + c.args);
    EXPECT_EQ(o.result, 0) << c.args;
    EXPECT_EQ(chartSettings.sortField, c.field) << c.args;
    EXPECT_EQ(chartSettings.sortOrder, c.order) << c.args;
  }
}

class Dataset : public ::testing::Test {
 protected:
  std::string dir = pvtest::makeTempDir();
  apptest::Outcome load(const std::string& content, const std::string& before = "") {
    std::string path = dir + "/d.csv";
    pvtest::writeFile(path, content);
    return apptest::interpret("-chart Bar V " + before + " -dataset " + path);
  }
  std::string path() const { return dir + "/d.csv"; }
};

TEST_F(Dataset, LinesAndValues) {
  apptest::Outcome o = load(
      "North,12\r\n"
      "Empty,\n"
      "\n"
      "Trail,12 and words\n"
      "  spaced label  ,7\n"
      "Point, 2.5\n"
      "Lone,3\rCR,9\r"
      "abcdefghijklmnopqrstuvwxyz0123456789ABCD,4\n"
      ",5");
  ASSERT_EQ(o.result, 0);
  EXPECT_TRUE(o.messages.empty());
  ASSERT_EQ(chartSettings.dataCount, 9);
  const char* expectedLabels[] = {"North", "Empty", "Trail", "  spaced label  ", "Point",
                                  "Lone",  "CR",    "abcdefghijklmnopqrstuvwxyz0123", ""};
  const double expectedValues[] = {12, 0, 12, 7, 2.5, 3, 9, 4, 5};
  for (int i = 0; i < 9; ++i) {
    EXPECT_STREQ(chartSettings.data[i].label, expectedLabels[i]) << i;
    EXPECT_EQ(chartSettings.data[i].value, expectedValues[i]) << i;
  }
  EXPECT_EQ(chartSettings.dataHasDecimals, 1);
}

TEST_F(Dataset, LoneCarriageReturnsEndLines) {
  // An old Mac file: every item is read, and line numbers count CR lines.
  apptest::Outcome o = load("North,12\rSouth,7\r");
  ASSERT_EQ(o.result, 0);
  ASSERT_EQ(chartSettings.dataCount, 2);
  EXPECT_STREQ(chartSettings.data[1].label, "South");
  EXPECT_EQ(chartSettings.data[1].value, 7.0);
  o = load("a,1\r\rb\r");
  ASSERT_EQ(o.messages.size(), 1u);
  EXPECT_EQ(o.messages[0], "ERROR: no value on line 3 of dataset [" + path() + "]");
}

TEST_F(Dataset, QuotedLabelStopsAtItsOwnComma) {
  // The first separator wins, so a comma inside quotes splits the line.
  apptest::Outcome o = load("\"Quoted, label\",7\n");
  ASSERT_EQ(o.messages.size(), 1u);
  EXPECT_EQ(o.messages[0], "ERROR: invalid value on line 1 of dataset [" + path() + "]");
}

TEST_F(Dataset, Separators) {
  apptest::Outcome o = load("a;7\nb;;8\n", "-dataseparator ;");
  EXPECT_EQ(o.result, 1);
  ASSERT_EQ(o.messages.size(), 1u);
  EXPECT_EQ(o.messages[0], "ERROR: invalid value on line 2 of dataset [" + path() + "]");
  EXPECT_EQ(chartSettings.data[0].value, 7.0);
  o = load("a::7\nb::-8.5\n", "-dataseparator ::");
  ASSERT_EQ(o.result, 0);
  EXPECT_EQ(chartSettings.data[1].value, -8.5);
  EXPECT_STREQ(chartSettings.data[1].label, "b");
}

TEST_F(Dataset, FailingLines) {
  struct Case {
    std::string content;
    std::string message;
  };
  const Case cases[] = {
      {"a,1\n\nb 2\n", "ERROR: no value on line 3 of dataset [" + path() + "]"},
      {"a,1,234\n", "ERROR: invalid value on line 1 of dataset [" + path() + "]"},
      {"a,12kg\n", "ERROR: invalid value on line 1 of dataset [" + path() + "]"},
      {"a,1234567890123456\n", "ERROR: invalid value on line 1 of dataset [" + path() + "]"},
      {std::string("a,1\nb\0,2\n", 10), "ERROR: no value on line 2 of dataset [" + path() + "]"},
      {"ok,1\n" + std::string(250, 'x') + ",1\n",
       "ERROR: no value on line 2 of dataset [" + path() + "]"},
  };
  for (const Case& c : cases) {
    apptest::Outcome o = load(c.content);
    EXPECT_EQ(o.result, 1);
    ASSERT_EQ(o.messages.size(), 1u);
    EXPECT_EQ(o.messages[0], c.message);
  }
}

TEST_F(Dataset, LongLinesAreReadInPiecesOf198) {
  // 198 characters, then the rest of the line as its own line.
  std::string first = std::string(190, 'L') + ",1234567";
  apptest::Outcome o = load(first + "9\n");
  ASSERT_EQ(o.messages.size(), 1u);
  EXPECT_EQ(o.messages[0], "ERROR: no value on line 2 of dataset [" + path() + "]");
  EXPECT_EQ(chartSettings.dataCount, 1);
  EXPECT_EQ(chartSettings.data[0].value, 1234567.0);
}

TEST_F(Dataset, ExactlyAThousandItems) {
  std::string body;
  for (int i = 0; i < 1000; ++i) body += "i" + std::to_string(i) + "," + std::to_string(i) + "\n";
  for (const std::string& content : {body, body.substr(0, body.size() - 1), body + "\n\r\n"}) {
    apptest::Outcome o = load(content);
    EXPECT_EQ(o.result, 0);
    EXPECT_TRUE(o.messages.empty());
    EXPECT_EQ(chartSettings.dataCount, 1000);
  }
  apptest::Outcome o = load(body + "\nextra,1\n");
  EXPECT_EQ(o.result, 1);
  ASSERT_EQ(o.messages.size(), 1u);
  EXPECT_EQ(o.messages[0], "ERROR: Dataset - too much data");
  // Items given before count towards the thousand.
  o = load(body.substr(body.find("i1,")), "-datum first 1");
  EXPECT_EQ(o.result, 0);
  EXPECT_EQ(chartSettings.dataCount, 1000);
  o = load(body, "-datum first 1");
  ASSERT_EQ(o.messages.size(), 1u);
  EXPECT_EQ(o.messages[0], "ERROR: Dataset - too much data");
}

TEST_F(Dataset, TableAlreadyFull) {
  std::string datums;
  for (int i = 0; i < 1000; ++i) datums += "-datum d 1 ";
  // Items that do not fit are reported, not dropped without a word.
  apptest::Outcome o = load("late,5\n", datums);
  EXPECT_EQ(o.result, 1);
  ASSERT_EQ(o.messages.size(), 1u);
  EXPECT_EQ(o.messages[0], "ERROR: Dataset - too much data");
  // A file with no items adds nothing and is no error.
  o = load("\n\r\n", datums);
  EXPECT_EQ(o.result, 0);
  EXPECT_TRUE(o.messages.empty());
  EXPECT_EQ(chartSettings.dataCount, 1000);
}

}  // namespace
