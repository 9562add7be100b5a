// Entry: rebuilds the one command-line text the command language is defined
// on from argv, quoting the arguments that would otherwise split.
#include <string>

#include "app/platform.h"
#include "app/run.h"

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
  prepareProcess();
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
