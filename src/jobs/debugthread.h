#pragma once
// The debug job: the debugger on the compiled program, in a terminal window of its own.

#include "jobs/processthread.h"

namespace vortan {

/// Starts the command line ProgramPath + " " + Parameters (the quoted debugger and the
/// "Debugger Format" text) in a terminal window, since the debugger's console is its user
/// interface, and watches the terminal, which is the child that Stop ends. OnSuccess reports
/// the start; jrCantExecute when the debugger or the terminal is missing.
class TDebugThread : public TProcessThread {
 public:
  explicit TDebugThread(TMainThreadCall runInMainThread);

 protected:
  void Execute() override;
};

}  // namespace vortan
