// How a run meets signals, closed outputs and resource limits.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <set>
#include <string>
#include <vector>

#include "app/platform.h"
#include "pdf/pdf_doc.h"
#include "pdf/pdf_objects.h"
#include "pdf/pdf_xref.h"
#include "tests/support/test_support.h"

namespace {

// An object whose writing is interrupted by a signal, once the temporary
// file of the save is there to be cleaned up.
class SignalWhileWritten : public PdfObject {
 public:
  SignalWhileWritten(const std::string& dir, int sig) : dir_(dir), sig_(sig) {}
  void WriteValueToStream(PdfStreamBase*, PdfEncryptor*) override {
    bool temporary = false;
    for (const auto& name : pvtest::dirEntries(dir_)) temporary |= name.rfind(".plotvane-", 0) == 0;
    if (!temporary) _exit(3);
    raise(sig_);
    _exit(4);  // the signal did not end the process
  }

 private:
  std::string dir_;
  int sig_;
};

TEST(ProcessTest, TerminatingSignalRemovesTheTemporaryFile) {
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(strsignal(sig));
    std::string dir = pvtest::makeTempDir();
    std::string path = dir + "/out.pdf";
    pvtest::writeFile(path, "an earlier chart");
    pid_t pid = fork();
    if (pid == 0) {
      prepareProcess();
      PdfDoc doc;
      doc.CreateDocument();
      doc.GetXref()->AddObject(new SignalWhileWritten(dir, sig));
      try {
        doc.WriteToFile(path.c_str());
      } catch (...) {
      }
      _exit(5);
    }
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit code " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), sig);
    EXPECT_EQ(pvtest::dirEntries(dir), std::set<std::string>({"out.pdf"}));
    EXPECT_EQ(pvtest::readFile(path), "an earlier chart");
  }
}

enum class Stdout { Closed, ReaderGone, Null };

// Runs the program with standard output as given and, when limit > 0, a
// file-size limit of that many bytes. Returns the exit code, -1 on a signal.
int RunProgram(const std::vector<std::string>& args, Stdout out, rlim_t limit) {
  int pipeEnds[2] = {-1, -1};
  if (out == Stdout::ReaderGone && pipe(pipeEnds) != 0) return -2;
  pid_t pid = fork();
  if (pid == 0) {
    if (out == Stdout::Closed) close(1);
    if (out == Stdout::ReaderGone) {
      close(pipeEnds[0]);
      dup2(pipeEnds[1], 1);
    }
    if (out == Stdout::Null) {
      int null = open("/dev/null", O_WRONLY);
      dup2(null, 1);
    }
    if (limit > 0) {
      struct rlimit rl = {limit, limit};
      setrlimit(RLIMIT_FSIZE, &rl);
    }
    std::vector<char*> argv{const_cast<char*>(PLOTVANE_BIN)};
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(PLOTVANE_BIN, argv.data());
    _exit(127);
  }
  if (out == Stdout::ReaderGone) {
    close(pipeEnds[0]);
    close(pipeEnds[1]);
  }
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -2;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(ProcessTest, BrokenOutputsAndLimitsEndInAnOrdinaryResult) {
  struct Case {
    const char* what;
    Stdout out;
    rlim_t limit;
    int exitCode;
    const char* saveLine;
  };
  const Case cases[] = {
      {"closed standard output", Stdout::Closed, 0, 0, "...success"},
      {"standard output whose reader has gone", Stdout::ReaderGone, 0, 0, "...success"},
      // The chart is larger than the limit; the log stays below it.
      {"file-size limit", Stdout::Null, 600, 1, "MakePDF ERROR: cannot write to stream(27)."},
  };
  const std::vector<std::string> chart = {"-chart", "Bar",   "V",    "-barcolor", "#FF0000", "#C00000",
                                          "-datum", "North", "12",   "-datum",    "South",   "7"};
  std::string reference = pvtest::makeTempDir() + "/reference.pdf";
  std::vector<std::string> args = chart;
  args.insert(args.end(), {"-output", reference});
  ASSERT_EQ(pvtest::runPlotvane(args).exitCode, 0);
  const std::string expected = pvtest::readFile(reference);
  ASSERT_GT(expected.size(), 600u);

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string dir = pvtest::makeTempDir();
    args = chart;
    args.insert(args.end(), {"-log", dir + "/run.log", "-output", dir + "/chart.pdf"});
    EXPECT_EQ(RunProgram(args, c.out, c.limit), c.exitCode);
    auto log = pvtest::logMessages(pvtest::readFile(dir + "/run.log"));
    EXPECT_EQ(log, std::vector<std::string>({"Plotvane v1.00 Started", "Creating PDF structure in memory...",
                                             "Saving PDF to [" + dir + "/chart.pdf]...", c.saveLine, "Finished"}));
    if (c.exitCode == 0) {
      EXPECT_EQ(pvtest::readFile(dir + "/chart.pdf"), expected);
      EXPECT_EQ(pvtest::dirEntries(dir), std::set<std::string>({"chart.pdf", "run.log"}));
    } else {
      EXPECT_EQ(pvtest::dirEntries(dir), std::set<std::string>({"run.log"}));
    }
  }
}

// The signals the run ignores for its own writes are back at their defaults
// in the viewer's opener and whatever it starts.
TEST(ProcessTest, ViewerOpenerGetsDefaultSignals) {
  std::string bin = pvtest::makeTempDir();
  for (const char* opener : {"/xdg-open", "/open"}) {
    pvtest::writeFile(bin + opener,
                      "#!/bin/sh\nwhile read k v; do [ \"$k\" = SigIgn: ] && m=$v; done < /proc/$$/status\n"
                      "echo \"$m\" > \"${0%/*}/ignored\"\n");
    chmod((bin + opener).c_str(), 0755);
  }
  std::string dir = pvtest::makeTempDir();
  auto run = pvtest::runPlotvane({"-chart", "Bar", "V", "-barcolor", "#FF0000", "#C00000", "-datum", "North", "12",
                                  "-output", "chart", "-openpdf"},
                                 dir, {"PATH=" + bin});
  ASSERT_EQ(run.exitCode, 0) << run.out;
  // The opener is not waited for once it has started; its line is complete
  // once it ends in a line break.
  std::string ignored;
  for (int waited = 0; waited < 5000 && (ignored.empty() || ignored.back() != '\n'); waited += 10) {
    usleep(10000);
    if (pvtest::fileExists(bin + "/ignored")) ignored = pvtest::readFile(bin + "/ignored");
  }
  ASSERT_FALSE(ignored.empty()) << run.out;
  unsigned long long mask = std::stoull(ignored, nullptr, 16);
  EXPECT_EQ(mask & (1ull << (SIGPIPE - 1)), 0u) << ignored;
  EXPECT_EQ(mask & (1ull << (SIGXFSZ - 1)), 0u) << ignored;
}

}  // namespace
