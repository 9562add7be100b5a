// Every bundled example runs as its README says (from the examples folder)
// and writes a PDF the independent readers accept.
#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "tests/chart/chart_test_util.h"

namespace {

using namespace charttest;

std::vector<std::string> exampleNames() {
  std::vector<std::string> names;
  std::string dir = pvtest::sourceDir() + "/examples";
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string n = e->d_name;
      if (n.size() > 4 && n.compare(n.size() - 4, 4, ".opt") == 0) names.push_back(n.substr(0, n.size() - 4));
    }
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Examples, EveryExampleMakesAReadablePdf) {
  std::vector<std::string> names = exampleNames();
  ASSERT_GE(names.size(), 15u);
  const std::string readme = pvtest::readFile(pvtest::sourceDir() + "/examples/README.md");
  const std::string copy = pvtest::makeTempDir();
  std::string out;
  ASSERT_EQ(pvtest::runShell("cp -R '" + pvtest::sourceDir() + "/examples' '" + copy + "/'", &out), 0) << out;
  const std::string dir = copy + "/examples";

  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    EXPECT_NE(readme.find(name + ".opt"), std::string::npos) << "examples/README.md lists every example";
    const std::string options = pvtest::readFile(dir + "/" + name + ".opt");
    pvtest::RunResult r = pvtest::runPlotvane({"-options", name + ".opt"}, dir);
    ASSERT_EQ(r.exitCode, 0) << r.out;
    std::vector<std::string> log = pvtest::logMessages(r.out);
    ASSERT_GE(log.size(), 4u) << r.out;
    EXPECT_EQ(log.back(), "Finished");
    // The output name is relative: the PDF lands in the folder of the run.
    std::smatch m;
    std::string saving = log[log.size() - 3];
    ASSERT_TRUE(std::regex_match(saving, m, std::regex("Saving PDF to \\[([^/\\]]+\\.pdf)\\]\\.\\.\\."))) << saving;
    const std::string pdf = dir + "/" + m[1].str();
    ASSERT_TRUE(pvtest::fileExists(pdf));
    std::string password;
    if (std::regex_search(options, m, std::regex("-userpassword (\\S+)"))) password = m[1];
    EXPECT_EQ(readersVerdict(pdf, password), "");
  }
}

TEST(Examples, ThousandItemsMakeAThousandBars) {
  const std::string copy = pvtest::makeTempDir();
  std::string out;
  ASSERT_EQ(pvtest::runShell("cp -R '" + pvtest::sourceDir() + "/examples' '" + copy + "/'", &out), 0) << out;
  const std::string data = pvtest::readFile(copy + "/examples/data/thousand.csv");
  EXPECT_EQ(std::count(data.begin(), data.end(), '\n'), 999) << "1000 lines, the last without a line break";
  pvtest::RunResult r = pvtest::runPlotvane({"-options", "thousand.opt", "-output", "t"}, copy + "/examples");
  ASSERT_EQ(r.exitCode, 0) << r.out;
  std::vector<std::string> streams = pvtest::inflateStreams(pvtest::readFile(copy + "/examples/t.pdf"));
  ASSERT_EQ(streams.size(), 1u);
  EXPECT_EQ(withOperator(splitLines(streams[0]), "re").size(), 1000u);
}

}  // namespace
