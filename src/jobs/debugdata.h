#pragma once
// What the debugger session reports: why the program stopped or ended, its frames, its
// variables and where a breakpoint landed.

#include <string>
#include <vector>

#include "jobs/fortranvalue.h"

namespace vortan {

enum class TDebugState { Idle, Running, Stopped, Exited };

struct TDebugEvent {
  enum TKind {
    Running,
    Stopped,   ///< breakpoint, step, pause, signal or run-time error: the program waits
    Exited,    ///< the program ended (ExitCode)
    GdbEnded,  ///< the debugger itself ended
  };
  TKind Kind = Stopped;
  /// gdb's reason: "breakpoint-hit", "end-stepping-range", "function-finished",
  /// "signal-received", "exited-normally", "exited", "exited-signalled" ...; "runtime-error"
  /// for a Fortran run-time error (such as a subscript out of bounds).
  std::string Reason;
  std::string File;  ///< full name of the source, empty outside the program's own code
  int Line = 0;
  std::string Routine;
  /// The level of the frame the place belongs to: 0, or the program's innermost frame when
  /// the stop was inside the run-time library.
  int Frame = 0;
  int Breakpoint = 0;
  int ExitCode = 0;
  std::string SignalName;     ///< "SIGFPE"
  std::string SignalMeaning;  ///< "Arithmetic exception"
};

struct TStackFrame {
  int Level = 0;
  std::string Routine;
  std::string File;  ///< full name; empty for code without debug information
  int Line = 0;
};

/// A variable, or a part of an array, as the Variables panel shows it.
struct TDebugVariable {
  /// "A", "A(:,3)", "A(2,3)".
  std::string Name;
  /// The Fortran expression gdb reads it by ("a", "a(2,3)").
  std::string Expression;
  TFortranType Type;
  /// Empty for an array (its parts are its children).
  std::string Value;
  bool Argument = false;
  /// "BLK" for a member of COMMON /BLK/; empty otherwise.
  std::string Common;
  /// For the parts of an array: gdb's var-object, its number of children and the subscripts
  /// fixed so far (last dimension first).
  std::string VarObject;
  long Children = 0;
  std::vector<long> Fixed;
};

struct TBreakpointPlace {
  int Number = 0;  ///< gdb's number; 0 when it could not be set
  std::string File;
  int Line = 0;  ///< where it landed: the first line with code at or after the one asked for
  std::string Error;
};

}  // namespace vortan
