#pragma once
// The capture job: runs a console tool hidden and collects what it writes.

#include <cstddef>
#include <string>

#include "jobs/processthread.h"
#include "jobs/toolcapture.h"

namespace vortan {

/// Runs ProgramPath + " " + Parameters with standard output and error joined into one pipe and
/// standard input a pipe that stays open and is never written, and collects the output. Reads
/// are paced at one turn per 250 ms while the tool runs; the job finishes as soon as the output
/// has ended (and the tool has exited), and a tool that fills the pipe within a turn is read as
/// its output arrives until it falls quiet for a turn.
///
/// Outcome: OnSuccess with jrOK (Output and ExitCode valid; the tool's own exit code is no
/// failure of the job), or OnError with jrPipeFailure, jrHandleFailure, jrCantExecute,
/// jrReadFailure, or jrTerminated after a stop request. Exactly one of the two is called.
class TOutputThread : public TProcessThread {
 public:
  static constexpr int TurnMs = TToolCapture::TurnMs;
  static constexpr std::size_t ReadChunkSize = TToolCapture::ReadChunkSize;

  explicit TOutputThread(TMainThreadCall runInMainThread);

  /// Everything the tool wrote, in arrival order, without NUL bytes.
  std::string Output;

 protected:
  ~TOutputThread() override;
  void Execute() override;

 private:
  TJobResult Capture();
};

}  // namespace vortan
