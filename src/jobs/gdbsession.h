#pragma once
// A debugging session: gdb on a program over its machine interface (gdb/MI). Commands carry
// tokens and wait for their answer; a reader thread takes gdb's output, answers the waiting
// command and queues the program's stops and ends as events.

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "jobs/debugdata.h"
#include "jobs/mirecord.h"
#include "platform/childchannel.h"

namespace vortan {

struct TGdbStart {
  std::string Gdb = "gdb";
  std::string Program;
  std::string WorkingDirectory;
  /// The terminal the program reads and writes (gdb's inferior terminal); empty keeps gdb's.
  std::string Tty;
  char* const* Envp = nullptr;
};

/// Why a session did not start.
enum class TGdbFailure { None, Missing, CannotStart, NoAnswer, CannotLoad };

class TGdbSession {
 public:
  static constexpr int CommandTimeoutMs = 15000;

  TGdbSession() = default;
  /// Ends gdb (and so the program) if it still runs.
  ~TGdbSession();
  TGdbSession(const TGdbSession&) = delete;
  TGdbSession& operator=(const TGdbSession&) = delete;

  /// Called on the reader thread whenever an event was queued: take it with NextEvent.
  std::function<void()> OnEvent;

  /// Starts gdb on the program and prepares it (Fortran, the terminal, a stop on Fortran
  /// run-time errors); the program is not run yet. False when gdb is missing, cannot start,
  /// or does not load the program: `Failure()` says which, `detail` holds the name or gdb's
  /// own message.
  bool Start(const TGdbStart& how, std::string& detail);
  TGdbFailure Failure() const { return failure_; }
  bool Active() const;
  TDebugState State() const;

  /// Sends an MI command and waits for its answer; an Invalid record when gdb has ended or
  /// did not answer in time. Console text printed meanwhile goes to `console`.
  TMiRecord Command(const std::string& command, std::string* console = nullptr,
                    int timeoutMs = CommandTimeoutMs);
  /// Takes the oldest event, waiting up to `timeoutMs` for one; false when none came.
  bool NextEvent(TDebugEvent& event, int timeoutMs);

  TBreakpointPlace InsertBreakpoint(const std::string& file, int line,
                                    const std::string& condition = {}, int ignoreCount = 0,
                                    bool temporary = false);
  bool DeleteBreakpoint(int number);
  bool SetCondition(int number, const std::string& condition);
  bool SetIgnoreCount(int number, int count);

  bool Run();
  bool Continue();
  bool StepOver();
  bool StepInto();
  bool StepOut();
  bool RunToLine(const std::string& file, int line);
  bool Pause();
  /// Ends the program and gdb; waits for gdb's end.
  void Stop();

  /// A stop outside the program's own code (a signal in the run-time library, a Fortran
  /// run-time error) selects the innermost frame of the program's code and fills in the
  /// event's place from it.
  void SelectUserFrame(TDebugEvent& event);

  std::vector<TStackFrame> Frames();
  /// The arguments and local variables of frame `level`, COMMON members grouped by block.
  std::vector<TDebugVariable> Variables(int level);
  /// The parts of an array variable (or array part) in the frame `level`: `count` of them
  /// from the `from`th, along its last dimension.
  std::vector<TDebugVariable> Children(TDebugVariable& parent, int level, long from, long count);
  /// Reads a Fortran expression in frame `level`; false with gdb's message in `value` when
  /// it cannot be read.
  bool Evaluate(const std::string& expression, int level, std::string& value);

 private:
  void ReadLoop();
  void Handle(const TMiRecord& record);
  void Queue(TDebugEvent event);
  bool Exec(const std::string& command);
  bool SelectFrame(int level);
  void DropVarObjects();

  TChildChannel gdb_;
  std::thread reader_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::mutex commandMutex_;
  long nextToken_ = 1;
  long waitingToken_ = -1;
  std::string waitingConsole_;
  std::map<long, TMiRecord> answers_;
  std::deque<TDebugEvent> events_;
  TDebugState state_ = TDebugState::Idle;
  bool ended_ = true;
  TGdbFailure failure_ = TGdbFailure::None;
  std::vector<int> runtimeErrorBreaks_;
  std::vector<std::string> varObjects_;
};

}  // namespace vortan
