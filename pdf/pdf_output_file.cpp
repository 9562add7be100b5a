#include "pdf/pdf_output_file.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "pdf/pdf_exception.h"
#include "pdf/pdf_stream.h"

namespace {

[[noreturn]] void fail(int err) { throw PdfException(PDF_ERR_WRITE, "ERROR: cannot write to stream(%d).", err); }

// The temporary file of the save in progress, for a signal handler to remove.
// Set and cleared only while the terminating signals are blocked or after the
// file is gone, so the handler never sees half a name.
char pendingPath[PATH_MAX + 1];
volatile sig_atomic_t pendingSet = 0;

class TerminatingSignalsBlocked {
 public:
  TerminatingSignalsBlocked() {
    sigset_t block;
    sigemptyset(&block);
    sigaddset(&block, SIGINT);
    sigaddset(&block, SIGTERM);
    sigaddset(&block, SIGHUP);
    sigprocmask(SIG_BLOCK, &block, &saved_);
  }
  ~TerminatingSignalsBlocked() { sigprocmask(SIG_SETMASK, &saved_, nullptr); }

 private:
  sigset_t saved_;
};

void setPending(const std::string& path) {
  if (path.size() >= sizeof pendingPath) return;
  std::memcpy(pendingPath, path.c_str(), path.size() + 1);
  std::atomic_signal_fence(std::memory_order_seq_cst);
  pendingSet = 1;
}

// Unlinked first: a signal in between only repeats the unlink.
void discardPending(const std::string& path) {
  unlink(path.c_str());
  pendingSet = 0;
}

// Where a name leads after its chain of symbolic links.
struct Target {
  std::string path;  // the name finally written or created
  bool exists = false;
  struct stat st {};
};

Target resolve(const char* fileName) {
  Target t;
  t.path = fileName;
  // 40 is the kernel's own limit on links followed for one name.
  for (int hops = 0;; ++hops) {
    if (lstat(t.path.c_str(), &t.st) != 0) {
      if (errno != ENOENT) fail(errno);
      return t;  // a new name, or the missing end of a dangling link
    }
    if (!S_ISLNK(t.st.st_mode)) {
      t.exists = true;
      return t;
    }
    if (hops == 40) fail(ELOOP);
    char buf[PATH_MAX];
    ssize_t n = readlink(t.path.c_str(), buf, sizeof buf);
    if (n < 0) fail(errno);
    if (n == 0) fail(ENOENT);
    if (n == static_cast<ssize_t>(sizeof buf)) fail(ENAMETOOLONG);
    std::string next(buf, static_cast<size_t>(n));
    // A relative link is relative to the folder that holds it.
    if (next[0] != '/') next = t.path.substr(0, t.path.rfind('/') + 1) + next;
    if (next.size() >= PATH_MAX) fail(ENAMETOOLONG);
    t.path = next;
  }
}

// The replaced file's owner, group and mode carry over as far as the process
// may set them; set-id bits only stay with the owner or group they belonged to.
void keepOwnerAndMode(int fd, const struct stat& old) {
  struct stat now;
  if (fstat(fd, &now) != 0) return;
  if (now.st_uid != old.st_uid || now.st_gid != old.st_gid) {
    if (fchown(fd, old.st_uid, old.st_gid) != 0 && fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) {
    }
    if (fstat(fd, &now) != 0) return;
  }
  mode_t mode = old.st_mode & 07777;
  if (now.st_uid != old.st_uid) mode &= ~S_ISUID;
  if (now.st_gid != old.st_gid) mode &= ~S_ISGID;
  fchmod(fd, mode);
}

void writeAll(int fd, PdfFileWriter writer, void* context) {
  FILE* file = fdopen(fd, "wb");
  if (!file) {
    int err = errno;
    close(fd);
    fail(err);
  }
  PdfFileStream stream(file, true);
  writer(context, &stream);
  stream.Close();
}

// Errors that refuse a replace but may still let the file be written: the
// folder takes no new file, the sticky bit protects the name, or the name is
// a mount point of its own.
bool replaceRefused(int err) { return err == EACCES || err == EPERM || err == EBUSY || err == EXDEV; }

// Writes a temporary file beside the target and renames it over the target.
// Returns false, leaving nothing behind, when the replace is refused and the
// caller may write in place instead.
bool replace(const Target& t, PdfFileWriter writer, void* context, bool mayWriteInPlace) {
  // The temporary name does not grow with the target's, which may already be
  // as long as a name can be.
  const std::string folder = t.path.substr(0, t.path.rfind('/') + 1);
  std::string tmpName;
  int fd = -1;
  int err = 0;
  {
    TerminatingSignalsBlocked blocked;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
      tmpName = folder + ".plotvane-" + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".tmp";
      fd = open(tmpName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd < 0 && errno != EEXIST) break;
    }
    err = errno;
    if (fd >= 0) setPending(tmpName);
  }
  if (fd < 0) {
    if (mayWriteInPlace && replaceRefused(err)) return false;
    fail(err);
  }
  if (t.exists) keepOwnerAndMode(fd, t.st);
  try {
    writeAll(fd, writer, context);
  } catch (...) {
    discardPending(tmpName);
    throw;
  }
  if (rename(tmpName.c_str(), t.path.c_str()) != 0) {
    err = errno;
    discardPending(tmpName);
    if (mayWriteInPlace && replaceRefused(err)) return false;
    fail(err);
  }
  pendingSet = 0;
  return true;
}

// No O_CREAT: the target exists, and a name that vanished meanwhile is an
// error rather than a new file made without the replace's care.
void writeInPlace(const Target& t, PdfFileWriter writer, void* context) {
  int flags = O_WRONLY | O_NOCTTY | O_CLOEXEC;
  if (S_ISREG(t.st.st_mode)) flags |= O_TRUNC;
  int fd = open(t.path.c_str(), flags);
  if (fd < 0) fail(errno);
  struct stat st;
  int err = fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
  if (err != 0) {
    close(fd);
    fail(err);
  }
  writeAll(fd, writer, context);
}

}  // namespace

void PdfWriteOutputFile(const char* fileName, PdfFileWriter writer, void* context) {
  Target t = resolve(fileName);
  if (t.exists && S_ISDIR(t.st.st_mode)) fail(EISDIR);
  if (!t.exists || S_ISREG(t.st.st_mode)) {
    // A file the user may not write is not replaced either, as opening it
    // would fail.
    if (t.exists && faccessat(AT_FDCWD, t.path.c_str(), W_OK, AT_EACCESS) != 0) fail(errno);
    if (replace(t, writer, context, t.exists)) return;
  }
  // FIFOs, devices and the like are written through, never replaced by a
  // regular file.
  writeInPlace(t, writer, context);
}

void PdfRemovePendingTemporary() {
  if (pendingSet) unlink(pendingPath);
}
