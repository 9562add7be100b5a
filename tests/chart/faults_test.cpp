// The chart run against output it cannot write and against the limits of
// every input, run as a user would: exit code 0 or 1, one failure line at
// most, "Finished", and a file under the output name only when it is a PDF
// that the four readers accept.
#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

using Lines = std::vector<std::string>;

bool isFailureLine(const std::string& m) {
  return m.rfind("ERROR: ", 0) == 0 || m.rfind("MakePDF ", 0) == 0;
}

// Checks what must hold for every run; returns its one failure line, or "".
std::string checkRun(int exitCode, const std::string& out, const std::string& what) {
  Lines messages = pvtest::logMessages(out);
  EXPECT_TRUE(exitCode == 0 || exitCode == 1) << what << " exit " << exitCode;
  EXPECT_FALSE(messages.empty()) << what;
  if (!messages.empty()) {
    EXPECT_EQ(messages.back(), "Finished") << what;
  }
  std::string failure;
  int failures = 0;
  for (const std::string& m : messages) {
    if (!isFailureLine(m)) continue;
    ++failures;
    failure = m;
  }
  EXPECT_EQ(failures, exitCode == 0 ? 0 : 1) << what << "\n" << out;
  return failure;
}

struct Outcome {
  int exitCode = -1;
  std::string failure;
};

// Runs the program in dir. pdfPath (relative to dir) is the file the run
// names: a PDF the readers accept after a success, absent after a failure.
Outcome runChecked(const std::vector<std::string>& args, const std::string& dir,
                   const std::string& pdfPath, const std::string& password = "") {
  pvtest::RunResult r = pvtest::runPlotvane(args, dir, {"PATH=/nonexistent"});
  std::string what;
  for (const std::string& a : args) what += "[" + a.substr(0, 40) + "]";
  EXPECT_EQ(r.err, "") << what;
  Outcome o{r.exitCode, checkRun(r.exitCode, r.out, what)};
  std::string path = pdfPath.empty() || pdfPath[0] == '/' ? pdfPath : dir + "/" + pdfPath;
  if (!path.empty()) {
    if (r.exitCode == 0) {
      EXPECT_EQ(pvtest::checkWithReaders(path, password), "") << what;
    } else {
      EXPECT_FALSE(pvtest::fileExists(path)) << what;
    }
  }
  return o;
}

Lines listing(const std::string& dir) {
  Lines names;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) names.push_back(e->d_name);
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> concat(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const std::vector<std::string> kBasic = {"-chart", "Bar", "V", "-barcolor", "#FF0000", "#0000FF",
                                         "-datum", "a", "1", "-datum", "b", "2"};

std::string thousandLines(int count, bool finalBreak) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) text += "\n";
    text += "Item " + std::to_string(i) + "," + std::to_string((i * 37) % 101 - 20);
  }
  return finalBreak ? text + "\n" : text;
}

TEST(ChartFaults, OutputThatCannotBeWritten) {
  std::string dir = pvtest::makeTempDir();
  pvtest::writeFile(dir + "/plain.txt", "not a folder");
  mkdir((dir + "/taken.pdf").c_str(), 0755);
  struct Case {
    std::string output;
    std::string failure;
  };
  std::vector<Case> cases = {
      {"missing/out", "MakePDF ERROR: cannot write to stream(2)."},
      {"plain.txt/out", "MakePDF ERROR: cannot write to stream(20)."},
      {"taken", "MakePDF ERROR: cannot write to stream(21)."},
  };
  const Lines before = listing(dir);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.output);
    Outcome o = runChecked(concat(kBasic, {"-output", c.output}), dir, "");
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(o.failure, c.failure);
    // Nothing left behind: no partial file, no temporary file.
    EXPECT_EQ(listing(dir), before);
    EXPECT_EQ(listing(dir + "/taken.pdf"), (Lines{".", ".."}));
  }
}

TEST(ChartFaults, OutputIntoAReadOnlyFolder) {
  std::string dir = pvtest::makeTempDir();
  std::string folder;
  if (geteuid() != 0) {
    folder = dir + "/ro";
    mkdir(folder.c_str(), 0555);
  } else {
    // Root writes through permission bits; sysfs refuses new files to anyone.
    folder = "/sys";
    if (access(folder.c_str(), F_OK) != 0) GTEST_SKIP() << "running as root without /sys";
  }
  const Lines before = listing(folder);
  Outcome o = runChecked(concat(kBasic, {"-output", folder + "/plotvane-fault-test"}), dir,
                         folder + "/plotvane-fault-test.pdf");
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.failure, "MakePDF ERROR: cannot write to stream(13).");
  EXPECT_EQ(listing(folder), before);
}

TEST(ChartFaults, FailedSaveLeavesTheEarlierFileIntact) {
  std::string dir = pvtest::makeTempDir();
  Outcome first = runChecked(concat(kBasic, {"-output", "out"}), dir, "out.pdf");
  ASSERT_EQ(first.exitCode, 0);
  const std::string earlier = pvtest::readFile(dir + "/out.pdf");

  // A file size limit makes the save fail part-way: the larger chart does
  // not fit in two blocks. The signal is ignored so that the write reports
  // the failure instead of ending the process.
  pvtest::writeFile(dir + "/big.csv", thousandLines(1000, false));
  const Lines files = listing(dir);
  std::string out;
  int status = pvtest::runShell("cd '" + dir + "' && trap '' XFSZ && ulimit -f 2 && exec '" +
                                    std::string(PLOTVANE_BIN) +
                                    "' -chart Bar V -barcolor '#FF0000' '#0000FF' -dataset big.csv "
                                    "-output out 2>/dev/null",
                                &out);
  std::string failure = checkRun(status, out, "file size limit");
  EXPECT_EQ(status, 1);
  EXPECT_EQ(failure.rfind("MakePDF ERROR: cannot write to stream(", 0), 0u) << failure;
  EXPECT_EQ(pvtest::readFile(dir + "/out.pdf"), earlier);
  EXPECT_EQ(listing(dir), files);

  // A failure before the save (equal passwords) leaves it as well.
  Outcome o = runChecked(concat(kBasic, {"-ownerpassword", "same", "-userpassword", "same",
                                         "-output", "out"}),
                         dir, "");
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.failure.rfind("MakePDF ", 0), 0u) << o.failure;
  EXPECT_EQ(pvtest::readFile(dir + "/out.pdf"), earlier);
  EXPECT_EQ(listing(dir), files);
}

TEST(ChartFaults, LargestInputsTheLimitsAllow) {
  std::string dir = pvtest::makeTempDir();
  pvtest::writeFile(dir + "/data.csv", thousandLines(1000, false));
  // 30-character labels, with an 11-character separator.
  std::string labels;
  for (int i = 0; i < 1000; ++i) {
    std::string label = std::to_string(i);
    labels += label + std::string(30 - label.size(), 'L') + "<separator>" + std::to_string(i % 50) +
              (i < 999 ? "\n" : "");
  }
  pvtest::writeFile(dir + "/labels.csv", labels);
  // An output path of 260 characters, through folders.
  std::string path;
  while (path.size() + 20 < 260) {
    path += std::string(15, 'd') + "/";
    mkdir((dir + "/" + path).c_str(), 0755);
  }
  path += std::string(260 - path.size(), 'o');
  ASSERT_EQ(path.size(), 260u);

  std::vector<std::string> colours;
  for (int i = 0; i < 50; ++i) {
    char from[8], to[8];
    snprintf(from, sizeof from, "#%02X00%02X", i * 5, 255 - i * 5);
    snprintf(to, sizeof to, "#00%02X00", i * 5);
    colours.insert(colours.end(), {"-barcolor", from, to});
  }
  const std::string text256(256, 'T'), text100(100, 'C');
  std::vector<std::string> common = {
      "-title", text256, "-subject", std::string(256, 'S'), "-author", std::string(256, 'A'),
      "-creator", std::string(256, 'R'), "-producer", std::string(256, 'P'), "-keywords",
      std::string(256, 'K'), "-axescaptionx", "10", "Helv", "0", "0", "0", "Normal", "C", text100,
      "-axescaptiony", "10", "Helv", "0", "0", "0", "Normal", "M", text100, "-axeslabelx", "6",
      "Cour", "0", "0", "0", "Normal", "-axeslabely", "6", "Cour", "0", "0", "0", "Normal",
      "-axesdivisions", "100", "-decimalpoints", "9", "-outline", "-creationdate"};

  {
    SCOPED_TRACE("vertical, 10000-point page");
    Outcome o = runChecked(
        concat(concat({"-page", "10000", "10000", "#FFFFFF", "-chart", "Bar", "V"}, colours),
               concat(common, {"-headingtitle", "300", "Times-B", "0", "0", "0", "Normal",
                               "-barlabel", "Center", std::string(17, 'x') + "VVVV", "-dataset",
                               "data.csv", "-log", path.substr(0, 256) + ".log", "-output",
                               path})),
        dir, path + ".pdf");
    EXPECT_EQ(o.exitCode, 0) << o.failure;
  }
  {
    // One full-size page is enough: rendering it is what takes the readers'
    // time.
    SCOPED_TRACE("horizontal, 10000-point high page, 32-character passwords");
    Outcome o = runChecked(
        concat(concat({"-page", "600", "10000", "#FFFFEE", "-chart", "Bar", "H"}, colours),
               concat(common, {"-dataseparator", "<separator>", "-dataset", "labels.csv",
                               "-ownerpassword", std::string(32, 'o'), "-userpassword",
                               std::string(32, 'u'), "-print", "-copy", "-edit", "-editextra",
                               "-output", "h"})),
        dir, "h.pdf", std::string(32, 'u'));
    EXPECT_EQ(o.exitCode, 0) << o.failure;
  }
  {
    // Far more bars and heading than the page has room for.
    SCOPED_TRACE("smallest page with 1000 bars and a 300-point heading");
    Outcome o = runChecked({"-page", "100", "100", "#FFFFFF", "-chart", "Bar", "H", "-barcolor",
                            "#FF0000", "#0000FF", "-headingtitle", "300", "Helv", "0", "0", "0",
                            "Normal", "-title", "Heading", "-dataset", "data.csv", "-output",
                            "small"},
                           dir, "small.pdf");
    EXPECT_EQ(o.exitCode, 0) << o.failure;
  }
}

TEST(ChartFaults, OnePastEachLimit) {
  std::string dir = pvtest::makeTempDir();
  pvtest::writeFile(dir + "/k.csv", thousandLines(1000, false));
  pvtest::writeFile(dir + "/k1.csv", thousandLines(1001, false));
  std::vector<std::string> colours;
  for (int i = 0; i < 51; ++i) colours.insert(colours.end(), {"-barcolor", "#FF0000", "#00FF00"});
  const std::vector<std::string> chart = {"-chart", "Bar", "V", "-output", "out"};
  struct Case {
    std::vector<std::string> args;
    std::string failure;
  };
  const std::vector<Case> cases = {
      {{"-dataset", "k.csv", "-datum", "x", "1"}, "ERROR: Datum - too many"},
      {{"-dataset", "k1.csv"}, "ERROR: Dataset - too much data"},
      {colours, "ERROR: BarColor - maximum number of bar colors (50) reached"},
      {{"-title", std::string(257, 't')}, "ERROR: Title - too long"},
      {{"-subject", std::string(257, 's')}, "ERROR: Subject - too long"},
      {{"-author", std::string(257, 'a')}, "ERROR: Author - too long"},
      {{"-creator", std::string(257, 'c')}, "ERROR: Creator - too long"},
      {{"-producer", std::string(257, 'p')}, "ERROR: Producer - too long"},
      {{"-keywords", std::string(257, 'k')}, "ERROR: Keywords - too long"},
      {{"-axescaptionx", "10", "Helv", "0", "0", "0", "Normal", "C", std::string(101, 'x')},
       "ERROR: AxesCaptionX - title too long"},
      {{"-axescaptiony", "10", "Helv", "0", "0", "0", "Normal", "M", std::string(101, 'y')},
       "ERROR: AxesCaptionY - title too long"},
      {{"-datum", std::string(31, 'l'), "1"}, "ERROR: Datum - label too long"},
      {{"-axesdivisions", "101"}, "ERROR: AxesDivisions - between 1-100 inclusive"},
      {{"-axesdivisions", "0"}, "ERROR: AxesDivisions - between 1-100 inclusive"},
      {{"-page", "10001", "600", "#FFFFFF"}, "ERROR: Page - width must be between 100 and 10000 inclusive"},
      {{"-page", "800", "10001", "#FFFFFF"}, "ERROR: Page - height must be between 100 and 10000 inclusive"},
      {{"-page", "99", "600", "#FFFFFF"}, "ERROR: Page - width must be between 100 and 10000 inclusive"},
      {{"-ownerpassword", std::string(33, 'o')}, "ERROR: OwnerPassword - too long"},
      {{"-userpassword", std::string(33, 'u')}, "ERROR: UserPassword - too long"},
      {{"-output", std::string(261, 'o')}, "ERROR: Output - filename too long"},
      {{"-log", std::string(261, 'l')}, "ERROR: Log - filename too long"},
      {{"-barlabel", "Start", std::string(22, 'f')}, "ERROR: BarLabel - format too long"},
      {{"-dataseparator", std::string(12, ';')}, "ERROR: DataSeparator - too long"},
      {{"-headingtitle", "301", "Helv", "0", "0", "0", "Normal"},
       "ERROR: HeadingTitle - size must be between 1 and 300 inclusive"},
      {{"-barsize", "501"}, "ERROR: BarSize - between 1-500 inclusive"},
      {{"-barspacing", "501"}, "ERROR: BarSpacing - between 0-500 inclusive"},
      {{"-axesgridlinestyle", "101", "0", "0"}, "ERROR: AxesGridLineStyle - values between 0-100 inclusive"},
      {{"-decimalpoints", "10"}, "ERROR: DecimalPoints - between 0-9 inclusive"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failure);
    Outcome o = runChecked(concat(chart, c.args), dir, "out.pdf");
    EXPECT_EQ(o.exitCode, 1);
    EXPECT_EQ(o.failure, c.failure);
  }
}

}  // namespace
