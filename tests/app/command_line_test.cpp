// Joining argv into the one command-line text: every argument reaches its
// command as typed, or the run is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/settings.h"
#include "tests/app/app_test_util.h"

namespace {

struct Joined {
  bool ok;
  std::string line;
  int bad = 0;
  std::string reason;
};

Joined join(const std::vector<std::string>& args) {
  std::vector<const char*> ptrs;
  for (const std::string& a : args) ptrs.push_back(a.c_str());
  Joined j;
  const char* reason = "";
  j.ok = joinArguments(static_cast<int>(ptrs.size()), ptrs.data(), &j.line, &j.bad, &reason);
  j.reason = reason;
  return j;
}

const char kNotOneWord[] = "begins with a double quote but is not one quoted word";
const char kQuoteWithBlanks[] = "a double quote cannot stand in an argument with blanks";

TEST(JoinArguments, RefusesQuotesThatWouldSplitOrSwallowArguments) {
  struct Case {
    std::vector<std::string> args;
    int bad;
    const char* reason;
  } cases[] = {
      // The passwords and the permission would become part of the title.
      {{"-title", "\"Q3", "-ownerpassword", "own", "-userpassword", "usr", "-print"}, 2, kNotOneWord},
      // The rest of the title would name another output file.
      {{"-title", "Q3 report\" -output /elsewhere/x -title \"x"}, 2, kQuoteWithBlanks},
      {{"-output", "o", "-title", "x \" -options secret.txt"}, 4, kQuoteWithBlanks},
      {{"-title", "\""}, 2, kNotOneWord},
      {{"-title", "\"a\"b"}, 2, kNotOneWord},
      {{"-title", "\"a\"b\""}, 2, kNotOneWord},
      {{"\t\"x\""}, 1, kQuoteWithBlanks},
      {{"-title", "\"\" x"}, 2, kNotOneWord},
  };
  for (const Case& c : cases) {
    Joined j = join(c.args);
    EXPECT_FALSE(j.ok) << c.args[c.bad - 1];
    EXPECT_EQ(j.bad, c.bad) << c.args[c.bad - 1];
    EXPECT_EQ(j.reason, c.reason) << c.args[c.bad - 1];
  }
}

TEST(JoinArguments, EachArgumentArrivesAsTyped) {
  struct Case {
    std::vector<std::string> args;
    std::string title;
    std::string keywords;
    int permissions;
  } cases[] = {
      {{"-keywords", " ", "-print", "-ownerpassword", "own"}, "", " ", 4},
      {{"-title", "   ", "-copy"}, "   ", "", 16},
      {{"-title", "\tQ3", "-print"}, "\tQ3", "", 4},
      {{"-title", "Q3\treport"}, "Q3\treport", "", 0},
      {{"-title", "Q3 report", "-edit"}, "Q3 report", "", 32},
      {{"-title", "\"Q3 report\"", "-print"}, "Q3 report", "", 4},
      {{"-title", "12\"", "-keywords", "a\"b\"c"}, "12\"", "a\"b\"c", 0},
  };
  for (const Case& c : cases) {
    Joined j = join(c.args);
    ASSERT_TRUE(j.ok) << j.reason;
    apptest::Outcome o = apptest::interpret(j.line);
    EXPECT_EQ(o.result, 0) << j.line;
    EXPECT_EQ(chartSettings.title, c.title) << j.line;
    EXPECT_EQ(chartSettings.keywords, c.keywords) << j.line;
    EXPECT_EQ(chartSettings.permissions, c.permissions) << j.line;
    EXPECT_STREQ(chartSettings.ownerPassword, c.args.back() == "own" ? "own" : "") << j.line;
  }
}

TEST(JoinArguments, BlankAndEmptyArguments) {
  // A lone blank command line stays as it is; elsewhere blanks are quoted.
  EXPECT_EQ(join({"   "}).line, "   ");
  EXPECT_EQ(join({"\t"}).line, "\t");
  EXPECT_EQ(join({" ", " "}).line, "\" \" \" \"");
  EXPECT_EQ(join({""}).line, "\"\"");
  EXPECT_EQ(join({"-title", ""}).line, "-title \"\"");
  EXPECT_EQ(join({"-title", "\"\""}).line, "-title \"\"");
  EXPECT_EQ(join({}).line, "");
}

}  // namespace
