#include "chart/viewer.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <ctime>

extern char** environ;

namespace {

// Long enough to see an opener that fails at once (no viewer associated),
// short enough not to hold up a script.
constexpr int kEarlyFailureWaitMs = 200;
constexpr int kPollMs = 5;

int exitCode(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : 1;
}

}  // namespace

int openInDefaultViewer(const char* path) {
#if defined(__APPLE__)
  const char* opener = "open";
#else
  const char* opener = "xdg-open";
#endif
  char* argv[] = {const_cast<char*>(opener), const_cast<char*>(path), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  // The opener may outlive the run: it must neither mix its chatter into the
  // log nor hold the caller's pipes open until the viewer closes.
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  // Its own session: the terminal's hang-up and interrupt do not reach it.
  // The run ignores SIGPIPE and SIGXFSZ for its own writes; the opener and
  // the programs it starts expect them at their defaults.
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGXFSZ);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF);
  pid_t pid;
  int rc = posix_spawnp(&pid, opener, &actions, &attributes, argv, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return rc;
  for (int waited = 0; waited < kEarlyFailureWaitMs; waited += kPollMs) {
    int status = 0;
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return exitCode(status);
    if (done < 0 && errno != EINTR) return errno;
    struct timespec pause = {0, kPollMs * 1000000L};
    nanosleep(&pause, nullptr);
  }
  // Still running: it shows the file, or hands it on. Left to run; the
  // system reaps it once this process has ended.
  return 0;
}
