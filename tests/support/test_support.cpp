#include "tests/support/test_support.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>

extern char** environ;

namespace pvtest {

namespace {

std::vector<std::string>& tempDirs() {
  static std::vector<std::string> dirs;
  return dirs;
}

void removeTempDirs() {
  for (const std::string& d : tempDirs()) {
    std::string cmd = "chmod -R u+rwx '" + d + "' 2>/dev/null; rm -rf '" + d + "'";
    if (std::system(cmd.c_str()) != 0) {
      // Leaving a folder behind in /tmp is harmless.
    }
  }
}

std::string shellQuote(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'')
      q += "'\\''";
    else
      q += c;
  }
  return q + "'";
}

}  // namespace

std::string sourceDir() { return PLOTVANE_SOURCE_DIR; }
std::string referenceDataDir() { return PLOTVANE_DATA_DIR; }

std::set<std::string> dirEntries(const std::string& dir) {
  std::set<std::string> names;
  DIR* d = opendir(dir.c_str());
  if (!d) return names;
  while (dirent* e = readdir(d)) {
    std::string n = e->d_name;
    if (n != "." && n != "..") names.insert(n);
  }
  closedir(d);
  return names;
}

std::string makeTempDir() {
  static std::once_flag once;
  // The list must exist before the exit handler is registered, or it is
  // destroyed before the handler runs.
  std::call_once(once, [] {
    tempDirs();
    std::atexit(removeTempDirs);
  });
  const char* base = std::getenv("TMPDIR");
  std::string tmpl = std::string(base && *base ? base : "/tmp") + "/plotvane-test-XXXXXX";
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  if (!mkdtemp(buf.data())) {
    ADD_FAILURE() << "mkdtemp failed: " << std::strerror(errno);
    return "/tmp";
  }
  tempDirs().push_back(buf.data());
  return buf.data();
}

void writeFile(const std::string& path, const std::string& content) {
  std::ofstream f(path, std::ios::binary);
  f << content;
  if (!f) ADD_FAILURE() << "cannot write " << path;
}

std::string readFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

bool fileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

RunResult runPlotvane(const std::vector<std::string>& args, const std::string& cwd,
                      const std::vector<std::string>& extraEnv) {
  RunResult r;
  std::string dir = makeTempDir();
  std::string outPath = dir + "/stdout", errPath = dir + "/stderr";

  posix_spawn_file_actions_t fa;
  posix_spawn_file_actions_init(&fa);
  posix_spawn_file_actions_addopen(&fa, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&fa, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&fa, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&fa, cwd.c_str());

  std::vector<std::string> envStore;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    bool replaced = false;
    for (const std::string& x : extraEnv) {
      size_t eq = x.find('=');
      if (entry.compare(0, eq + 1, x, 0, eq + 1) == 0) replaced = true;
    }
    if (!replaced) envStore.push_back(entry);
  }
  for (const std::string& x : extraEnv) envStore.push_back(x);
  std::vector<char*> envp;
  for (std::string& e : envStore) envp.push_back(&e[0]);
  envp.push_back(nullptr);

  std::string bin = PLOTVANE_BIN;
  std::vector<std::string> argStore;
  argStore.push_back(bin);
  for (const std::string& a : args) argStore.push_back(a);
  std::vector<char*> argv;
  for (std::string& a : argStore) argv.push_back(&a[0]);
  argv.push_back(nullptr);

  pid_t pid;
  int rc = posix_spawn(&pid, bin.c_str(), &fa, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&fa);
  if (rc != 0) {
    ADD_FAILURE() << "cannot start " << bin << ": " << std::strerror(rc);
    return r;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
  r.out = readFile(outPath);
  r.err = readFile(errPath);
  return r;
}

int runShell(const std::string& command, std::string* output) {
  std::string full = command + " 2>&1";
  FILE* p = popen(full.c_str(), "r");
  if (!p) return -1;
  std::string text;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
  int status = pclose(p);
  if (output) *output = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> logMessages(const std::string& out) {
  std::vector<std::string> lines;
  std::istringstream s(out);
  std::string line;
  while (std::getline(s, line)) {
    bool stamped = line.size() >= 9 && isdigit((unsigned char)line[0]) &&
                   isdigit((unsigned char)line[1]) && line[2] == ':' &&
                   isdigit((unsigned char)line[3]) && isdigit((unsigned char)line[4]) &&
                   line[5] == ':' && isdigit((unsigned char)line[6]) &&
                   isdigit((unsigned char)line[7]) && line[8] == ' ';
    if (!stamped) {
      ADD_FAILURE() << "log line without time stamp: [" << line << "]";
      lines.push_back(line);
    } else {
      lines.push_back(line.substr(9));
    }
  }
  return lines;
}

std::string checkWithReaders(const std::string& pdfPath, const std::string& password) {
  std::string problems, out;
  std::string q = shellQuote(pdfPath);
  std::string pw = shellQuote(password);

  // qpdf: exit 0 only, since 3 means warnings.
  std::string cmd = "qpdf --check ";
  if (!password.empty()) cmd += "--password=" + pw + " ";
  int rc = runShell(cmd + q, &out);
  if (rc != 0) problems += "qpdf --check exit " + std::to_string(rc) + ": " + out + "\n";

  // poppler: render page 1 to a small grey image and require some ink.
  std::string dir = makeTempDir();
  cmd = "pdftoppm -gray -r 20 -singlefile ";
  if (!password.empty()) cmd += "-upw " + pw + " -opw " + pw + " ";
  rc = runShell(cmd + q + " " + shellQuote(dir + "/page"), &out);
  if (rc != 0 || !out.empty()) {
    problems += "pdftoppm exit " + std::to_string(rc) + ": " + out + "\n";
  } else {
    std::string pgm = readFile(dir + "/page.pgm");
    // P5 header: "P5\n<w> <h>\n255\n" then the pixels.
    size_t pos = 0;
    int fields = 0;
    while (pos < pgm.size() && fields < 4) {
      while (pos < pgm.size() && isspace((unsigned char)pgm[pos])) ++pos;
      while (pos < pgm.size() && !isspace((unsigned char)pgm[pos])) ++pos;
      ++fields;
    }
    ++pos;
    bool ink = false;
    for (size_t i = pos; i < pgm.size(); ++i) {
      if ((unsigned char)pgm[i] != 255) {
        ink = true;
        break;
      }
    }
    if (!ink) problems += "pdftoppm rendered a blank page\n";
  }

  // mupdf: any warning or error line counts.
  cmd = "mutool draw -q -o /dev/null ";
  if (!password.empty()) cmd += "-p " + pw + " ";
  rc = runShell(cmd + q, &out);
  // Debian's mupdf is built without colour management and says so for every
  // file; that notice is about the reader, not the document.
  const std::string icc = "warning: ICC support is not available\n";
  for (size_t at; (at = out.find(icc)) != std::string::npos;) out.erase(at, icc.size());
  if (rc != 0 || !out.empty()) problems += "mutool draw exit " + std::to_string(rc) + ": " + out + "\n";

  // ghostscript
  cmd = "gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=nullpage ";
  if (!password.empty()) cmd += "-sPDFPassword=" + pw + " ";
  rc = runShell(cmd + q, &out);
  if (rc != 0 || !out.empty()) problems += "ghostscript exit " + std::to_string(rc) + ": " + out + "\n";
  return problems;
}

std::vector<std::string> inflateStreams(const std::string& pdf) {
  std::vector<std::string> result;
  size_t pos = 0;
  while (true) {
    size_t s = pdf.find("stream\r\n", pos);
    if (s == std::string::npos) break;
    if (s >= 3 && pdf.compare(s - 3, 3, "end") == 0) {
      pos = s + 8;
      continue;
    }
    size_t dictStart = pdf.rfind("obj\r\n", s);
    bool flate = dictStart != std::string::npos &&
                 pdf.find("/FlateDecode", dictStart) < s;
    size_t begin = s + 8;
    size_t end = pdf.find("endstream", begin);
    if (end == std::string::npos) break;
    pos = end + 9;
    if (!flate) continue;
    z_stream z;
    std::memset(&z, 0, sizeof z);
    inflateInit(&z);
    z.next_in = (Bytef*)pdf.data() + begin;
    z.avail_in = (uInt)(end - begin);
    std::string data;
    char buf[4096];
    int rc;
    do {
      z.next_out = (Bytef*)buf;
      z.avail_out = sizeof buf;
      rc = inflate(&z, Z_NO_FLUSH);
      data.append(buf, sizeof buf - z.avail_out);
    } while (rc == Z_OK);
    inflateEnd(&z);
    if (rc != Z_STREAM_END) ADD_FAILURE() << "stream does not inflate (" << rc << ")";
    result.push_back(data);
  }
  return result;
}

}  // namespace pvtest
