// The program in pipelines: "-" for standard input and output, --help and
// --version, run through a real shell pipe as scripts run it.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "app/commands.h"
#include "app/standard_streams.h"
#include "tests/support/test_support.h"

namespace {

using Lines = std::vector<std::string>;

const std::string kBin = PLOTVANE_BIN;
const std::string kChart = "-chart Bar V -barcolor \"#FF0000\" \"#0000FF\" ";

struct PipeRun {
  int exitCode = -1;
  std::string out, err;
};

// Runs "cat input | plotvane ARGS" in dir with standard output and error in
// files; args is shell text.
PipeRun pipeRun(const std::string& dir, const std::string& input, const std::string& args) {
  pvtest::writeFile(dir + "/stdin", input);
  std::string rc;
  pvtest::runShell("cd '" + dir + "' && cat stdin | '" + kBin + "' " + args +
                       " >stdout 2>stderr; echo $?",
                   &rc);
  PipeRun r;
  r.exitCode = std::stoi(rc);
  r.out = pvtest::readFile(dir + "/stdout");
  r.err = pvtest::readFile(dir + "/stderr");
  return r;
}

std::string squares(int count, const char* lineEnd) {
  std::string text;
  for (int i = 1; i <= count; ++i)
    text += "M" + std::to_string(i) + "," + std::to_string(i * i) + lineEnd;
  return text;
}

TEST(Pipeline, PipedDataAndOptionsGiveTheSameFileAsFilesDo) {
  // Same bytes as from a file: nothing lost, reordered or split differently.
  std::string dir = pvtest::makeTempDir();
  std::string data = squares(12, "\r\n");
  pvtest::writeFile(dir + "/data.csv", data);
  std::string options = "-chart Bar V -barcolor #FF0000 #0000FF\n-dataset data.csv\n";
  pvtest::writeFile(dir + "/chart.opt", options);
  std::string table = "Month,Rain,\"Snow, in cm\"\nJan,3,1\nFeb,,2\n";
  pvtest::writeFile(dir + "/table.csv", table);
  struct Case {
    std::string fileArgs, input, pipeArgs;
  } cases[] = {
      {kChart + "-dataset data.csv", data, kChart + "-dataset - -output piped"},
      {"-options chart.opt", options, "-options - -output piped"},
      {"-options chart.opt -dataset data.csv", data, "-options chart.opt -output - -dataset -"},
      {kChart + "-table table.csv", table, kChart + "-table - -output -"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(pipeRun(dir, "", c.fileArgs + " -output fromfile").exitCode, 0) << c.fileArgs;
    std::string expected = pvtest::readFile(dir + "/fromfile.pdf");
    PipeRun r = pipeRun(dir, c.input, c.pipeArgs);
    EXPECT_EQ(r.exitCode, 0) << c.pipeArgs << r.out << r.err;
    bool toFile = c.pipeArgs.find("-output -") == std::string::npos;
    EXPECT_EQ(toFile ? pvtest::readFile(dir + "/piped.pdf") : r.out, expected) << c.pipeArgs;
  }
}

TEST(Pipeline, StandardInputIsReadFromWhereAnEarlierReaderLeftIt) {
  // The shell's read takes the first line and leaves the file's offset after
  // it; the dataset must start there, not at the file's start.
  std::string dir = pvtest::makeTempDir();
  std::string data = squares(12, "\n");
  pvtest::writeFile(dir + "/all.csv", data);
  pvtest::writeFile(dir + "/rest.csv", data.substr(data.find('\n') + 1));
  std::string chart = "-chart Bar V -barcolor '#FF0000' '#0000FF' ";
  std::string out;
  ASSERT_EQ(pvtest::runShell("cd '" + dir + "' && '" + kBin + "' " + chart +
                                 "-dataset rest.csv -output rest >/dev/null && "
                                 "{ read -r first; '" + kBin + "' " + chart +
                                 "-dataset - -output - >piped.pdf; } <all.csv",
                             &out),
            0)
      << out;
  EXPECT_EQ(pvtest::readFile(dir + "/piped.pdf"), pvtest::readFile(dir + "/rest.pdf"));
}

TEST(Pipeline, PdfOnStandardOutputAndTheLogOnStandardError) {
  std::string dir = pvtest::makeTempDir();
  PipeRun r = pipeRun(dir, squares(12, "\n"), kChart + "-dataset - -log run.log -output -");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  pvtest::writeFile(dir + "/out.pdf", r.out);
  EXPECT_EQ(pvtest::checkWithReaders(dir + "/out.pdf"), "");
  EXPECT_EQ(r.out.compare(r.out.size() - 7, 7, "%%EOF\r\n"), 0);
  Lines log = {"Plotvane v1.00 Started", "Creating PDF structure in memory...",
               "Saving PDF to [standard output]...", "...success", "Finished"};
  EXPECT_EQ(pvtest::logMessages(r.err), log);
  EXPECT_EQ(pvtest::logMessages(pvtest::readFile(dir + "/run.log")), log);
  // No ".pdf" rule, and no file called "-".
  EXPECT_FALSE(pvtest::fileExists(dir + "/-"));
  EXPECT_FALSE(pvtest::fileExists(dir + "/-.pdf"));
}

TEST(Pipeline, FailedRunsLeaveStandardOutputEmpty) {
  std::string dir = pvtest::makeTempDir();
  pvtest::writeFile(dir + "/late.opt", "-output -\n-title\n");
  struct Case {
    std::string input, args;
    Lines log;
  } cases[] = {
      // The failing dataset comes before "-output -" is read.
      {"a,1\nb,x\n", kChart + "-dataset - -output -", {"ERROR: invalid value on line 2 of dataset [-]"}},
      {squares(1001, "\n"), kChart + "-dataset - -output -", {"ERROR: Dataset - too much data"}},
      {"-dataset -\n", kChart + "-options - -output -",
       {"ERROR: Dataset - standard input can be read only once"}},
      {"", kChart + "-dataset - -options - -output -",
       {"ERROR: Options - standard input can be read only once"}},
      {"a,1\n", kChart + "-dataset - -ownerpassword x -userpassword x -output -",
       {"Creating PDF structure in memory...",
        "MakePDF ERROR: PdfEncrypt::SetPassword -- user and owner password must be diiferent."}},
      // Given in an option file: the held error line follows on standard error.
      {"", "-options late.opt", {"ERROR: Title - no string"}},
      // An argument refused before any command is read.
      {"", kChart + "-title 'a \"b c' -output -",
       {"ERROR: Argument 8 - a double quote cannot stand in an argument with blanks"}},
  };
  for (const Case& c : cases) {
    PipeRun r = pipeRun(dir, c.input, c.args);
    EXPECT_EQ(r.exitCode, 1) << c.args;
    EXPECT_EQ(r.out, "") << c.args;
    Lines log = c.log;
    log.push_back("Finished");
    EXPECT_EQ(pvtest::logMessages(r.err), log) << c.args;
  }
}

TEST(Pipeline, StandardOutputThatIsATerminalIsRefused) {
  // The program's standard output is a fresh pseudo-terminal.
  std::string script =
      "import os, pty, subprocess, sys\n"
      "m, s = pty.openpty()\n"
      "p = subprocess.run(sys.argv[1:], stdout=s, stderr=subprocess.PIPE, stdin=subprocess.DEVNULL)\n"
      "os.close(s)\n"
      "sys.stdout.write('%d\\n%s' % (p.returncode, p.stderr.decode()))\n";
  std::string dir = pvtest::makeTempDir();
  pvtest::writeFile(dir + "/on_terminal.py", script);
  std::string out;
  ASSERT_EQ(pvtest::runShell("cd '" + dir + "' && python3 on_terminal.py '" + kBin +
                                 "' -chart Bar V -barcolor '#FF0000' '#0000FF' -datum a 1 -output -",
                             &out),
            0);
  ASSERT_EQ(out.substr(0, 2), "1\n") << out;
  EXPECT_EQ(pvtest::logMessages(out.substr(2)),
            (Lines{"ERROR: Output - standard output is a terminal", "Finished"}));
}

TEST(Pipeline, AReaderThatGoesAwayIsAFailedWrite) {
  // Standard output is a pipe whose reading end is already closed.
  std::string script =
      "import os, subprocess, sys\n"
      "r, w = os.pipe()\n"
      "os.close(r)\n"
      "p = subprocess.run(sys.argv[1:], stdout=w, stderr=subprocess.PIPE, stdin=subprocess.DEVNULL)\n"
      "sys.stdout.write('%d\\n%s' % (p.returncode, p.stderr.decode()))\n";
  std::string dir = pvtest::makeTempDir();
  pvtest::writeFile(dir + "/gone.py", script);
  std::string out;
  ASSERT_EQ(pvtest::runShell("cd '" + dir + "' && python3 gone.py '" + kBin +
                                 "' -chart Bar V -barcolor '#FF0000' '#0000FF' -datum a 1 -output -",
                             &out),
            0);
  ASSERT_EQ(out.substr(0, 2), "1\n") << out;
  Lines log = pvtest::logMessages(out.substr(2));
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[log.size() - 2], "MakePDF ERROR: cannot write to stream(32).");
}

TEST(Pipeline, OutputNamedOnTheCommandLine) {
  struct Case {
    const char* line;
    bool named;
  } cases[] = {
      {"-output -", true},          {"-chart Bar V -OutPut\t-", true},
      {"-output \"-\" -openpdf", true}, {"-output -x", false},
      {"-output", false},           {"-outputs -", false},
      {"-title \"-output -\"", false}, {"-output x -output -", true},
  };
  for (const Case& c : cases) EXPECT_EQ(commandLineWritesToStandardOutput(c.line), c.named) << c.line;
}

TEST(Pipeline, HelpAndVersion) {
  pvtest::RunResult help = pvtest::runPlotvane({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.err, "");
  int count = 0;
  const CommandInfo* table = commandTable(&count);
  for (int i = 0; i < count; ++i) {
    std::string name = std::string("-") + table[i].name;
    std::string synopsis = table[i].synopsis;
    // The name as a word of its own, with its arguments after it.
    size_t at = help.out.find(name + (synopsis.empty() ? "\n" : " "));
    if (at == std::string::npos) at = help.out.find(name + ",");
    EXPECT_NE(at, std::string::npos) << name;
    if (!synopsis.empty() && at != std::string::npos) {
      EXPECT_NE(help.out.find(synopsis + "\n", at), std::string::npos) << name;
    }
  }
  EXPECT_NE(help.out.find("man plotvane"), std::string::npos);

  pvtest::RunResult version = pvtest::runPlotvane({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("plotvane 1.00\nzlib " + std::string(zlibVersion()) + "\n", 0), 0u)
      << version.out;

  // Only alone; otherwise they are commands as before.
  pvtest::RunResult extra = pvtest::runPlotvane({"--help", "-x"});
  EXPECT_EQ(extra.exitCode, 1);
  EXPECT_EQ(pvtest::logMessages(extra.out), (Lines{"ERROR: Unknown command [-help]", "Finished"}));

  // A usage text that cannot be written is a failure.
  std::string out;
  EXPECT_EQ(pvtest::runShell("'" + kBin + "' --help >/dev/full; echo $?", &out), 0);
  EXPECT_EQ(out, "1\n");
}

}  // namespace
