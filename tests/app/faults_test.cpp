// Bad option, dataset and log files, run as a user would: whatever the file
// holds or however it fails, the run ends with exit code 0 or 1, one error
// line at most, "Finished", and a PDF only when the readers accept it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace {

using Lines = std::vector<std::string>;

std::vector<std::string> words(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream s(text);
  std::string w;
  while (s >> w) out.push_back(w);
  return out;
}

bool isFailureLine(const std::string& m) {
  return m.rfind("ERROR: ", 0) == 0 || m.rfind("MakePDF ", 0) == 0;
}

// Runs the program in dir and checks what must hold for every input. When
// pdfName is given, the file of that name must be a PDF the readers accept
// after a success and must not exist after a failure.
Lines runChecked(const std::vector<std::string>& args, const std::string& dir,
                 const std::string& pdfName, int* exitCode = nullptr) {
  pvtest::RunResult r = pvtest::runPlotvane(args, dir);
  Lines messages = pvtest::logMessages(r.out);
  std::string what;
  for (const std::string& a : args) what += "[" + a.substr(0, 60) + "]";
  EXPECT_TRUE(r.exitCode == 0 || r.exitCode == 1) << what << " exit " << r.exitCode;
  EXPECT_EQ(r.err, "") << what;
  EXPECT_FALSE(messages.empty()) << what;
  if (!messages.empty()) {
    EXPECT_EQ(messages.back(), "Finished") << what;
  }
  int failures = 0;
  for (const std::string& m : messages) failures += isFailureLine(m) ? 1 : 0;
  EXPECT_EQ(failures, r.exitCode == 0 ? 0 : 1) << what << "\n" << r.out;
  if (!pdfName.empty()) {
    std::string path = dir + "/" + pdfName;
    if (r.exitCode == 0) {
      EXPECT_EQ(pvtest::checkWithReaders(path), "") << what;
    } else {
      EXPECT_FALSE(pvtest::fileExists(path)) << what;
    }
  }
  if (exitCode) *exitCode = r.exitCode;
  return messages;
}

// The one failure line of a failed run, or "" after a success.
std::string failureOf(const Lines& messages) {
  for (const std::string& m : messages)
    if (isFailureLine(m)) return m;
  return "";
}

const char kChartLines[] = "-chart Bar V\n-barcolor #FF0000 #0000FF\n";

class FaultFiles : public ::testing::Test {
 protected:
  std::string dir = pvtest::makeTempDir();
  void file(const std::string& name, const std::string& content) {
    pvtest::writeFile(dir + "/" + name, content);
  }
};

TEST_F(FaultFiles, OptionAndDatasetFilesThatCannotBeOpenedOrRead) {
  file("plain.txt", "-title x\n");
  mkdir((dir + "/folder").c_str(), 0755);
  file("locked.txt", "-title x\n");
  chmod((dir + "/locked.txt").c_str(), 0);
  struct Case {
    std::string path;
    int error;
  };
  std::vector<Case> cases = {{"missing.txt", 2}, {"folder", 21}, {"plain.txt/x", 20}};
  // Permission bits do not stop root.
  if (geteuid() != 0) cases.push_back({"locked.txt", 13});
  // A file that opens but whose reading fails (the start of the program's own
  // address space is not mapped): a read error, not an empty file.
  if (pvtest::fileExists("/proc/self/mem")) cases.push_back({"/proc/self/mem", 5});
  for (const Case& c : cases) {
    std::string code = "], error=" + std::to_string(c.error);
    EXPECT_EQ(failureOf(runChecked({"-options", c.path}, dir, "")),
              "ERROR: Options - could not open [" + c.path + code);
    EXPECT_EQ(failureOf(runChecked({"-chart", "Bar", "V", "-dataset", c.path}, dir, "")),
              "ERROR: Dataset - could not open [" + c.path + code);
  }
}

TEST_F(FaultFiles, OptionFileContents) {
  std::string binary;
  for (int i = 0; i < 5000; ++i) binary += static_cast<char>(1 + (i * 37 + 11) % 255);
  std::string rest = "-datum a 1\n-output out\n";
  struct Case {
    const char* what;
    std::string content;
    std::string failure;  // "" for a run that writes out.pdf
  };
  const std::vector<Case> cases = {
      {"no final line break", kChartLines + std::string("-datum a 1\n-output out"), ""},
      {"CR LF line ends", "-chart Bar V\r\n-barcolor #FF0000 #0000FF\r\n-datum a 1\r\n-output out", ""},
      // A lone CR ends a line: three commands, and only the data are missing.
      {"lone CR line ends", "-title x\r-chart Bar V\r-output out", "ERROR: No data specified"},
      {"NUL bytes end the line's text", std::string("-chart Bar V\0 -bogus\n", 21) +
                                             "-barcolor #FF0000 #0000FF\n" + rest, ""},
      {"blank line of thousands of characters", std::string(3000, ' ') + "\n" + kChartLines + rest, ""},
      {"command after thousands of blanks", std::string(3000, ' ') + "-chart Bar V\n-barcolor #FF0000 #0000FF\n" + rest, ""},
      // Each 499-character piece of a long line is a line of its own.
      {"long title line", "-title " + std::string(4000, 't') + "\n", "ERROR: Title - too long"},
      {"long comment line", "; " + std::string(4000, 'c') + "\n",
       "ERROR: No command character [" + std::string(200, 'c') + "]"},
      {"binary", binary, ""},
      // The mark that Windows editors write is skipped, not read as a line.
      {"byte order mark", "\xEF\xBB\xBF-chart Bar V\n", "ERROR: No data specified"},
      {"empty file", "", "ERROR: No Chart Type specified"},
      // The 33rd file of the loop opts, loop2, loop3, opts ... is loop3.
      {"loop of three files", "-options loop2.txt\n", "ERROR: Options - nesting too deep [loop3.txt]"},
  };
  file("loop2.txt", "-options loop3.txt\n");
  file("loop3.txt", "-options opts.txt\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    unlink((dir + "/out.pdf").c_str());
    file("opts.txt", c.content);
    int exitCode = -1;
    Lines messages = runChecked({"-options", "opts.txt"}, dir, "out.pdf", &exitCode);
    if (std::string(c.what) == "binary") {
      EXPECT_EQ(exitCode, 1);
      continue;
    }
    EXPECT_EQ(failureOf(messages), c.failure);
    EXPECT_EQ(exitCode, c.failure.empty() ? 0 : 1);
  }
}

TEST_F(FaultFiles, DatasetContents) {
  std::string binary;
  for (int i = 0; i < 5000; ++i) binary += static_cast<char>((i * 53 + 5) % 256);
  struct Case {
    const char* what;
    std::string content;
    std::string failure;  // "" for a run that writes out.pdf
  };
  const std::vector<Case> cases = {
      {"no final line break", "a,1\nb,2", ""},
      {"CR LF line ends", "a,1\r\nb,2\r\n", ""},
      {"lone CR line ends", "a,1\rb,2\rc,3", ""},
      {"NUL bytes", std::string("a,1\n\0hidden\nb,2\0,x\n", 20), ""},
      {"label of 40 characters", std::string(40, 'l') + ",3\n", ""},
      // Each 198-character piece of a long line is a line of its own.
      {"line of thousands of characters", std::string(5000, 'l') + ",5\n",
       "ERROR: no value on line 1 of dataset [d.csv]"},
      {"value of thousands of characters", "a," + std::string(5000, '7') + "\n",
       "ERROR: invalid value on line 1 of dataset [d.csv]"},
      {"binary", binary, "?"},
      {"empty file", "", "ERROR: No data specified"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    unlink((dir + "/out.pdf").c_str());
    file("d.csv", c.content);
    int exitCode = -1;
    Lines messages = runChecked(words("-chart Bar V -barcolor #FF0000 #0000FF -dataset d.csv -output out"),
                                dir, "out.pdf", &exitCode);
    if (c.failure == "?") continue;  // only what holds for every input
    EXPECT_EQ(failureOf(messages), c.failure);
    EXPECT_EQ(exitCode, c.failure.empty() ? 0 : 1);
  }
}

TEST_F(FaultFiles, LogFileThatCannotBeOpenedDoesNotStopTheChart) {
  mkdir((dir + "/folder").c_str(), 0755);
  for (const char* log : {"no/such/folder/run.log", "folder", "."}) {
    SCOPED_TRACE(log);
    unlink((dir + "/out.pdf").c_str());
    int exitCode = -1;
    Lines messages = runChecked(
        {"-log", log, "-chart", "Bar", "V", "-barcolor", "#FF0000", "#0000FF", "-datum", "a", "1",
         "-output", "out"},
        dir, "out.pdf", &exitCode);
    EXPECT_EQ(exitCode, 0);
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.front(), "Plotvane v1.00 Started");
  }
}

}  // namespace
