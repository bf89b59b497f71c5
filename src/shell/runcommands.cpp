// The Run menu's commands.
#include "editor/ui/editorwindow.h"
#include "jobs/ui/debugcontroller.h"
#include "jobs/ui/pipeline.h"
#include "jobs/ui/steprunner.h"
#include "shell/actiontable.h"
#include "shell/commands.h"
#include "shell/mainwindow.h"

namespace vortan::cmd {

void Build(const TCommandCall& c) { c.Main.Runner().Execute(c.Row.Tag); }

void Stop(const TCommandCall& c) { c.Main.Pipeline().StopExecute(); }

void CompileAll(const TCommandCall& c) { c.Main.Runner().Run(TBuildCommand::CompileAll); }

void AnalyzeAll(const TCommandCall& c) { c.Main.Runner().Run(TBuildCommand::AnalyzeAll); }

void DebugCommand(const TCommandCall& c) {
  c.Main.Debugger().Execute(static_cast<TDebugCommand>(c.Row.Tag));
}

}  // namespace vortan::cmd
