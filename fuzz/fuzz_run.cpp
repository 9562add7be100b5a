// A whole run, from arbitrary command text to a finished PDF in the working
// folder, checked the way a calling script would see it.
#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/log.h"
#include "app/run.h"
#include "app/settings.h"
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_support.h"

namespace {

std::string readWhole(const char* path) {
  std::string text;
  FILE* f = std::fopen(path, "rb");
  if (!f) return text;
  char buf[8192];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
  std::fclose(f);
  return text;
}

bool exists(const char* path) {
  struct stat st;
  return stat(path, &st) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  pvfuzz::setUp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (pvfuzz::namesPathsOutside(data, size) || pvfuzz::couldForgeLogLines(data, size)) return 0;
  std::string text(reinterpret_cast<const char*>(data), size);
  resetChartSettings();
  int result = plotvaneEntry(text.c_str());
  std::string out = pvfuzz::takeCapturedOutput();

  if (result != 0 && result != 1) pvfuzz::fail("exit code neither 0 nor 1");
  const ChartSettings& s = chartSettings;
  if (logConsole() == LogConsole::Error) {
    // The log went to standard error; standard output holds one whole PDF
    // when the run wrote it there, and nothing otherwise.
    bool pdfOut = result == 0 && std::strcmp(s.outputFile, "-") == 0;
    if (!pdfOut && !out.empty()) pvfuzz::fail("standard output holds more than a PDF", out);
    if (pdfOut && (out.compare(0, 5, "%PDF-") != 0 || out.size() < 7 ||
                   out.compare(out.size() - 7, 7, "%%EOF\r\n") != 0))
      pvfuzz::fail("standard output is not one whole PDF");
  } else if (text.c_str()[0] != '\0') {
    if (pvfuzz::lastLogMessage(out) != "Finished") pvfuzz::fail("last log line is not Finished", out);
    int failures = pvfuzz::countLogLines(out, "ERROR: ") + pvfuzz::countLogLines(out, "MakePDF ");
    if (failures != result) pvfuzz::fail("failure lines do not match the exit code", out);
    bool logIsOutput = std::strcmp(s.logFile, s.outputFile) == 0;
    if (result == 0 && !logIsOutput) {
      std::string pdf = readWhole(s.outputFile);
      if (pdf.compare(0, 5, "%PDF-") != 0) pvfuzz::fail("written file has no PDF header", s.outputFile);
      if (pdf.size() < 7 || pdf.compare(pdf.size() - 7, 7, "%%EOF\r\n") != 0)
        pvfuzz::fail("written file does not end with %%EOF", s.outputFile);
    }
    if (result == 1 && pvfuzz::countLogLines(out, "MakePDF ") == 1 && !logIsOutput &&
        exists(s.outputFile))
      pvfuzz::fail("a failed save left a file under the output name", s.outputFile);
  }
  pvfuzz::checkSettingsLimits();
  pvfuzz::cleanWorkDir();
  return 0;
}
