// The four Options commands (Environment, Editor, Compilation, Print): one dialog, opened on
// the page of the command's number.
#include "shell/actiontable.h"
#include "shell/commands.h"
#include "shell/mainoptionshost.h"
#include "shell/mainwindow.h"

namespace vortan::cmd {

void Options(const TCommandCall& c) { ShowOptionsDialog(c.Main, c.Row.Tag); }

}  // namespace vortan::cmd
