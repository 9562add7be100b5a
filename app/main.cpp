// Entry: rebuilds the one command-line text the command language is defined
// on from argv, quoting the arguments that would otherwise split.
#include <cstring>
#include <string>

#include "app/run.h"
#include "app/usage.h"

namespace {

bool needsQuotes(const std::string& arg) {
  if (arg.empty()) return true;
  bool hasSpace = false, hasText = false;
  for (char c : arg) {
    unsigned char u = static_cast<unsigned char>(c);
    if (u == ' ') hasSpace = true;
    if (u > 32) hasText = true;
  }
  return hasSpace && hasText;
}

}  // namespace

int main(int argc, char** argv) {
  // The answers every command-line tool gives; the command language has no
  // such words, so nothing else changes meaning.
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) return printUsage(stdout) ? 0 : 1;
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) return printVersion(stdout) ? 0 : 1;
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    std::string arg = argv[i];
    if (needsQuotes(arg))
      line += '"' + arg + '"';
    else
      line += arg;
  }
  return plotvaneEntry(line.c_str());
}
