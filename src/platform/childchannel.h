#pragma once
// A child process spoken to over pipes: what is written goes to its standard input, and its
// standard output and error come back joined. The debugger session talks to gdb this way.

#include <string>
#include <string_view>

#include "platform/childprocess.h"

namespace vortan {

class TChildChannel {
 public:
  TChildChannel() = default;
  /// Ends the child if it still runs and closes both pipes.
  ~TChildChannel();
  TChildChannel(const TChildChannel&) = delete;
  TChildChannel& operator=(const TChildChannel&) = delete;

  /// Starts the child with the pipes as its standard handles. False when the pipes cannot be
  /// made or the child cannot start (`Error()` holds the system's reason then).
  bool Start(TChildStart how);
  int Error() const { return child_.Error(); }

  /// Writes all of `data`; false once the child no longer reads.
  bool Write(std::string_view data);
  /// Waits for output and appends what arrived to `chunk`; false at its end (the child closed
  /// its output) or on a read error.
  bool Read(std::string& chunk);

  /// Waits up to `timeoutMs` (-1: for ever) for the child's end.
  bool Wait(int timeoutMs) { return child_.Wait(-1, timeoutMs); }
  void Kill() { child_.Kill(); }
  bool Ended() const { return child_.Ended(); }
  std::uint32_t ExitCode() const { return child_.ExitCode(); }

 private:
  TChildProcess child_;
  int in_ = -1;
  int out_ = -1;
};

}  // namespace vortan
