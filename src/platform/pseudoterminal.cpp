#include "platform/pseudoterminal.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

namespace vortan {

TPseudoTerminal::~TPseudoTerminal() {
  if (master_ >= 0) ::close(master_);
}

bool TPseudoTerminal::Open() {
  master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) return false;
  if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) return false;
  const char* name = ::ptsname(master_);
  if (!name) return false;
  slave_ = name;
  return true;
}

bool TPseudoTerminal::Type(std::string_view text) {
  while (!text.empty()) {
    const ssize_t n = ::write(master_, text.data(), text.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    text.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool TPseudoTerminal::Read(std::string& text, int timeoutMs) {
  pollfd p{master_, POLLIN, 0};
  if (::poll(&p, 1, timeoutMs) <= 0 || !(p.revents & POLLIN)) return false;
  char buffer[4096];
  const ssize_t n = ::read(master_, buffer, sizeof buffer);
  if (n <= 0) return false;
  text.append(buffer, static_cast<std::size_t>(n));
  return true;
}

}  // namespace vortan
