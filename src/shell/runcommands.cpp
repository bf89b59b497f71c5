// The Run menu's commands.
#include "jobs/ui/pipeline.h"
#include "shell/actiontable.h"
#include "shell/commands.h"
#include "shell/mainwindow.h"

namespace vortan::cmd {

void Build(const TCommandCall& c) { c.Main.Pipeline().ProcessExecute(c.Row.Tag); }

void Stop(const TCommandCall& c) { c.Main.Pipeline().StopExecute(); }

}  // namespace vortan::cmd
