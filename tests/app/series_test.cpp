// Several series: the commands, tables, sorting by sum and the drawn range.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/data.h"
#include "app/run.h"
#include "app/settings.h"
#include "app/table_reader.h"
#include "tests/app/app_test_util.h"
#include "tests/support/test_support.h"

namespace {

const std::string kChart = "-chart Bar V ";
const std::string kTwo = kChart + "-series A #FF0000 #800000 -series B 0 0 255 0 0 128 ";

struct FailCase {
  std::string text;
  std::string message;
};

std::string tableFile(const std::string& content) {
  static std::string dir = pvtest::makeTempDir();
  static int n = 0;
  std::string path = dir + "/t" + std::to_string(++n) + ".csv";
  pvtest::writeFile(path, content);
  return path;
}

void expectFailures(const std::vector<FailCase>& cases) {
  for (const FailCase& c : cases) {
    apptest::Outcome o = apptest::interpret(c.text);
    EXPECT_EQ(o.result, 1) << c.text;
    ASSERT_EQ(o.messages.size(), 1u) << c.text;
    EXPECT_EQ(o.messages[0], c.message) << c.text;
  }
}

TEST(SeriesCommands, EveryFailureLogsItsOneMessage) {
  std::string fifty = kChart;
  for (int i = 0; i < 50; ++i) fifty += "-series s" + std::to_string(i) + " #000000 #FFFFFF ";
  std::string thousand = kTwo;
  for (int i = 0; i < 1000; ++i) thousand += "-row r 1 2 ";
  expectFailures({
      {fifty + "-series x #000000 #FFFFFF", "ERROR: Series - maximum number of series (50) reached"},
      {"-series", "ERROR: Series - no name"},
      {"-series " + std::string(61, 'n') + " #000000 #FFFFFF", "ERROR: Series - name too long"},
      {"-series a 256 0 0 #FFFFFF", "ERROR: Series - from color is not valid"},
      {"-series a #FFFFFF 0 0 1.5", "ERROR: Series - to color is not valid"},
      {kChart + "-datum a 1 -series a #000000 #FFFFFF", "ERROR: Series - cannot be mixed with datum or dataset"},
      {"-row a 1", "ERROR: Row - Type and/or Style not specified"},
      {kChart + "-row a 1", "ERROR: Row - no series declared"},
      {kTwo + "-row", "ERROR: Row - no label"},
      {kTwo + "-row " + std::string(31, 'L') + " 1 2", "ERROR: Row - label too long"},
      {kTwo + "-row a 1 12kg", "ERROR: Row - invalid value"},
      {kTwo + "-row a 1", "ERROR: Row - 1 values given, 2 series declared"},
      {kTwo + "-row a 1 -2 3 -title t", "ERROR: Row - 3 values given, 2 series declared"},
      {thousand + "-row r 1 2", "ERROR: Row - too many"},
      {kTwo + "-row a 1 2 -datum b 3", "ERROR: Datum - cannot be mixed with series, row or table"},
      {kTwo + "-dataset x.csv", "ERROR: Dataset - cannot be mixed with series, row or table"},
      {"-barmode", "ERROR: BarMode - mode not specified"},
      {"-barmode " + std::string(21, 'S'), "ERROR: BarMode - mode too long"},
      {"-barmode Side", "ERROR: BarMode - unknown mode"},
      {"-legend", "ERROR: Legend - position not specified"},
      {"-legend Middle", "ERROR: Legend - unknown position"},
      {"-legend Top 0 Helv #000000 Normal", "ERROR: Legend - size must be between 1 and 300 inclusive"},
      {"-legend Top 9 Arial #000000 Normal", "ERROR: Legend - unknown font name"},
  });
}

TEST(SeriesCommands, TableFailuresNameTheLine) {
  const std::string good = tableFile("L,a,b\nx,1,2\n");
  const std::string wide = tableFile("L" + std::string(8200, ',') + "\n");
  std::string header = "L";
  for (int k = 0; k < 51; ++k) header += ",s" + std::to_string(k);
  std::string big = "L,a\n";
  for (int i = 0; i < 1001; ++i) big += "r,1\n";
  struct Case {
    std::string content;
    std::string problem;  // on line 2 unless the case says otherwise
    int line;
  };
  const Case cases[] = {
      {"L,\"a\nx,1\n", "unterminated quote", 1},
      {"L,\"a\"b\nx,1\n", "text after a closing quote", 1},
      {"Label\nx\n", "no series", 1},
      {header + "\n", "too many series", 1},
      {"L,a,,b\n", "empty series name", 1},
      {"L," + std::string(61, 'n') + "\n", "series name too long", 1},
      {"L,a,b\n\nx,1\n", "wrong number of cells", 3},
      {"L,a\nx,1,2\n", "wrong number of cells", 2},
      {"L,a\n" + std::string(31, 'x') + ",1\n", "label too long", 2},
      {"L,a\nx,1 234\n", "invalid value", 2},
      {"L,a\nx,12kg\n", "invalid value", 2},
  };
  for (const Case& c : cases) {
    const std::string path = tableFile(c.content);
    apptest::Outcome o = apptest::interpret(kChart + "-table " + path);
    EXPECT_EQ(o.result, 1) << c.content;
    ASSERT_EQ(o.messages.size(), 1u) << c.content;
    EXPECT_EQ(o.messages[0], "ERROR: " + c.problem + " on line " + std::to_string(c.line) + " of table [" +
                                 path + "]")
        << c.content;
  }
  const std::string empty = tableFile("\n\n");
  expectFailures({
      {"-table", "ERROR: Table - no filename"},
      {"-table " + std::string(261, 'p'), "ERROR: Table - filename too long"},
      {"-table " + good, "ERROR: Table - Type and/or Style not specified"},
      {kChart + "-table /nonexistent/t.csv", "ERROR: Table - could not open [/nonexistent/t.csv], error=2"},
      {kChart + "-table /tmp", "ERROR: Table - could not open [/tmp], error=21"},
      {kTwo + "-table " + good, "ERROR: Table - series already declared"},
      {kChart + "-datum a 1 -table " + good, "ERROR: Table - cannot be mixed with datum or dataset"},
      {kChart + "-table " + empty, "ERROR: Table - no header in [" + empty + "]"},
      {kChart + "-table " + wide, "ERROR: line too long on line 1 of table [" + wide + "]"},
      {kChart + "-table " + tableFile(big), "ERROR: Table - too much data"},
  });
}

TEST(SeriesCommands, RfcCellsAndMissingValues) {
  struct Split {
    std::string line, separator;
    std::vector<std::string> cells;
  };
  const Split splits[] = {
      {"a,b,c", ",", {"a", "b", "c"}},
      {"\"a,b\",c", ",", {"a,b", "c"}},
      {"\"say \"\"hi\"\"\",1", ",", {"say \"hi\"", "1"}},
      {"\"\",,x,", ",", {"", "", "x", ""}},
      {" a ;; 2", ";;", {" a ", " 2"}},
      {"\"x;;y\";;3", ";;", {"x;;y", "3"}},
  };
  std::vector<std::string> cells;
  for (const Split& s : splits) {
    EXPECT_EQ(splitTableCells(s.line.c_str(), s.separator.c_str(), &cells), nullptr) << s.line;
    EXPECT_EQ(cells, s.cells) << s.line;
  }

  const std::string path = tableFile("Region;North;\"South; \"\"far\"\"\"\r\n\"A;1\";3; \r\nB; ;-2.5\r\n");
  apptest::Outcome o = apptest::interpret(kChart + "-dataseparator ; -table " + path + " -barmode S");
  ASSERT_EQ(o.result, 0) << (o.messages.empty() ? "" : o.messages[0]);
  const ChartSettings& s = chartSettings;
  ASSERT_EQ(s.seriesCount, 2);
  EXPECT_STREQ(s.series[1].name, "South; \"far\"");
  EXPECT_EQ(s.series[0].colorsFromBarColors, 1);
  ASSERT_EQ(s.categoryCount, 2);
  EXPECT_STREQ(categoryTable[0].label, "A;1");
  EXPECT_EQ(categoryTable[0].present, 1u);  // the blank cell is missing
  EXPECT_EQ(categoryTable[0].values[0], 3);
  EXPECT_EQ(categoryTable[1].present, 2u);
  EXPECT_EQ(categoryTable[1].values[1], -2.5);
  EXPECT_EQ(s.dataHasDecimals, 1);
  EXPECT_EQ(s.barMode, Stacked);
}

TEST(SeriesCommands, RowsSeriesDeclaredLaterAreMissing) {
  apptest::Outcome o = apptest::interpret(kChart + "-series A #000000 #FFFFFF -row x -4 -series B 1 1 1 1 1 1 "
                                                   "-row y .5 +2 -legend B 12 Helv 255 0 0 Normal -legend L");
  ASSERT_EQ(o.result, 0);
  ASSERT_EQ(chartSettings.categoryCount, 2);
  EXPECT_EQ(categoryTable[0].present, 1u);
  EXPECT_EQ(categoryTable[0].values[0], -4);
  EXPECT_EQ(categoryTable[1].present, 3u);
  EXPECT_EQ(categoryTable[1].values[1], 2);
  EXPECT_EQ(chartSettings.dataHasDecimals, 1);
  // The font stays from the first legend command; the second has none.
  EXPECT_EQ(chartSettings.legendPosition, LegendLeft);
  EXPECT_EQ(chartSettings.legendFont.size, 12);
  EXPECT_EQ(chartSettings.fontUsed[Helvetica], 1);
}

TEST(SeriesData, DrawnRangeScaleAndSortBySum) {
  struct Case {
    int mode;
    int scale;
    double lowest, highest, min, max;
  };
  // Rows: a = 10, -4, 6; b = -3, (missing), 5; c = 2, 1, 1.
  const Case cases[] = {
      {Grouped, FromZero, -4, 10, -4, 10},
      {Stacked, FromZero, -4, 16, -4, 16},
      {Stacked, UnderLowestValue, -4, 16, -6, 16},
  };
  for (const Case& c : cases) {
    apptest::interpret(kChart + "-series A #000000 #FFFFFF -series B #000000 #FFFFFF -series C #000000 #FFFFFF "
                                "-row a 10 -4 6 -row b -3 0 5 -row c 2 1 1");
    categoryTable[1].present = 5;  // b has no value for B
    chartSettings.barMode = c.mode;
    chartSettings.axesScale = c.scale;
    double lowest = 0, highest = 0;
    ASSERT_TRUE(drawnValueExtremes(&lowest, &highest));
    EXPECT_EQ(lowest, c.lowest) << c.mode;
    EXPECT_EQ(highest, c.highest) << c.mode;
    deriveValueScale();
    EXPECT_EQ(chartSettings.valueMin, c.min) << c.mode << " " << c.scale;
    EXPECT_EQ(chartSettings.valueMax, c.max) << c.mode << " " << c.scale;
  }
  // Stacks of positive values alone still start the scale at 0.
  apptest::interpret(kChart + "-series A #000000 #FFFFFF -row a 20 -row b 30 -barmode S -axesscale FZ");
  chartSettings.axesScale = Range;
  deriveValueScale();
  EXPECT_EQ(chartSettings.valueMin, 0);
  // Sorted by sums 12, 2 (b without its 0), 4: b, c, a.
  apptest::interpret(kChart + "-series A #000000 #FFFFFF -series B #000000 #FFFFFF -row a 10 2 -row b 2 9 "
                              "-row c 3 1 -datasort Second Ascending");
  categoryTable[1].present = 1;
  sortData();
  EXPECT_STREQ(categoryTable[0].label, "b");
  EXPECT_STREQ(categoryTable[1].label, "c");
  EXPECT_STREQ(categoryTable[2].label, "a");
}

TEST(SeriesData, RunChecks) {
  const std::string table = tableFile("L,a,b\nx,1,2\n");
  struct Case {
    std::string text;
    std::string message;
  };
  const Case cases[] = {
      {kTwo + "-output x", "ERROR: No data specified"},
      {kChart + "-table " + table + " -output x", "ERROR: No bar colors specified"},
  };
  for (const Case& c : cases) {
    resetChartSettings();
    testing::internal::CaptureStdout();
    EXPECT_EQ(runChart(c.text.c_str()), 1);
    std::vector<std::string> log = pvtest::logMessages(testing::internal::GetCapturedStdout());
    ASSERT_EQ(log.size(), 1u) << c.text;
    EXPECT_EQ(log[0], c.message);
  }
}

}  // namespace
