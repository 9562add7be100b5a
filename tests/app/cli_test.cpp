// The program run as a user runs it: argv, option files, dataset files, the
// log file, standard output and error, and the exit code.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/log.h"
#include "app/settings.h"
#include "tests/app/app_test_util.h"
#include "tests/support/test_support.h"

namespace {

using Lines = std::vector<std::string>;

struct ProgramRun {
  pvtest::RunResult raw;
  Lines messages;
};

ProgramRun run(const std::vector<std::string>& args, const std::string& cwd = "") {
  ProgramRun r;
  r.raw = pvtest::runPlotvane(args, cwd.empty() ? pvtest::makeTempDir() : cwd);
  r.messages = pvtest::logMessages(r.raw.out);
  return r;
}

// A failing run: exactly the one message, then "Finished", exit code 1.
void expectFailure(const std::vector<std::string>& args, const std::string& message,
                   const std::string& cwd = "") {
  ProgramRun r = run(args, cwd);
  std::string what;
  for (const std::string& a : args) what += "[" + a.substr(0, 60) + "]";
  EXPECT_EQ(r.raw.exitCode, 1) << what;
  EXPECT_EQ(r.messages, (Lines{message, "Finished"})) << what;
  EXPECT_EQ(r.raw.err, "") << what;
}

const std::vector<std::string> kComplete = {"-chart", "Bar", "V", "-barcolor", "#FF0000",
                                            "#C00000", "-datum", "North", "12", "-output",
                                            "sales"};

TEST(Cli, EmptyCommandLineShowsTheNotice) {
  ProgramRun r = run({});
  EXPECT_EQ(r.raw.exitCode, 1);
  EXPECT_EQ(r.raw.out, "");
  EXPECT_EQ(r.raw.err,
            "Plotvane by Quorvel\n"
            "This version of the Plotvane from Quorvel is the Command Line version.\n"
            "\n"
            "For other versions of this utility please visit the web site at "
            "https://plotvane.example.org/\n");
}

TEST(Cli, RequiredSettingsInTheirOrder) {
  expectFailure({"   "}, "ERROR: No Chart Type specified");
  expectFailure({"-title", "x"}, "ERROR: No Chart Type specified");
  expectFailure({"-chart", "Bar", "V"}, "ERROR: No data specified");
  expectFailure({"-chart", "Bar", "V", "-datum", "a", "1"}, "ERROR: No PDF output file specified");
  expectFailure({"-chart", "Bar", "V", "-datum", "a", "1", "-output", "o"},
                "ERROR: No bar colors specified");
  expectFailure({"-chart", "Bar", "H", "-barcolor", "0", "0", "0", "0", "0", "0"},
                "ERROR: No data specified");
}

TEST(Cli, CompleteSettingsReachTheRendererAndFinish) {
  // The renderer decides the exit code; the front end logs no error.
  ProgramRun r = run(kComplete);
  ASSERT_FALSE(r.messages.empty());
  EXPECT_EQ(r.messages.back(), "Finished");
  for (const std::string& m : r.messages) EXPECT_EQ(m.rfind("ERROR: ", 0), std::string::npos) << m;
}

TEST(Cli, ArgumentsAreJoinedAndQuotedAsOneCommandLine) {
  // An argument with a space arrives as one quoted word.
  expectFailure({"-output", "my file", "x"}, "ERROR: No command character [x]");
  expectFailure({"-output my", "file"}, "ERROR: No command character [\"-output my\" file]");
  // An empty argument is an empty quoted word.
  expectFailure({"-title", ""}, "ERROR: Title - no string");
  // Only white space arrives as typed.
  expectFailure({"-title", "   "}, "ERROR: No Chart Type specified");
  expectFailure({"-OpenPDF", "-Open"}, "ERROR: Unknown command [Open]");
  expectFailure({"-openpdf", ";", "-bogus"}, "ERROR: No Chart Type specified");
}

TEST(Cli, AnArgumentThatCannotArriveAsTypedStopsTheRun) {
  // Otherwise the title would swallow the passwords and the permission.
  std::string dir = pvtest::makeTempDir();
  std::vector<std::string> args = kComplete;
  for (const char* a : {"-title", "\"Q3", "-ownerpassword", "own", "-userpassword", "usr", "-print"})
    args.push_back(a);
  expectFailure(args, "ERROR: Argument 13 - begins with a double quote but is not one quoted word", dir);
  EXPECT_FALSE(pvtest::fileExists(dir + "/sales.pdf"));
}

TEST(Cli, EveryKindOfBadInputEndsInOneError) {
  std::string huge(100000, 'z');
  std::string binary;
  for (int c = 1; c < 256; ++c) binary += static_cast<char>(c);
  expectFailure({"-title", huge}, "ERROR: Title - too long");
  expectFailure({"-" + huge}, "ERROR: Unknown command [" + std::string(200, 'z') + "]");
  expectFailure({huge}, "ERROR: No command character [" + std::string(200, 'z') + "]");
  expectFailure({"-page", "99999999999999999999", "1", "#"},
                "ERROR: Page - width must be between 100 and 10000 inclusive");
  expectFailure({"-title", "\"unterminated", "-chart"},
                "ERROR: Argument 2 - begins with a double quote but is not one quoted word");
  ProgramRun r = run({"-title", binary});
  EXPECT_EQ(r.raw.exitCode, 1);
  ASSERT_FALSE(r.messages.empty());
  EXPECT_EQ(r.messages.back(), "Finished");
}

class OptionFiles : public ::testing::Test {
 protected:
  std::string dir = pvtest::makeTempDir();
  std::string file(const std::string& name, const std::string& content) {
    std::string path = dir + "/" + name;
    pvtest::writeFile(path, content);
    return path;
  }
};

TEST_F(OptionFiles, LinesCommentsAndLineBreaks) {
  file("opts.txt",
       "; a comment line\r\n"
       "   \r\n"
       "\n"
       "-chart Bar V -barcolor #FF0000 #00FF00 ; rest is a comment -bogus\r\n"
       "\t-datum \"North East\" 12\r\n"
       "-datum South 7\n"
       "-title \"Quarter sales\"\n"
       "-output out");
  ProgramRun r = run({"-options", "opts.txt"}, dir);
  ASSERT_FALSE(r.messages.empty());
  EXPECT_EQ(r.messages.back(), "Finished");
  for (const std::string& m : r.messages) EXPECT_EQ(m.rfind("ERROR: ", 0), std::string::npos) << m;
}

TEST_F(OptionFiles, LoneCarriageReturnsEndLines) {
  // Read as one line, the title would swallow the commands after it.
  std::string path = file("mac.txt", "-chart Bar V\r-title Q3\r-datum North 12\r-datum South 7\r");
  apptest::Outcome o = apptest::interpret("-options " + path);
  EXPECT_EQ(o.result, 0);
  EXPECT_TRUE(o.messages.empty());
  EXPECT_STREQ(chartSettings.title, "Q3");
  EXPECT_EQ(chartSettings.dataCount, 2);
}

TEST_F(OptionFiles, Failures) {
  file("nocmd.txt", "-title ok\n   output x ; y\n-title never\n");
  expectFailure({"-options", "nocmd.txt"}, "ERROR: No command character [output x ; y]", dir);
  expectFailure({"-options", "missing.txt"}, "ERROR: Options - could not open [missing.txt], error=2",
                dir);
  expectFailure({"-options"}, "ERROR: Options - no filename", dir);
  expectFailure({"-options", std::string(261, 'f')}, "ERROR: Options - filename too long", dir);
  // A command name split at the 499th character is two lines.
  file("long.txt", std::string(495, ' ') + "-title X\n");
  expectFailure({"-options", "long.txt"}, "ERROR: Unknown command [tit]", dir);
  // The 499 characters of a piece include the line break.
  file("exact.txt", std::string(490, ' ') + "-openpdf\n-title\n");
  expectFailure({"-options", "exact.txt"}, "ERROR: Title - no string", dir);
}

TEST_F(OptionFiles, NestedFilesRunInPlace) {
  file("inner.txt", "-datum Inner 5\n");
  file("outer.txt", "-chart Bar V -options inner.txt -datum After bad\n");
  // The inner file ran before the rest of the including line.
  expectFailure({"-options", "outer.txt"}, "ERROR: Datum - no value", dir);
  file("outer2.txt", "-options inner.txt\n");
  expectFailure({"-options", "outer2.txt"}, "ERROR: Datum - Type and/or Style not specified", dir);
}

TEST_F(OptionFiles, SelfInclusionStopsAtTheNestingLimit) {
  std::string self = file("self.txt", "-options self.txt\n");
  expectFailure({"-options", "self.txt"}, "ERROR: Options - nesting too deep [self.txt]", dir);
  file("a.txt", "-options b.txt\n");
  file("b.txt", "-options a.txt\n");
  expectFailure({"-options", "a.txt"}, "ERROR: Options - nesting too deep [a.txt]", dir);
  // 32 levels are allowed.
  for (int i = 1; i < 32; ++i)
    file("n" + std::to_string(i) + ".txt", "-options n" + std::to_string(i + 1) + ".txt\n");
  file("n32.txt", "-title deep\n");
  expectFailure({"-options", "n1.txt"}, "ERROR: No Chart Type specified", dir);
  file("n32.txt", "-options n33.txt\n");
  file("n33.txt", "-title deeper\n");
  expectFailure({"-options", "n1.txt"}, "ERROR: Options - nesting too deep [n33.txt]", dir);
}

TEST_F(OptionFiles, BinaryContentDoesNotCrash) {
  std::string bytes;
  for (int i = 0; i < 3000; ++i) bytes += static_cast<char>((i * 131 + 7) % 256);
  file("bin.txt", std::string("-title a\0b\n", 11) + bytes);
  ProgramRun r = run({"-options", "bin.txt"}, dir);
  EXPECT_EQ(r.raw.exitCode, 1);
  ASSERT_FALSE(r.messages.empty());
  EXPECT_EQ(r.messages.back(), "Finished");
  // The NUL ended the first line: "-title a" then the rest of the file.
}

class Datasets : public OptionFiles {};

TEST_F(Datasets, ThroughTheCommandLine) {
  file("d.csv", "a,1\r\n\r\nb\r\n");
  expectFailure({"-chart", "Bar", "V", "-dataset", "d.csv"},
                "ERROR: no value on line 3 of dataset [d.csv]", dir);
  expectFailure({"-dataset", "d.csv"}, "ERROR: Dataset - Type and/or Style not specified", dir);
  expectFailure({"-chart", "Bar", "V", "-dataset", "none.csv"},
                "ERROR: Dataset - could not open [none.csv], error=2", dir);
  std::string thousand;
  for (int i = 0; i < 1000; ++i) thousand += "x," + std::to_string(i) + "\r\n";
  file("k.csv", thousand + "one,more\r\n");
  expectFailure({"-chart", "Bar", "V", "-dataset", "k.csv"}, "ERROR: Dataset - too much data", dir);
  file("k.csv", thousand);
  expectFailure({"-chart", "Bar", "V", "-dataset", "k.csv", "-output", "o"},
                "ERROR: No bar colors specified", dir);
}

TEST_F(OptionFiles, LogFileReceivesEveryLineAfterTheLogCommand) {
  file("run.log", "earlier contents\n");
  ProgramRun r = run({"-title", "t", "-log", "run.log", "-chart", "Bar", "V"}, dir);
  EXPECT_EQ(r.raw.exitCode, 1);
  EXPECT_EQ(r.messages,
            (Lines{"Plotvane v1.00 Started", "ERROR: No data specified", "Finished"}));
  Lines logged = pvtest::logMessages(pvtest::readFile(dir + "/run.log").substr(17));
  EXPECT_EQ(logged, (Lines{"Plotvane v1.00 Started", "ERROR: No data specified", "Finished"}));
  EXPECT_EQ(pvtest::readFile(dir + "/run.log").substr(0, 17), "earlier contents\n");
  // Every log file line equals its standard-output line, time stamp included.
  EXPECT_EQ(pvtest::readFile(dir + "/run.log").substr(17), r.raw.out);

  r = run({"-log", "first.log", "-title", "x", "-log", "second.log", "-bogus"}, dir);
  EXPECT_EQ(pvtest::logMessages(pvtest::readFile(dir + "/first.log")),
            (Lines{"Plotvane v1.00 Started"}));
  EXPECT_EQ(pvtest::logMessages(pvtest::readFile(dir + "/second.log")),
            (Lines{"Plotvane v1.00 Started", "ERROR: Unknown command [bogus]", "Finished"}));
}

TEST_F(OptionFiles, LogFileThatCannotBeOpenedDoesNotStopTheRun) {
  ProgramRun r = run({"-log", "no/such/folder/x.log", "-title", "t"}, dir);
  EXPECT_EQ(r.raw.exitCode, 1);
  EXPECT_EQ(r.messages,
            (Lines{"Plotvane v1.00 Started", "ERROR: No Chart Type specified", "Finished"}));
}

TEST_F(OptionFiles, TooLongLogNameCreatesNoFile) {
  // The error goes to the log file already in use, not to a file named by
  // the too-long marker.
  ProgramRun r = run({"-log", "keep.log", "-log", std::string(261, 'l')}, dir);
  const Lines expected{"Plotvane v1.00 Started", "ERROR: Log - filename too long", "Finished"};
  EXPECT_EQ(r.messages, expected);
  EXPECT_EQ(pvtest::logMessages(pvtest::readFile(dir + "/keep.log")), expected);
  EXPECT_FALSE(pvtest::fileExists(dir + "/\x01"));
}

TEST(LogLine, MessageIsCutAt1023Characters) {
  resetChartSettings();
  std::string longText(3000, 'm');
  testing::internal::CaptureStdout();
  logLine("%s", longText.c_str());
  logLine("%d-%s-%.3s", 42, "x", "abcdef");
  std::string out = testing::internal::GetCapturedStdout();
  Lines lines = pvtest::logMessages(out);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], std::string(1023, 'm'));
  EXPECT_EQ(lines[1], "42-x-abc");
}

}  // namespace
