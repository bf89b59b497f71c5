#pragma once
// One console tool run hidden with its standard output and error joined into one pipe, and
// everything it writes collected. The capture job runs one; the build of several files runs
// several side by side.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "jobs/jobresult.h"
#include "platform/childprocess.h"

namespace vortan {

/// Standard input is a pipe that stays open and is never written. Reads are paced at one turn
/// per TurnMs while the tool runs; the capture ends as soon as the output has ended (and the
/// tool has exited), and a tool that fills the pipe within a turn is read as its output
/// arrives until it falls quiet for a turn.
class TToolCapture {
 public:
  static constexpr int TurnMs = 250;
  static constexpr std::size_t ReadChunkSize = 16367;

  /// `stopEvent` becomes readable and `stopRequested` true once the tool is to be ended; the
  /// event may be -1 (then the flag is looked at once per turn).
  TToolCapture(int stopEvent, std::function<bool()> stopRequested);

  /// Runs after the child has been started and before the first read (the capture job gives
  /// its thread its priority there, so the child keeps the normal one).
  std::function<void()> AfterStart;

  /// Runs the tool; `how` gives the arguments, working directory and environment (its
  /// standard handles are set here). jrOK when the tool ran to its end (its own exit code is
  /// no failure); jrPipeFailure, jrHandleFailure, jrCantExecute or jrReadFailure otherwise. A
  /// stop ends the tool and returns jrOK with what was read; the caller looks at the flag.
  TJobResult Run(TChildStart how);

  /// Everything the tool wrote, in arrival order, without NUL bytes.
  std::string Output;
  /// The tool's exit code (see TChildProcess::ExitCode); 0 until it has ended.
  std::uint32_t ExitCode = 0;
  /// The most bytes kept; 0 means no limit. A tool that writes more is ended, and what it
  /// wrote up to the limit is kept, so a flooding tool cannot fill the memory.
  std::size_t OutputLimit = 0;
  /// The tool wrote more than OutputLimit and was ended.
  bool Truncated = false;

 private:
  bool Stopped() const { return stopRequested_ && stopRequested_(); }
  void WaitTurn(int fd, bool forData);
  void WaitChild();
  void Append(const char* data, std::size_t size);

  int stopEvent_;
  std::function<bool()> stopRequested_;
  TChildProcess child_;
};

}  // namespace vortan
