// Helpers for tests that run the program as a user would and inspect what it
// wrote: exit code, standard output and error, files, and the PDF itself.
#pragma once

#include <set>
#include <string>
#include <vector>

namespace pvtest {

struct RunResult {
  int exitCode = -1;  // -1 when the process did not exit normally
  std::string out;
  std::string err;
};

// Runs build/plotvane with argv[1..] = args in the folder cwd (the current
// folder when empty). extraEnv holds "NAME=value" entries added to the
// environment; an entry "PATH=..." replaces PATH.
RunResult runPlotvane(const std::vector<std::string>& args, const std::string& cwd = "",
                      const std::vector<std::string>& extraEnv = {});

// Runs a shell command line; returns its exit status and its standard output.
int runShell(const std::string& command, std::string* output = nullptr);

// A fresh, empty folder under the system's temporary folder, removed when the
// process ends.
std::string makeTempDir();

void writeFile(const std::string& path, const std::string& content);
std::string readFile(const std::string& path);
bool fileExists(const std::string& path);

// The log lines of standard output without their "hh:mm:ss " time stamps;
// fails the calling test when a line has no valid stamp.
std::vector<std::string> logMessages(const std::string& out);

// Checks a PDF file with the independent readers (qpdf --check, pdftoppm,
// mutool draw, ghostscript). Returns an empty text when all of them accept it
// (and pdftoppm renders something that is not blank), else a description of
// what failed. password is given to the readers when not empty.
std::string checkWithReaders(const std::string& pdfPath, const std::string& password = "");

// The decompressed data of every FlateDecode stream in an unencrypted PDF,
// in file order.
std::vector<std::string> inflateStreams(const std::string& pdfBytes);

// Path of the reference data in the repository (AFM files, glyph list, encodings).
std::string referenceDataDir();

// The names in a folder, without "." and ".."; empty when it cannot be read.
std::set<std::string> dirEntries(const std::string& dir);
// Path of the project's source tree.
std::string sourceDir();

}  // namespace pvtest
