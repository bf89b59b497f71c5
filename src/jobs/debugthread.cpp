#include "jobs/debugthread.h"

#include "jobs/commandline.h"
#include "platform/terminal.h"

namespace vortan {

TDebugThread::TDebugThread(TMainThreadCall runInMainThread)
    : TProcessThread(std::move(runInMainThread)) {}

void TDebugThread::Execute() {
  std::vector<std::string> command = SplitCommandLine(CommandLine());
  const std::string terminal = platform::FindTerminal();
  // A terminal would only flash up and vanish on a debugger that cannot start.
  if (command.empty() || platform::FindExecutable(command.front()).empty() || terminal.empty()) {
    ResultCode = jrCantExecute;
    DoError();
    return;
  }
  TChildStart how;
  how.Arguments = platform::TerminalCommand(terminal, command);
  how.Show = TShowMode::Normal;
  how.NullStdio = true;
  StartAndWatchChild(std::move(how));
}

}  // namespace vortan
