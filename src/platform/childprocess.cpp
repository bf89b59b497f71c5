#include "platform/childprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace vortan {

namespace {

// Where the system cannot hand out a descriptor for the child, its end is looked for this often.
constexpr int PollSliceMs = 5;

int OpenPidFd(pid_t pid) {
#ifdef SYS_pidfd_open
  return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
  (void)pid;
  return -1;
#endif
}

}  // namespace

TChildProcess::~TChildProcess() {
  if (pid_ > 0 && !ended_) Reap(false);
  if (pidfd_ >= 0) ::close(pidfd_);
}

bool TChildProcess::Start(const TChildStart& how) {
  if (how.Arguments.empty() || how.Arguments.front().empty()) {
    error_ = ENOENT;
    return false;
  }
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attr);

  const int given[3] = {how.StdIn, how.StdOut, how.StdErr};
  for (int fd = 0; fd < 3; ++fd) {
    if (given[fd] >= 0)
      posix_spawn_file_actions_adddup2(&actions, given[fd], fd);
    else if (how.NullStdio)
      posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  }
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  if (!how.WorkingDirectory.empty())
    posix_spawn_file_actions_addchdir_np(&actions, how.WorkingDirectory.c_str());

  // The program may ignore SIGPIPE or block signals; a tool must start with the defaults.
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  sigdelset(&all, SIGKILL);
  sigdelset(&all, SIGSTOP);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &all);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::vector<char*> argv;
  argv.reserve(how.Arguments.size() + 1);
  for (const std::string& a : how.Arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);

  pid_t pid = -1;
  const int rc =
      posix_spawnp(&pid, argv[0], &actions, &attr, argv.data(), how.Envp ? how.Envp : environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attr);
  if (rc != 0) {
    error_ = rc;
    return false;
  }
  pid_ = pid;
  pidfd_ = OpenPidFd(pid);
  return true;
}

bool TChildProcess::Reap(bool block) {
  if (ended_) return true;
  if (pid_ <= 0) return false;
  for (;;) {
    int status = 0;
    const pid_t r = ::waitpid(pid_, &status, block ? 0 : WNOHANG);
    if (r == pid_) {
      status_ = status;
      ended_ = true;
      return true;
    }
    if (r == 0) return false;
    if (errno == EINTR) continue;
    // Someone else collected it (SIGCHLD ignored): it has ended, its status is lost.
    ended_ = true;
    return true;
  }
}

bool TChildProcess::Wait(int wakeFd, int timeoutMs) {
  if (pid_ <= 0 || Reap(false)) return true;
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
  for (;;) {
    int slice = -1;
    if (timeoutMs >= 0) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      slice = static_cast<int>(std::max<long long>(left, 0));
    }
    pollfd fds[2];
    nfds_t n = 0;
    if (pidfd_ >= 0)
      fds[n++] = {pidfd_, POLLIN, 0};
    else
      slice = slice < 0 ? PollSliceMs : std::min(slice, PollSliceMs);
    const nfds_t wakeAt = n;
    if (wakeFd >= 0) fds[n++] = {wakeFd, POLLIN, 0};
    const int r = ::poll(fds, n, slice);
    if (Reap(false)) return true;
    if (r > 0 && wakeFd >= 0 && (fds[wakeAt].revents & POLLIN)) return false;
    if (timeoutMs >= 0 && Clock::now() >= deadline) return false;
  }
}

void TChildProcess::Kill() {
  if (pid_ <= 0 || ended_) return;
  // Only this process: the run job's terminal or interpreter may have started others that
  // the user still wants.
  if (::kill(pid_, SIGKILL) == 0) killed_ = true;
}

std::uint32_t TChildProcess::ExitCode() const {
  if (!ended_) return 0;
  if (WIFEXITED(status_)) return static_cast<std::uint32_t>(WEXITSTATUS(status_));
  if (WIFSIGNALED(status_)) {
    if (killed_ && WTERMSIG(status_) == SIGKILL) return 0;
    return 128u + static_cast<std::uint32_t>(WTERMSIG(status_));
  }
  return 0;
}

}  // namespace vortan
