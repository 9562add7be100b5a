// The document around the chart: output name, fonts, dates, information,
// passwords, bookmark, failures and the viewer.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "tests/chart/chart_test_util.h"

namespace {

using namespace charttest;

const std::string kChart = "-chart Bar V -barcolor #FF0000 #0000FF -datum A 20 -datum B 50 ";

std::vector<std::string> baseFonts(const std::string& pdf) {
  std::vector<std::string> fonts;
  std::regex re("/BaseFont /([A-Za-z-]+)");
  for (auto it = std::sregex_iterator(pdf.begin(), pdf.end(), re); it != std::sregex_iterator(); ++it)
    fonts.push_back((*it)[1]);
  return fonts;
}

TEST(MakePdf, OutputNameGetsThePdfEnding) {
  struct NameCase {
    std::string given, file;
  } cases[] = {
      {"report", "report.pdf"}, {"Report.PDF", "Report.PDF"}, {".pdf", ".pdf.pdf"},
      {"a.pdf", "a.pdf"},       {"x.PdF", "x.PdF"},           {"chart.pdf.txt", "chart.pdf.txt.pdf"},
  };
  for (const NameCase& nc : cases) {
    SCOPED_TRACE(nc.given);
    std::string dir = pvtest::makeTempDir();
    std::vector<std::string> args = splitWords(kChart);
    args.push_back("-output");
    args.push_back(nc.given);
    pvtest::RunResult r = pvtest::runPlotvane(args, dir);
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(pvtest::logMessages(r.out),
              (std::vector<std::string>{"Creating PDF structure in memory...", "Saving PDF to [" + nc.file + "]...",
                                        "...success", "Finished"}));
    ASSERT_TRUE(pvtest::fileExists(dir + "/" + nc.file));
    EXPECT_EQ(readersVerdict(dir + "/" + nc.file), "");
    if (nc.file != nc.given) {
      EXPECT_FALSE(pvtest::fileExists(dir + "/" + nc.given));
    }
  }
}

TEST(MakePdf, OnlyTheFontsNamedOrDrawnInFontNumberOrder) {
  struct FontCase {
    std::string args;
    std::vector<std::string> fonts;
  } cases[] = {
      {"", {}},
      {"-title Sales", {"Times-Roman"}},
      {"-subject Sub", {"Times-Roman"}},
      {"-title Sales -headingtitle 18 Helv #000000 Normal", {"Helvetica"}},
      {"-axeslabely 10 Zapf #000000 Normal -headingtitle 18 Courier #000000 Normal -title T",
       {"Courier", "ZapfDingbats"}},
      {"-title S -subject Sub -headingsubtitle 12 Symbol #000000 Normal", {"Times-Roman", "Symbol"}},
      {"-title S -subject Sub -headingtitle 18 Times-BI #000000 Normal", {"Times-Roman", "Times-BoldItalic"}},
      // Named but never drawn: registered all the same.
      {"-headingsubtitle 12 Courier-B #000000 Normal", {"Courier-Bold"}},
      {"-axescaptionx 10 Helv-BO #000000 Normal C X -axescaptiony 10 Cour-O #000000 Normal M Y",
       {"Courier-Oblique", "Helvetica-BoldOblique"}},
  };
  for (const FontCase& fc : cases) {
    SCOPED_TRACE(fc.args);
    Chart c = runChart(kChart + fc.args);
    ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
    EXPECT_EQ(baseFonts(pvtest::readFile(c.pdfPath)), fc.fonts);
  }
}

std::string creationDate(const std::string& pdf) {
  std::smatch m;
  std::regex re("/CreationDate \\((D:[^)]*)\\)");
  return std::regex_search(pdf, m, re) ? m[1].str() : "";
}

// "D:YYYYMMDDHH" of the clock shifted by offset seconds, read as UTC.
std::string hourStamp(long offset) {
  time_t t = time(nullptr) + offset;
  struct tm u;
  gmtime_r(&t, &u);
  char buf[32];
  strftime(buf, sizeof buf, "D:%Y%m%d%H", &u);
  return buf;
}

TEST(MakePdf, CreationDateWithItsOffset) {
  struct ZoneCase {
    std::string tz;
    long offset;
    std::string ending;
  } cases[] = {
      {"UTC", 0, "z00'00'"},
      {"Etc/GMT-2", 7200, "+02'00'"},
      {"Etc/GMT+5", -18000, "-05'00'"},
  };
  for (const ZoneCase& zc : cases) {
    SCOPED_TRACE(zc.tz);
    std::string before = hourStamp(zc.offset);
    Chart c = runChart(splitWords(kChart + "-creationdate"), {"TZ=" + zc.tz});
    std::string after = hourStamp(zc.offset);
    ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
    std::string date = creationDate(pvtest::readFile(c.pdfPath));
    ASSERT_EQ(date.size(), 2 + 14 + 7u) << date;
    EXPECT_EQ(date.substr(16), zc.ending);
    // The date and time are those of the local clock.
    std::string hour = date.substr(0, 12);
    EXPECT_TRUE(hour == before || hour == after) << date << " vs " << before;
  }
  Chart none = runChart(kChart);
  EXPECT_EQ(creationDate(pvtest::readFile(none.pdfPath)), "");
}

// SOURCE_DATE_EPOCH fixes the date in universal time whatever the zone; a
// value that is not a plain number of seconds is ignored and the clock holds.
TEST(MakePdf, SourceDateEpochFixesTheCreationDate) {
  struct EpochCase {
    std::string value;
    std::string date;  // empty: the clock's date, not a fixed one
  } cases[] = {
      {"1700000000", "D:20231114221320z00'00'"},
      {"0", "D:19700101000000z00'00'"},
      {"", ""},
      {"12a", ""},
      {"-5", ""},
      {" 1", ""},
      {"99999999999999999999999", ""},
  };
  for (const EpochCase& ec : cases) {
    SCOPED_TRACE("SOURCE_DATE_EPOCH=" + ec.value);
    Chart c = runChart(splitWords(kChart + "-creationdate"), {"TZ=Etc/GMT-2", "SOURCE_DATE_EPOCH=" + ec.value});
    ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
    std::string date = creationDate(pvtest::readFile(c.pdfPath));
    if (!ec.date.empty())
      EXPECT_EQ(date, ec.date);
    else
      EXPECT_EQ(date.substr(16), "+02'00'") << date;
  }
}

TEST(MakePdf, InformationEntriesAndTheBanner) {
  std::vector<std::string> args = splitWords(kChart);
  for (const char* a : {"-producer", "Me", "-creator", "Cr", "-author", "Au", "-title", "Ti", "-subject", "Su",
                        "-keywords", "a b"})
    args.push_back(a);
  Chart c = runChart(args);
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  std::string pdf = pvtest::readFile(c.pdfPath);
  for (const char* entry : {"/Producer (Me)", "/Creator (Cr)", "/Author (Au)", "/Title (Ti)", "/Subject (Su)",
                            "/Keywords (a\\040b)"})
    EXPECT_NE(pdf.find(entry), std::string::npos) << entry;
  EXPECT_EQ(pdf.find("Library"), std::string::npos);

  Chart plain = runChart(kChart);
  EXPECT_NE(pvtest::readFile(plain.pdfPath).find("/Producer (Plotvane\\040PDF\\040Library\\040Version\\0401.00)"),
            std::string::npos);
}

TEST(MakePdf, OutlineForcesUseOutlines) {
  Chart c = runChart(kChart + "-pagemodefullscreen -pagelayoutonecolumn -outline -title Sales");
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  std::string pdf = pvtest::readFile(c.pdfPath);
  EXPECT_NE(pdf.find("/PageMode /UseOutlines"), std::string::npos);
  EXPECT_EQ(pdf.find("/FullScreen"), std::string::npos);
  EXPECT_NE(pdf.find("/PageLayout /OneColumn"), std::string::npos);
  EXPECT_NE(pdf.find("/Title (Sales)\r\n/Dest"), std::string::npos) << pdf.substr(0, 1200);
  EXPECT_TRUE(std::regex_search(pdf, std::regex("\\[\\d+ 0 R /XYZ 0 600 1 \\]")));

  Chart full = runChart(kChart + "-pagemodefullscreen");
  EXPECT_NE(pvtest::readFile(full.pdfPath).find("/PageMode /FullScreen"), std::string::npos);
  EXPECT_EQ(pvtest::readFile(full.pdfPath).find("/Outlines"), std::string::npos);
}

TEST(MakePdf, ProtectedDocumentsOpenWithTheirPassword) {
  Chart c = runChart(splitWords(kChart + "-ownerpassword own -userpassword usr -print"), {}, "chart", "usr");
  ASSERT_EQ(c.run.exitCode, 0) << c.run.out;
  EXPECT_NE(pvtest::readFile(c.pdfPath).find("/Encrypt"), std::string::npos);
  Chart owner = runChart(splitWords(kChart + "-ownerpassword own -copy"), {}, "chart", "own");
  ASSERT_EQ(owner.run.exitCode, 0) << owner.run.out;
  EXPECT_EQ(readersVerdict(owner.pdfPath), "") << "no user password: opens without one";
}

// The chosen method as readers see it: the right password opens the chart,
// a wrong one (or none, when a user password alone was given) does not.
TEST(MakePdf, AesProtectedChartsOpenWithTheRightPasswordOnly) {
  struct AesCase {
    std::string args;
    std::string password;  // one that opens
    std::string header, revision;
  } cases[] = {
      {"-encryption AES256 -ownerpassword o -userpassword u -print", "u", "%PDF-1.7", "R = 6"},
      {"-encryption AES256 -ownerpassword o -userpassword u -print", "o", "%PDF-1.7", "R = 6"},
      {"-encryption AESV2 -ownerpassword o -userpassword u -copy", "u", "%PDF-1.6", "R = 4"},
      {"-encryption AES128 -userpassword u", "u", "%PDF-1.6", "R = 4"},
      {"-userpassword " + std::string(40, 'u') + " -encryption AES256", "", "", ""},
  };
  for (const AesCase& c : cases) {
    SCOPED_TRACE(c.args + " / " + c.password);
    Chart chart = runChart(splitWords(kChart + c.args), {}, "chart", c.password);
    if (c.header.empty()) {  // a long password before the method is too long
      EXPECT_EQ(chart.run.exitCode, 1);
      continue;
    }
    ASSERT_EQ(chart.run.exitCode, 0) << chart.run.out;
    EXPECT_EQ(pvtest::readFile(chart.pdfPath).rfind(c.header, 0), 0u);
    std::string shown;
    pvtest::runShell("qpdf --show-encryption --password=" + c.password + " " + chart.pdfPath, &shown);
    EXPECT_NE(shown.find(c.revision), std::string::npos) << shown;
    for (const std::string& wrong : {std::string("wrong"), std::string()})
      EXPECT_NE(readersVerdict(chart.pdfPath, wrong), "") << "opened with [" << wrong << "]";
  }

  // The longest password, 127 bytes. poppler's tools take at most 32
  // characters of a password, so qpdf and mupdf judge this one.
  const std::string dir = pvtest::makeTempDir(), longest(127, 'u');
  pvtest::RunResult r = pvtest::runPlotvane(
      splitWords(kChart + "-encryption AES256 -output long -userpassword " + longest), dir);
  ASSERT_EQ(r.exitCode, 0) << r.out;
  for (const std::string& given : {longest, longest.substr(0, 126)}) {
    std::string out;
    const bool right = given == longest;
    EXPECT_EQ(pvtest::runShell("qpdf --check --password=" + given + " " + dir + "/long.pdf", &out) == 0, right);
    EXPECT_EQ(pvtest::runShell("mutool draw -q -o /dev/null -p " + given + " " + dir + "/long.pdf 2>&1", &out) == 0,
              right)
        << out;
  }
}

TEST(MakePdf, EncryptionAloneChangesNothing) {
  Chart plain = runChart(splitWords(kChart + "-title T"));
  Chart chosen = runChart(splitWords(kChart + "-encryption AES256 -title T"));
  ASSERT_TRUE(plain.written && chosen.written);
  EXPECT_EQ(pvtest::readFile(chosen.pdfPath), pvtest::readFile(plain.pdfPath));
}

struct FailureCase {
  std::string name;
  std::vector<std::string> args;
  std::vector<std::string> log;  // exact lines, or prefixes where they end with "*"
};

TEST(MakePdf, FailuresEndInOneLineAndNoFile) {
  const std::string wide(256, 'W');
  const std::string creating = "Creating PDF structure in memory...";
  const FailureCase cases[] = {
      {"equal passwords",
       splitWords(kChart + "-ownerpassword same -userpassword same"),
       {creating, "MakePDF ERROR: PdfEncrypt::SetPassword -- user and owner password must be diiferent.", "Finished"}},
      {"equal passwords under AES",
       splitWords(kChart + "-encryption AES128 -ownerpassword same -userpassword same"),
       {creating, "MakePDF ERROR: PdfEncrypt::SetPassword -- user and owner password must be diiferent.", "Finished"}},
      {"an AES-256 password that is not UTF-8",
       splitWords(kChart + "-encryption AES256 -userpassword caf\xe9"),
       {creating, "MakePDF ERROR: PdfEncrypt::SetPassword -- password is not valid UTF-8.", "Finished"}},
      {"a coordinate beyond the writable range",
       [&] {
         std::vector<std::string> a = splitWords(kChart + "-headingtitle 300 Times-B #000000 Normal -chartheading "
                                                          "Top Right -title");
         a.push_back(wide);
         return a;
       }(),
       {creating, "MakePDF *", "Finished"}},
      // The bookmark's destination is freed too (the sanitizer build reports
      // a leak on standard error otherwise).
      {"a drawing failure with a bookmark",
       [&] {
         std::vector<std::string> a = splitWords(kChart + "-outline -headingtitle 300 Times-B #000000 Normal "
                                                          "-chartheading Top Right -title");
         a.push_back(wide);
         return a;
       }(),
       {creating, "MakePDF *", "Finished"}},
      {"an output folder that does not exist",
       splitWords(kChart + "-output /nonexistent-folder/chart"),
       {creating, "Saving PDF to [/nonexistent-folder/chart.pdf]...", "MakePDF *", "Finished"}},
  };
  for (const FailureCase& fc : cases) {
    SCOPED_TRACE(fc.name);
    Chart c = runChart(fc.args);
    EXPECT_EQ(c.run.exitCode, 1) << c.run.out;
    EXPECT_FALSE(c.written);
    ASSERT_EQ(c.log.size(), fc.log.size()) << c.run.out;
    for (size_t i = 0; i < fc.log.size(); ++i) {
      const std::string& want = fc.log[i];
      if (want.back() == '*') {
        EXPECT_EQ(c.log[i].rfind(want.substr(0, want.size() - 1), 0), 0u) << c.log[i];
      } else {
        EXPECT_EQ(c.log[i], want);
      }
    }
    EXPECT_EQ(c.run.out.find("nan"), std::string::npos);
  }
}

struct ViewerCase {
  std::string name;
  std::string script;  // the fake opener, "" for none on PATH
  std::string last;    // the log line after "Opening PDF in default PDF viewer..."
};

TEST(MakePdf, ViewerIsStartedAndItsFailureKeepsTheResult) {
  const ViewerCase cases[] = {
      {"opener succeeds", "#!/bin/sh\necho \"$1\" > \"${0%/*}/arg\"\nexit 0\n", "...success"},
      {"opener fails", "#!/bin/sh\necho \"$1\" > \"${0%/*}/arg\"\nexit 3\n", "failed, error=3"},
      {"no opener at all", "", "failed, error=2"},
      {"opener killed at once", "#!/bin/sh\necho \"$1\" > \"${0%/*}/arg\"\nkill -9 $$\n", "failed, error=137"},
      // A viewer in the foreground is left running; the run does not wait.
      {"opener that stays", "#!/bin/sh\necho \"$1\" > \"${0%/*}/arg\"\necho $$ > \"${0%/*}/pid\"\nexec /bin/sleep 30\n",
       "...success"},
  };
  for (const ViewerCase& vc : cases) {
    SCOPED_TRACE(vc.name);
    std::string bin = pvtest::makeTempDir();
    if (!vc.script.empty()) {
      for (const char* opener : {"/xdg-open", "/open"}) {
        pvtest::writeFile(bin + opener, vc.script);
        chmod((bin + opener).c_str(), 0755);
      }
    }
    time_t start = time(nullptr);
    Chart c = runChart(splitWords(kChart + "-openpdf"), {"PATH=" + bin});
    EXPECT_LT(time(nullptr) - start, 10);
    // An opener left running may write its files after the run has ended.
    for (int i = 0; i < 500 && !vc.script.empty() && !pvtest::fileExists(bin + "/arg"); ++i) usleep(10000);
    if (vc.script.find("sleep") != std::string::npos) {
      for (int i = 0; i < 500 && !pvtest::fileExists(bin + "/pid"); ++i) usleep(10000);
      usleep(20000);  // the pid is complete once its line is written
      kill(std::stoi(pvtest::readFile(bin + "/pid")), SIGKILL);
    }
    EXPECT_EQ(c.run.exitCode, 0) << c.run.out;
    EXPECT_TRUE(c.written);
    EXPECT_EQ(c.log, (std::vector<std::string>{"Creating PDF structure in memory...", "Saving PDF to [chart.pdf]...",
                                               "...success", "Opening PDF in default PDF viewer...", vc.last,
                                               "Finished"}));
    if (!vc.script.empty()) {
      EXPECT_EQ(pvtest::readFile(bin + "/arg"), "chart.pdf\n");
    }
  }
}

}  // namespace
