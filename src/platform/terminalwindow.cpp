#include "platform/terminalwindow.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "platform/platform.h"
#include "platform/terminal.h"

namespace vortan {

TTerminalWindow::~TTerminalWindow() { Close(); }

bool TTerminalWindow::Open(const std::string& terminal, int timeoutMs) {
  Close();
  // The window's shell tells its terminal's name through a FIFO in a private folder, then
  // sleeps, so nothing but the debugged program reads from that terminal.
  std::string dir = platform::IncludeTrailingSeparator(
                        platform::GetEnv("TMPDIR").empty() ? "/tmp" : platform::GetEnv("TMPDIR")) +
                    "vortan-tty-XXXXXX";
  if (!::mkdtemp(dir.data())) return false;
  const std::string fifo = dir + "/tty";
  bool ok = ::mkfifo(fifo.c_str(), 0600) == 0;
  if (ok) {
    TChildStart how;
    how.Arguments = platform::TerminalCommand(
        terminal,
        {"/bin/sh", "-c", "tty > \"$1\"; trap '' INT; exec sleep 2147483647", "sh", fifo});
    how.Show = TShowMode::Normal;
    how.NullStdio = true;
    child_ = std::make_unique<TChildProcess>();
    ok = child_->Start(how);
  }
  if (ok) {
    // Non-blocking open, so a window that never starts cannot hang the caller.
    const int fd = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ok = fd >= 0;
    std::string name;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (ok && name.find('\n') == std::string::npos) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                            deadline - std::chrono::steady_clock::now())
                            .count();
      if (left <= 0 || child_->Ended()) break;
      // A FIFO no writer has opened yet wakes nobody: the wait is cut into turns, so a
      // terminal that ends without naming its terminal is seen at once.
      pollfd p{fd, POLLIN, 0};
      if (::poll(&p, 1, static_cast<int>(std::min<long long>(left, 100))) > 0 &&
          (p.revents & POLLIN)) {
        char buffer[256];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) name.append(buffer, static_cast<std::size_t>(n));
      } else {
        child_->Wait(-1, 0);
      }
    }
    if (fd >= 0) ::close(fd);
    const auto newline = name.find('\n');
    ok = ok && newline != std::string::npos && name.rfind("/dev/", 0) == 0;
    if (ok) tty_ = name.substr(0, newline);
  }
  ::unlink(fifo.c_str());
  ::rmdir(dir.c_str());
  if (!ok) Close();
  return ok;
}

void TTerminalWindow::Close() {
  if (child_ && child_->Pid() > 0 && !child_->Ended()) child_->Kill();
  child_.reset();
  tty_.clear();
}

}  // namespace vortan
