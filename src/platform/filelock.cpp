#include "platform/filelock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <iterator>
#include <thread>

namespace vortan::platform {

TFileLock::~TFileLock() { Close(); }

int TFileLock::Open(const std::string& path, bool create) {
  Close();
  const int flags = O_CLOEXEC | O_NOFOLLOW | O_NOCTTY;
  int fd = ::open(path.c_str(), O_RDWR | flags | (create ? O_CREAT : 0), 0644);
  // A lock file we may not write (another user's store, a read-only folder) still locks.
  if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
    fd = ::open(path.c_str(), O_RDONLY | flags);
  if (fd < 0) return errno;
  struct stat st {};
  const int err = ::fstat(fd, &st) != 0 ? errno : S_ISREG(st.st_mode) ? 0 : EINVAL;
  if (err) {
    ::close(fd);
    return err;
  }
  fd_ = fd;
  return 0;
}

void TFileLock::Close() {
  // A child process between fork and exec may still share the descriptor: unlock explicitly.
  Unlock();
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

bool TFileLock::Lock(int timeoutMs) {
  if (fd_ < 0) return false;
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  // Short waits first: a transaction of the other side usually ends within milliseconds.
  static constexpr int DelaysMs[] = {1, 2, 5, 10, 15, 20, 25, 25, 25, 50, 50, 100};
  size_t step = 0;
  for (;;) {
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
      held_ = true;
      return true;
    }
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) return false;
    const auto now = Clock::now();
    if (now >= deadline) return false;
    auto delay = std::chrono::milliseconds(DelaysMs[step]);
    if (step + 1 < std::size(DelaysMs)) ++step;
    std::this_thread::sleep_for(std::min<Clock::duration>(delay, deadline - now));
  }
}

void TFileLock::Unlock() {
  if (fd_ >= 0 && held_) ::flock(fd_, LOCK_UN);
  held_ = false;
}

}  // namespace vortan::platform
