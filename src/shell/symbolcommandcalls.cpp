// The Search menu's commands that ask the symbol index: each hands over to TSymbolCommands,
// which the main window owns.
#include <QAction>

#include "shell/actiontable.h"
#include "shell/commands.h"
#include "shell/mainwindow.h"
#include "symbols/ui/symbolcommands.h"

namespace vortan::cmd {

void GoToDefinition(const TCommandCall& c) { c.Main.SymbolCommands().GoToDefinition(); }
void FindReferences(const TCommandCall& c) { c.Main.SymbolCommands().FindReferences(); }
void GoBack(const TCommandCall& c) { c.Main.SymbolCommands().GoBack(); }
void GoForward(const TCommandCall& c) { c.Main.SymbolCommands().GoForward(); }
void CallTree(const TCommandCall& c) { c.Main.SymbolCommands().ShowCallTree(c.Row.Tag == 1); }
void Complete(const TCommandCall& c) { c.Main.SymbolCommands().Complete(); }

}  // namespace vortan::cmd
