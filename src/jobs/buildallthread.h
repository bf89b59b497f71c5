#pragma once
// The Compile All job: compiles the files of a build plan that changed, side by side, and
// links the program.

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "jobs/basethread.h"
#include "jobs/buildplan.h"
#include "jobs/environment.h"

namespace vortan {

/// The outcome of one tool run of the build.
struct TToolRun {
  std::string CommandLine;
  TJobResult Result = jrUnknownFailure;
  std::uint32_t ExitCode = 0;
  std::string Output;
  bool Ran = false;
};

/// Compiles every unit of Plan that is not up to date, up to Parallel at a time, each with the
/// compiler's Environment in its source's folder. A unit's stamp is removed before its compile
/// and written after a clean one, so an object is reused only when it was made from the same
/// text. When every unit compiled and the plan has one main program, the program is linked
/// (an older program of that name is removed first, and also when a compile failed, so a
/// failed build never leaves it to be run); a link whose objects and command are unchanged and
/// whose program exists is skipped.
///
/// Outcome: OnSuccess with jrOK once the tools ran (their exit codes tell how: see Compiled,
/// Linked); OnError with jrCantExecute (the compiler cannot be started), jrTerminated
/// (stopped: running tools are ended) or another failure code.
class TBuildAllThread : public TBaseThread {
 public:
  explicit TBuildAllThread(TMainThreadCall runInMainThread);

  TBuildPlan Plan;
  TEnvironment Environment;
  /// Compiles at once; 0 takes the number of processors.
  unsigned Parallel = 0;

  /// Called in the interface thread as a unit's compile begins, with its document's name.
  std::function<void(const std::string& document)> OnCompiling;
  /// Called in the interface thread when the link begins.
  std::function<void()> OnLinking;

  /// One per unit of Plan, in order; Ran is false for an up-to-date unit.
  std::vector<TToolRun> Compiles;
  TToolRun Link;

  /// Every unit is compiled (or was up to date) without error.
  bool Compiled() const;
  /// The program was linked now, or was up to date.
  bool Linked() const;
  bool LinkSkipped() const { return linkSkipped_; }

  /// What the build did, as the Output panel shows it: each command line that ran followed by
  /// what the tool wrote.
  std::string Transcript() const;

 protected:
  ~TBuildAllThread() override;
  void Execute() override;
  /// The job's thread keeps the normal priority: the compilers it starts would inherit any
  /// other, and it only waits for them.
  bool PriorityBeforeBody() const override { return false; }

 private:
  void CompileWorker();
  /// `afterStart` runs once the tool has been started (or failed to start), while it works.
  TToolRun RunTool(const std::string& programPath, const std::string& parameters,
                   const std::string& directory, std::function<void()> afterStart = nullptr);
  void Report(const std::function<void()>& fn);

  std::vector<std::size_t> queue_;
  std::size_t next_ = 0;
  std::mutex queueLock_;
  std::mutex reportLock_;
  std::vector<char*> envp_;
  bool linkSkipped_ = false;
};

}  // namespace vortan
