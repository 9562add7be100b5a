#include "fuzz/fuzz_support.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace pvfuzz {

namespace {

std::string dir;
// Beside the working folder, not in it: inputs cannot name it (they hold no
// "/"), so a "-log" of theirs cannot write into the capture.
std::string capture;

void removeWorkDir() {
  cleanWorkDir();
  if (chdir("/") == 0) rmdir(dir.c_str());
  unlink(capture.c_str());
}

}  // namespace

const std::string& workDir() { return dir; }

void setUp() {
  const char* base = std::getenv("TMPDIR");
  std::string tmpl = std::string(base && *base ? base : "/tmp") + "/plotvane-fuzz-XXXXXX";
  std::string buf = tmpl;
  if (!mkdtemp(&buf[0])) fail("mkdtemp failed");
  dir = buf;
  if (chdir(dir.c_str()) != 0) fail("chdir failed", dir);
  // No program can be found, so "-openpdf" fails quietly with a logged code.
  setenv("PATH", "/nonexistent-plotvane-fuzz-path", 1);
  // "-" reads standard input; an input must never wait for a terminal.
  if (!freopen("/dev/null", "r", stdin)) fail("cannot empty standard input");
  capture = dir + ".stdout";
  if (!freopen(capture.c_str(), "w+", stdout)) fail("cannot capture standard output");
  std::atexit(removeWorkDir);
}

void cleanWorkDir() {
  DIR* d = opendir(".");
  if (!d) fail("cannot list the working folder", dir);
  while (dirent* e = readdir(d)) {
    const char* n = e->d_name;
    if (std::strcmp(n, ".") == 0 || std::strcmp(n, "..") == 0) continue;
    if (unlink(n) != 0 && rmdir(n) != 0) fail("cannot remove a file of the working folder", n);
  }
  closedir(d);
}

std::string takeCapturedOutput() {
  fflush(stdout);
  std::string text;
  FILE* f = std::fopen(capture.c_str(), "rb");
  if (f) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    std::fclose(f);
  }
  if (!freopen(capture.c_str(), "w+", stdout)) fail("cannot capture standard output");
  return text;
}

bool namesPathsOutside(const uint8_t* data, size_t size) {
  return std::memchr(data, '/', size) != nullptr;
}

void writeWorkFile(const char* name, const uint8_t* data, size_t size) {
  FILE* f = std::fopen(name, "wb");
  if (!f) fail("cannot write a work file", name);
  if (size > 0 && std::fwrite(data, size, 1, f) != 1) fail("short write of a work file", name);
  std::fclose(f);
}

void fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "plotvane fuzz check failed: %s%s%s\n", what, detail.empty() ? "" : ": ",
               detail.c_str());
  std::abort();
}

}  // namespace pvfuzz
