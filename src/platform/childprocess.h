#pragma once
// A child process of the program. This is the one place that knows how processes are made,
// waited for and ended on this system: the jobs and the desktop tools both start theirs here.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vortan {

/// Whether a child gets a visible window. Console programs get none from the launcher here:
/// a job that wants a console window starts a terminal emulator as its child instead.
enum class TShowMode { Hidden, Normal };

/// How a child is started.
struct TChildStart {
  /// The program first, then its arguments. A program name without "/" is looked up in PATH.
  std::vector<std::string> Arguments;
  /// The child's current directory; empty keeps the program's own.
  std::string WorkingDirectory;
  /// The child's environment; null hands on the program's own.
  char* const* Envp = nullptr;
  /// Descriptors for the child's standard input, output and error; -1 hands on the program's.
  int StdIn = -1;
  int StdOut = -1;
  int StdErr = -1;
  /// Standard descriptors not given above go to /dev/null instead of being inherited: a
  /// program in a window of its own must not hold the IDE's output open after the IDE ends.
  bool NullStdio = false;
  TShowMode Show = TShowMode::Hidden;
};

/// One started child. Its signal dispositions are reset and it inherits no descriptor but the
/// three standard ones, so that one job's pipes never leak into another job's child.
class TChildProcess {
 public:
  TChildProcess() = default;
  /// Collects the child's exit status if it has ended; a child still running is left alone.
  ~TChildProcess();
  TChildProcess(const TChildProcess&) = delete;
  TChildProcess& operator=(const TChildProcess&) = delete;

  /// Starts the child. Returns false when it cannot be created (program missing or not
  /// executable, working directory missing ...); `Error()` then holds the system's reason.
  bool Start(const TChildStart& how);
  int Error() const { return error_; }
  pid_t Pid() const { return pid_; }
  bool Ended() const { return ended_; }

  /// Waits until the child has ended (true), or until `wakeFd` is readable or `timeoutMs` has
  /// passed (false). -1 for either means none.
  bool Wait(int wakeFd, int timeoutMs);
  /// Ends this child at once. Processes that it started are not touched.
  void Kill();
  /// The code the child exited with; 128 + the signal number when a signal ended it; 0 when
  /// `Kill` ended it.
  std::uint32_t ExitCode() const;

 private:
  bool Reap(bool block);

  pid_t pid_ = -1;
  int pidfd_ = -1;
  int error_ = 0;
  int status_ = 0;
  bool ended_ = false;
  bool killed_ = false;
};

}  // namespace vortan
