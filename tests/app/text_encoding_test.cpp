// The textencoding command: its place before the text commands, and UTF-8
// texts whose limits count characters.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/settings.h"
#include "tests/app/app_test_util.h"

namespace {

using apptest::interpret;

std::string repeat(const std::string& s, int n) {
  std::string r;
  for (int i = 0; i < n; ++i) r += s;
  return r;
}

const std::string kE = "\xC3\xA9";  // é, two bytes

TEST(TextEncoding, MustComeBeforeEveryTextCommand) {
  const char* textCommands[] = {
      "-producer p",         "-creator c",         "-author a",
      "-title t",            "-subject s",         "-keywords k",
      "-axescaptionx 10 Times #000000 Normal C x", "-axescaptiony 10 Times #000000 Normal M y",
      "-barlabel Start TTTT", "-chart Bar V -datum a 1", "-dataseparator ;",
  };
  for (const char* command : textCommands) {
    auto o = interpret(std::string(command) + " -textencoding UTF8");
    EXPECT_EQ(o.result, 1) << command;
    ASSERT_EQ(o.messages.size(), 1u) << command;
    EXPECT_EQ(o.messages[0], "ERROR: TextEncoding - must come before every text command") << command;
  }
  // Commands without texts leave the choice open; the last choice holds.
  auto o = interpret("-output x -chart Bar V -textencoding UTF8 -textencoding Std -textencoding U");
  EXPECT_EQ(o.result, 0);
  EXPECT_EQ(chartSettings.textEncoding, Utf8Text);
}

TEST(TextEncoding, KeywordsAndTheirFailures) {
  const struct {
    const char* text;
    int encoding;          // when accepted
    const char* message;   // when refused
  } cases[] = {
      {"-textencoding Standard", StandardText, nullptr},
      {"-textencoding std", StandardText, nullptr},
      {"-textencoding utf-8", Utf8Text, nullptr},
      {"-textencoding UTF8", Utf8Text, nullptr},
      {"-textencoding u", Utf8Text, nullptr},
      {"-textencoding", 0, "ERROR: TextEncoding - encoding not specified"},
      {"-textencoding Latin1", 0, "ERROR: TextEncoding - unknown encoding"},
      {"-textencoding abcdefghijklmnopqrstu", 0, "ERROR: TextEncoding - encoding too long"},
  };
  for (const auto& c : cases) {
    auto o = interpret(c.text);
    if (c.message) {
      ASSERT_EQ(o.messages.size(), 1u) << c.text;
      EXPECT_EQ(o.messages[0], c.message);
    } else {
      EXPECT_EQ(o.result, 0) << c.text;
      EXPECT_EQ(chartSettings.textEncoding, c.encoding) << c.text;
    }
  }
}

TEST(TextEncoding, LimitsCountCharactersInUtf8Mode) {
  const struct {
    std::string command;
    const char* display;
    const char* tooLong;
    int limit;
    const char* after = "";
  } cases[] = {
      {"-title ", "Title", "too long", 256},
      {"-keywords ", "Keywords", "too long", 256},
      {"-axescaptionx 10 Times #000000 Normal C ", "AxesCaptionX", "title too long", 100},
      {"-barlabel S ", "BarLabel", "format too long", 21},
      {"-chart Bar V -datum ", "Datum", "label too long", 30, " 1"},
      {"-dataseparator ", "DataSeparator", "too long", 11},
  };
  for (const auto& c : cases) {
    const std::string pre = "-textencoding UTF8 " + c.command;
    auto fits = interpret(pre + repeat(kE, c.limit) + c.after);
    EXPECT_EQ(fits.result, 0) << c.command;
    EXPECT_TRUE(fits.messages.empty()) << c.command;
    auto over = interpret(pre + repeat(kE, c.limit + 1) + c.after);
    ASSERT_EQ(over.messages.size(), 1u) << c.command;
    EXPECT_EQ(over.messages[0], std::string("ERROR: ") + c.display + " - " + c.tooLong);
    auto bad = interpret(pre + "Z\xFCrich" + c.after);
    ASSERT_EQ(bad.messages.size(), 1u) << c.command;
    EXPECT_EQ(bad.messages[0], std::string("ERROR: ") + c.display + " - not valid UTF-8");
    // The design's byte counts still hold without the command.
    auto standard = interpret(c.command + repeat(kE, c.limit) + c.after);
    ASSERT_EQ(standard.messages.size(), 1u) << c.command;
    EXPECT_EQ(standard.messages[0], std::string("ERROR: ") + c.display + " - " + c.tooLong);
  }
  interpret("-textencoding U -title " + repeat("\xE2\x82\xAC", 256));
  EXPECT_EQ(std::strlen(chartSettings.title), 3u * 256);
}

TEST(TextEncoding, DatasetLabelsCutAtTheThirtiethCharacter) {
  const std::string dir = pvtest::makeTempDir();
  pvtest::writeFile(dir + "/d.csv", repeat(kE, 40) + ",5\n");
  interpret("-textencoding UTF8 -chart Bar V -dataset " + dir + "/d.csv");
  ASSERT_EQ(chartSettings.dataCount, 1);
  EXPECT_EQ(std::string(chartSettings.data[0].label), repeat(kE, 30));
  // Without the command the design's 30 bytes: half of the characters.
  interpret("-chart Bar V -dataset " + dir + "/d.csv");
  EXPECT_EQ(std::string(chartSettings.data[0].label), repeat(kE, 15));
}

}  // namespace
