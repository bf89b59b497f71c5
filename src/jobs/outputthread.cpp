#include "jobs/outputthread.h"

#include <vector>

#include "jobs/commandline.h"

namespace vortan {

TOutputThread::TOutputThread(TMainThreadCall runInMainThread)
    : TProcessThread(std::move(runInMainThread)) {}

TOutputThread::~TOutputThread() = default;

void TOutputThread::Execute() {
  TJobResult result = Capture();
  if (StopRequested()) result = jrTerminated;
  ResultCode = result;
  if (result == jrOK)
    DoSuccess();
  else
    DoError();
}

TJobResult TOutputThread::Capture() {
  Output.clear();
  TToolCapture capture(StopEvent(), [this] { return StopRequested(); });
  // The thread takes its priority once the child is started, so the child keeps the normal one.
  capture.AfterStart = [this] { ApplyPriority(); };
  TChildStart how;
  how.Arguments = SplitCommandLine(CommandLine());
  how.WorkingDirectory = WorkingDirectory;
  std::vector<char*> envp = Environment.Envp();
  how.Envp = envp.empty() ? nullptr : envp.data();
  const TJobResult result = capture.Run(std::move(how));
  Output = std::move(capture.Output);
  ExitCode = capture.ExitCode;
  return result;
}

}  // namespace vortan
