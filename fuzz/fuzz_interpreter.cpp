// The command interpreter over arbitrary command text: once as a command
// line, once as the lines of an option file.
#include <cstdint>
#include <string>

#include "app/interpreter.h"
#include "app/settings.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"

namespace {

void runOnce(const char* text) {
  resetChartSettings();
  int result = interpretCommands(text);
  std::string out = pvfuzz::takeCapturedOutput();
  if (result != 0 && result != 1) pvfuzz::fail("result neither 0 nor 1");
  int errors = pvfuzz::countLogLines(out, "ERROR: ");
  if (errors != result) pvfuzz::fail("ERROR lines do not match the result", out);
  pvfuzz::checkSettingsLimits();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pvfuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (pvfuzz::namesPathsOutside(data, size) || pvfuzz::couldForgeLogLines(data, size)) return 0;
  // The command line is a C string: it ends at the first NUL byte.
  std::string text(reinterpret_cast<const char*>(data), size);
  runOnce(text.c_str());
  pvfuzz::cleanWorkDir();

  // The same bytes as an option file, NUL bytes and line ends as they are.
  pvfuzz::writeWorkFile("input.opt", data, size);
  runOnce("-options input.opt");
  pvfuzz::cleanWorkDir();
  return 0;
}
