#include "jobs/processthread.h"

namespace vortan {

namespace {

// Without a stop descriptor the stop flag is looked at this often.
constexpr int StopPollMs = 250;

}  // namespace

TProcessThread::TProcessThread(TMainThreadCall runInMainThread)
    : TBaseThread(std::move(runInMainThread)) {}

TProcessThread::~TProcessThread() = default;

std::string TProcessThread::CommandLine() const { return ProgramPath + " " + Parameters; }

bool TProcessThread::StartChild(TChildStart how) {
  std::vector<char*> envp = Environment.Envp();
  how.WorkingDirectory = WorkingDirectory;
  how.Envp = envp.empty() ? nullptr : envp.data();
  const bool started = child_.Start(how);
  ApplyPriority();
  return started;
}

void TProcessThread::WaitChild() {
  while (!child_.Wait(StopEvent(), StopEvent() < 0 ? StopPollMs : -1)) {
    if (StopRequested()) {
      child_.Kill();
      child_.Wait(-1, -1);
      break;
    }
  }
  ExitCode = child_.ExitCode();
}

void TProcessThread::KillChild() { child_.Kill(); }

void TProcessThread::StartAndWatchChild(TChildStart how) {
  if (!StartChild(std::move(how))) {
    ResultCode = jrCantExecute;
    DoError();
    return;
  }
  ResultCode = jrOK;
  DoSuccess();
  WaitChild();
  if (StopRequested()) {
    ResultCode = jrTerminated;
    DoError();
  } else {
    ResultCode = jrOK;
  }
}

}  // namespace vortan
