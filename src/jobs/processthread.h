#pragma once
// A worker job that owns one child process.

#include <cstdint>
#include <string>

#include "jobs/basethread.h"
#include "jobs/environment.h"
#include "platform/childprocess.h"

namespace vortan {

/// A job whose body starts a child process and waits for it. A stop request ends the direct
/// child only (never processes it started in turn).
class TProcessThread : public TBaseThread {
 public:
  explicit TProcessThread(TMainThreadCall runInMainThread);

  /// The child's environment; left untouched, the child inherits the program's own.
  TEnvironment Environment;
  /// The child's current directory; empty keeps the program's own.
  std::string WorkingDirectory;
  /// The program as the command line begins: in double quotes where it may hold blanks.
  std::string ProgramPath;
  std::string Parameters;
  /// The child's exit code (see TChildProcess::ExitCode); 0 until it has ended.
  std::uint32_t ExitCode = 0;

  /// ProgramPath + " " + Parameters.
  std::string CommandLine() const;

 protected:
  ~TProcessThread() override;

  bool PriorityBeforeBody() const override { return false; }

  /// Starts the child with this job's working directory and environment, then gives the
  /// thread its priority (so the child keeps the normal one). False when the child cannot be
  /// created.
  bool StartChild(TChildStart how);
  /// Waits until the child has ended, ending it when a stop is requested, and sets ExitCode.
  void WaitChild();
  /// Kills the child unless it has ended already.
  void KillChild();
  /// The run and debug body: start the child (jrCantExecute through OnError when it cannot
  /// be), report the start through OnSuccess, wait for the end, and report jrTerminated
  /// through OnError when it was stopped; ResultCode is jrOK otherwise.
  void StartAndWatchChild(TChildStart how);

 private:
  TChildProcess child_;
};

}  // namespace vortan
