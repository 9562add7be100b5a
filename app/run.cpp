#include "app/run.h"

#include <cstdio>
#include <cstring>

#include "app/data.h"
#include "app/interpreter.h"
#include "app/log.h"
#include "app/settings.h"
#include "app/standard_streams.h"
#include "chart/make_pdf.h"

int runChart(const char* commandLine) {
  int interpreted = interpretCommands(commandLine);
  const ChartSettings& cs = chartSettings;
  // Only now is it certain whether an option file named "-output -".
  if (logConsole() == LogConsole::Held)
    setLogConsole(isStandardStreamName(cs.outputFile) ? LogConsole::Error : LogConsole::Output);
  if (interpreted != 0) return 1;
  if (cs.chartType == NoChartType) {
    logLine("ERROR: No Chart Type specified");
    return 1;
  }
  if (cs.chartStyle == NoChartStyle) {
    logLine("ERROR: No Chart Style specified");
    return 1;
  }
  if (cs.dataCount == 0 && cs.categoryCount == 0) {
    logLine("ERROR: No data specified");
    return 1;
  }
  if (cs.outputFile[0] == '\0') {
    logLine("ERROR: No PDF output file specified");
    return 1;
  }
  // Series declared by a table take the bar colour pairs; those declared by
  // "series" bring their own.
  bool needBarColors = !hasSeries();
  for (int k = 0; k < cs.seriesCount; ++k)
    if (cs.series[k].colorsFromBarColors) needBarColors = true;
  if ((cs.chartStyle == Vertical || cs.chartStyle == Horizontal) && needBarColors && cs.barColorCount == 0) {
    logLine("ERROR: No bar colors specified");
    return 1;
  }
  sortData();
  deriveValueScale();
  return MakePDF();
}

int plotvaneEntry(const char* commandLine) {
  int result = 1;
  setLogConsole(LogConsole::Output);
  for (Datum& d : chartSettings.data) d = Datum{};  // empty labels, value 0
  if (commandLine[0] == '\0') {
    // The command-line edition's notice; nothing is logged.
    fputs("Plotvane by Quorvel\n"
          "This version of the Plotvane from Quorvel is the Command Line version.\n"
          "\n"
          "For other versions of this utility please visit the web site at "
          "https://plotvane.example.org/\n",
          stderr);
    return result;
  }
  // While standard output carries the PDF, the log goes to standard error;
  // lines logged before that is known are held back.
  setLogConsole(commandLineWritesToStandardOutput(commandLine) ? LogConsole::Error : LogConsole::Held);
  result = runChart(commandLine);
  logLine("Finished");
  return result;
}
