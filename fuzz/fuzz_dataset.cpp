// The dataset reader over arbitrary file contents. The first byte picks the
// separator and how full the data table already is, so that the limits are
// reached as well; the rest is the file.
#include <cstdint>
#include <cstring>
#include <string>

#include "app/interpreter.h"
#include "app/settings.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"

namespace {

const char* const kSeparators[] = {",", ";", "\t", "::", " ", "ab", "\"", "abcdefghijk"};
const int kPrefill[] = {0, 0, 0, 0, 1, 990, 999, 1000};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pvfuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  if (pvfuzz::couldForgeLogLines(data, size)) return 0;
  uint8_t pick = data[0];
  resetChartSettings();
  chartSettings.chartType = Bar;
  chartSettings.chartStyle = Vertical;
  std::strcpy(chartSettings.dataSeparator, kSeparators[pick & 7]);
  int prefill = kPrefill[(pick >> 3) & 7];
  for (int i = 0; i < prefill; ++i) {
    std::strcpy(chartSettings.data[i].label, "x");
    chartSettings.data[i].value = i;
  }
  chartSettings.dataCount = prefill;

  pvfuzz::writeWorkFile("input.csv", data + 1, size - 1);
  int result = interpretCommands("-dataset input.csv");
  std::string out = pvfuzz::takeCapturedOutput();
  if (result != 0 && result != 1) pvfuzz::fail("result neither 0 nor 1");
  if (pvfuzz::countLogLines(out, "ERROR: ") != result)
    pvfuzz::fail("ERROR lines do not match the result", out);
  if (chartSettings.dataCount < prefill) pvfuzz::fail("data were lost");
  pvfuzz::checkSettingsLimits();
  pvfuzz::cleanWorkDir();
  return 0;
}
