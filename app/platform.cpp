#include "app/platform.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <initializer_list>

#include "pdf/pdf_output_file.h"

void localTimeOfDay(int* hour, int* minute, int* second) {
  time_t now = time(nullptr);
  struct tm parts {};
  if (!localtime_r(&now, &parts)) parts = tm{};
  *hour = parts.tm_hour;
  *minute = parts.tm_min;
  *second = parts.tm_sec;
}

void formatBounded(char* dest, size_t size, const char* format, va_list args) {
  if (size == 0) return;
  int n = vsnprintf(dest, size, format, args);
  if (n < 0) dest[0] = '\0';
  dest[size - 1] = '\0';
}

int compareNoCase(const char* a, const char* b) {
  const unsigned char* x = reinterpret_cast<const unsigned char*>(a);
  const unsigned char* y = reinterpret_cast<const unsigned char*>(b);
  for (;; ++x, ++y) {
    unsigned cx = *x, cy = *y;
    if (cx >= 'A' && cx <= 'Z') cx += 'a' - 'A';
    if (cy >= 'A' && cy <= 'Z') cy += 'a' - 'A';
    if (cx != cy) return cx < cy ? -1 : 1;
    if (cx == 0) return 0;
  }
}

bool readTextPiece(FILE* file, char* dest, int maxChars) {
  int n = 0;
  while (n < maxChars) {
    int c = getc(file);
    if (c == EOF) break;
    if (c == '\r') {
      // CR LF and a lone CR (old Mac files) are both one line break.
      c = '\n';
      int next = getc(file);
      if (next != '\n' && next != EOF) ungetc(next, file);
    }
    dest[n++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  dest[n] = '\0';
  return n > 0;
}

FILE* openTextFile(const char* path) {
  FILE* f = fopen(path, "rb");
  if (!f) return nullptr;
  struct stat st;
  if (fstat(fileno(f), &st) == 0 && S_ISDIR(st.st_mode)) {
    fclose(f);
    errno = EISDIR;
    return nullptr;
  }
  skipByteOrderMark(f);
  return f;
}

namespace {

// The handler is reset to the default as it is entered (SA_RESETHAND), so
// raising the signal again ends the process the way the signal would have.
extern "C" void onTerminatingSignal(int sig) {
  int saved = errno;
  PdfRemovePendingTemporary();
  raise(sig);
  errno = saved;
}

}  // namespace

void prepareProcess() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (fcntl(fd, F_GETFD) >= 0 || errno != EBADF) continue;
    int null = open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    if (null >= 0 && null != fd) {
      dup2(null, fd);
      close(null);
    }
  }

  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  sigaction(SIGPIPE, &ignore, nullptr);
  sigaction(SIGXFSZ, &ignore, nullptr);

  struct sigaction cleanup {};
  cleanup.sa_handler = onTerminatingSignal;
  sigemptyset(&cleanup.sa_mask);
  cleanup.sa_flags = SA_RESETHAND;
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
    // A signal the caller chose to ignore (nohup, a background job) stays
    // ignored.
    struct sigaction old;
    if (sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) continue;
    sigaction(sig, &cleanup, nullptr);
  }
}

void skipByteOrderMark(FILE* f) {
  static const int bom[3] = {0xEF, 0xBB, 0xBF};
  // Standard input may start anywhere in a file, where an earlier reader
  // left it; rewinding must go back there, not to the file's start.
  const long start = ftell(f);
  int read[3];
  int n = 0;
  while (n < 3) {
    read[n] = getc(f);
    if (read[n] != bom[n]) break;
    ++n;
  }
  if (n == 3) return;
  // Not a mark: give back what was read. A file can be rewound; a pipe
  // takes the bytes back through ungetc, in reverse order.
  if (read[n] != EOF) ++n;
  if (n == 0) return;
  if (start >= 0 && fseek(f, start, SEEK_SET) == 0) return;
  clearerr(f);
  while (n > 0) ungetc(read[--n], f);
}
