#include "jobs/toolcapture.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

namespace vortan {

namespace {

// Without a stop descriptor the stop flag is looked at this often while the tool ends.
constexpr int StopPollMs = 250;

class TFd {
 public:
  TFd() = default;
  ~TFd() { Reset(); }
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  int Get() const { return fd_; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  }

 private:
  int fd_ = -1;
};

bool MakePipe(TFd& read, TFd& write) {
  int fds[2];
  // Close-on-exec: another job's child must never hold this pipe open.
  if (::pipe2(fds, O_CLOEXEC) != 0) return false;
  read.Reset(fds[0]);
  write.Reset(fds[1]);
  return true;
}

}  // namespace

TToolCapture::TToolCapture(int stopEvent, std::function<bool()> stopRequested)
    : stopEvent_(stopEvent), stopRequested_(std::move(stopRequested)) {}

TJobResult TToolCapture::Run(TChildStart how) {
  Output.clear();
  ExitCode = 0;
  Truncated = false;
  TFd outRead, outWrite, inRead, inWrite;
  if (!MakePipe(outRead, outWrite)) return jrPipeFailure;
  if (!MakePipe(inRead, inWrite)) return jrPipeFailure;
  const int flags = ::fcntl(outRead.Get(), F_GETFL);
  if (flags < 0 || ::fcntl(outRead.Get(), F_SETFL, flags | O_NONBLOCK) != 0) return jrHandleFailure;

  how.StdIn = inRead.Get();
  how.StdOut = outWrite.Get();
  how.StdErr = outWrite.Get();
  how.Show = TShowMode::Hidden;
  const bool started = child_.Start(how);
  if (AfterStart) AfterStart();
  if (!started) return jrCantExecute;
  // Only the child (and what it starts) may hold the writing end, so the pipe ends with it.
  outWrite.Reset();
  inRead.Reset();

  int capacity = ::fcntl(outRead.Get(), F_GETPIPE_SZ);
  if (capacity <= 0) capacity = 65536;
  std::vector<char> buffer(ReadChunkSize);
  // A tool that fills the pipe within a turn is kept up with (read as its output arrives) until
  // it leaves a whole turn without output; otherwise the pace would throttle it.
  bool keepUp = false;
  bool ended = false;
  while (!ended && !Stopped() && !Truncated) {
    WaitTurn(outRead.Get(), keepUp);
    std::size_t got = 0;
    while (got < static_cast<std::size_t>(capacity) && !Truncated) {
      const ssize_t n = ::read(outRead.Get(), buffer.data(), buffer.size());
      if (n > 0) {
        Append(buffer.data(), static_cast<std::size_t>(n));
        got += static_cast<std::size_t>(n);
      } else if (n == 0) {
        ended = true;
        break;
      } else if (errno == EINTR) {
        continue;
      } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
        break;
      } else {
        // The output is lost to us; a tool left running could only block or die on it.
        child_.Kill();
        WaitChild();
        return jrReadFailure;
      }
    }
    if (got >= static_cast<std::size_t>(capacity))
      keepUp = true;
    else if (got == 0)
      keepUp = false;
  }
  if (Stopped() || Truncated) child_.Kill();
  WaitChild();
  // Standard input stays open until the tool has ended, so it never sees its end.
  inWrite.Reset();
  return jrOK;
}

void TToolCapture::WaitChild() {
  while (!child_.Wait(stopEvent_, stopEvent_ < 0 ? StopPollMs : -1)) {
    if (Stopped()) {
      child_.Kill();
      child_.Wait(-1, -1);
      break;
    }
  }
  ExitCode = child_.ExitCode();
}

void TToolCapture::WaitTurn(int fd, bool forData) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(TurnMs);
  // Without POLLIN, poll reports only the pipe's hang-up, not output waiting in it.
  const short events = forData ? POLLIN : 0;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return;
    pollfd fds[2] = {{fd, events, 0}, {stopEvent_, POLLIN, 0}};
    const int r = ::poll(fds, stopEvent_ >= 0 ? 2 : 1, static_cast<int>(left));
    if (r > 0) return;
    if (r < 0 && errno != EINTR) return;
  }
}

void TToolCapture::Append(const char* data, std::size_t size) {
  // NUL bytes are dropped one by one; the text around them is kept.
  while (size > 0) {
    const void* nul = std::memchr(data, '\0', size);
    std::size_t run = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - data) : size;
    if (OutputLimit != 0 && Output.size() + run > OutputLimit) {
      Output.append(data, OutputLimit - Output.size());
      Truncated = true;
      return;
    }
    Output.append(data, run);
    if (!nul) break;
    data += run + 1;
    size -= run + 1;
  }
}

}  // namespace vortan
