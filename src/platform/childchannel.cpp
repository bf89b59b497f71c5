#include "platform/childchannel.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vortan {

TChildChannel::~TChildChannel() {
  if (!child_.Ended() && child_.Pid() > 0) child_.Kill();
  if (in_ >= 0) ::close(in_);
  if (out_ >= 0) ::close(out_);
}

bool TChildChannel::Start(TChildStart how) {
  int toChild[2];
  int fromChild[2];
  // Close-on-exec: no other child may hold these pipes open, or the end would never be seen.
  if (::pipe2(toChild, O_CLOEXEC) != 0) return false;
  if (::pipe2(fromChild, O_CLOEXEC) != 0) {
    ::close(toChild[0]);
    ::close(toChild[1]);
    return false;
  }
  how.StdIn = toChild[0];
  how.StdOut = fromChild[1];
  how.StdErr = fromChild[1];
  const bool started = child_.Start(how);
  ::close(toChild[0]);
  ::close(fromChild[1]);
  in_ = toChild[1];
  out_ = fromChild[0];
  return started;
}

bool TChildChannel::Write(std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(in_, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool TChildChannel::Read(std::string& chunk) {
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(out_, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    chunk.append(buffer, static_cast<std::size_t>(n));
    return true;
  }
}

}  // namespace vortan
