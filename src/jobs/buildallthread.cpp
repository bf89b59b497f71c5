#include "jobs/buildallthread.h"

#include <algorithm>
#include <filesystem>
#include <thread>

#include "jobs/commandline.h"
#include "jobs/toolcapture.h"
#include "platform/platform.h"

namespace vortan {

TBuildAllThread::TBuildAllThread(TMainThreadCall runInMainThread)
    : TBaseThread(std::move(runInMainThread)) {}

TBuildAllThread::~TBuildAllThread() = default;

bool TBuildAllThread::Compiled() const {
  if (Compiles.size() != Plan.Units.size()) return false;
  for (std::size_t i = 0; i < Compiles.size(); ++i) {
    if (Plan.Units[i].Unreadable) return false;
    if (Compiles[i].Ran && (Compiles[i].Result != jrOK || Compiles[i].ExitCode != 0)) return false;
  }
  return true;
}

bool TBuildAllThread::Linked() const {
  return linkSkipped_ || (Link.Ran && Link.Result == jrOK && Link.ExitCode == 0);
}

std::string TBuildAllThread::Transcript() const {
  std::string out;
  auto add = [&out](const TToolRun& run) {
    if (!run.Ran) return;
    out += run.CommandLine;
    out += '\n';
    out += run.Output;
    if (!run.Output.empty() && run.Output.back() != '\n') out += '\n';
  };
  for (const TToolRun& run : Compiles) add(run);
  add(Link);
  return out;
}

void TBuildAllThread::Report(const std::function<void()>& fn) {
  // Several workers may report at once; the interface thread takes them one by one.
  std::lock_guard<std::mutex> lock(reportLock_);
  RunInMainThread(fn);
}

TToolRun TBuildAllThread::RunTool(const std::string& programPath, const std::string& parameters,
                                  const std::string& directory, std::function<void()> afterStart) {
  TToolRun run;
  run.CommandLine = programPath + " " + parameters;
  run.Ran = true;
  TToolCapture capture(StopEvent(), [this] { return StopRequested(); });
  capture.AfterStart = std::move(afterStart);
  TChildStart how;
  how.Arguments = SplitCommandLine(run.CommandLine);
  how.WorkingDirectory = directory;
  how.Envp = envp_.empty() ? nullptr : envp_.data();
  run.Result = capture.Run(std::move(how));
  if (StopRequested()) run.Result = jrTerminated;
  run.ExitCode = capture.ExitCode;
  run.Output = std::move(capture.Output);
  return run;
}

void TBuildAllThread::CompileWorker() {
  for (;;) {
    std::size_t index;
    {
      std::lock_guard<std::mutex> lock(queueLock_);
      if (next_ >= queue_.size() || StopRequested()) return;
      index = queue_[next_++];
    }
    const TBuildUnit& unit = Plan.Units[index];
    std::error_code ec;
    std::filesystem::remove(unit.Stamp, ec);
    // The interface hears of a compile once the compiler runs: waiting for a busy interface
    // thread first would hold the compiler back.
    TToolRun run = RunTool(unit.ProgramPath, unit.Parameters, unit.WorkingDirectory, [this, &unit] {
      if (OnCompiling)
        Report([this, &unit] {
          if (OnCompiling) OnCompiling(unit.File.Document);
        });
    });
    if (run.Result == jrOK && run.ExitCode == 0 && platform::FileExists(unit.Object))
      WriteStamp(unit.Stamp, unit.Fingerprint);
    else
      std::filesystem::remove(unit.Object, ec);
    Compiles[index] = std::move(run);
  }
}

void TBuildAllThread::Execute() {
  envp_ = Environment.Envp();
  Compiles.assign(Plan.Units.size(), TToolRun());
  for (std::size_t i = 0; i < Plan.Units.size(); ++i)
    if (!Plan.Units[i].UpToDate && !Plan.Units[i].Unreadable) queue_.push_back(i);

  unsigned workers = Parallel != 0 ? Parallel : std::max(1u, std::thread::hardware_concurrency());
  if (workers > queue_.size()) workers = static_cast<unsigned>(queue_.size());
  std::vector<std::thread> helpers;
  for (unsigned i = 1; i < workers; ++i)
    helpers.emplace_back(&TBuildAllThread::CompileWorker, this);
  CompileWorker();
  for (std::thread& t : helpers) t.join();

  TJobResult failure = jrOK;
  for (const TToolRun& run : Compiles)
    if (run.Ran && run.Result != jrOK && failure == jrOK) failure = run.Result;

  if (failure == jrOK && !StopRequested() && !Compiled() && Plan.CanLink()) {
    // The program no longer matches its sources: it must not be run as if it did.
    std::error_code ec;
    std::filesystem::remove(Plan.LinkStamp, ec);
    std::filesystem::remove(Plan.Program, ec);
  }
  if (failure == jrOK && !StopRequested() && Compiled() && Plan.CanLink()) {
    const bool same =
        platform::FileExists(Plan.Program) && ReadStamp(Plan.LinkStamp) == Plan.LinkFingerprint;
    if (same) {
      linkSkipped_ = true;
    } else {
      std::error_code ec;
      std::filesystem::remove(Plan.LinkStamp, ec);
      std::filesystem::remove(Plan.Program, ec);
      Link = RunTool(Plan.LinkProgramPath, Plan.LinkParameters, Plan.LinkDirectory, [this] {
        if (OnLinking)
          Report([this] {
            if (OnLinking) OnLinking();
          });
      });
      if (Link.Result != jrOK)
        failure = Link.Result;
      else if (Link.ExitCode == 0)
        WriteStamp(Plan.LinkStamp, Plan.LinkFingerprint);
    }
  }
  if (StopRequested()) failure = jrTerminated;
  ResultCode = failure;
  if (failure == jrOK)
    DoSuccess();
  else
    DoError();
}

}  // namespace vortan
