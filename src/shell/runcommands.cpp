// The Run menu's commands.
#include "editor/ui/editorwindow.h"
#include "jobs/ui/multibuild.h"
#include "jobs/ui/pipeline.h"
#include "shell/actiontable.h"
#include "shell/commands.h"
#include "shell/mainwindow.h"

namespace vortan::cmd {

void Build(const TCommandCall& c) { c.Main.Pipeline().ProcessExecute(c.Row.Tag); }

void Stop(const TCommandCall& c) { c.Main.Pipeline().StopExecute(); }

void CompileAll(const TCommandCall& c) { c.Main.MultiBuild().CompileAll(); }

void AnalyzeAll(const TCommandCall& c) { c.Main.MultiBuild().AnalyzeAll(); }

}  // namespace vortan::cmd
