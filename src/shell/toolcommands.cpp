// The Tools and Window menus' commands.
#include <QDir>
#include <QMdiArea>
#include <QProcess>
#include <filesystem>

#include "config/settingids.h"
#include "editor/ui/documents.h"
#include "editor/ui/editorwindow.h"
#include "i18n/ui/languagecommand.h"
#include "platform/platform.h"
#include "platform/terminal.h"
#include "shell/commands.h"
#include "shell/mainwindow.h"
#include "system/desktoptools.h"
#include "system/vortanextension.h"
#include "widgets/desktop.h"
#include "widgets/mdiarrange.h"
#include "widgets/qtconvert.h"

namespace vortan::cmd {

namespace {
void StartProgram(const std::vector<std::string>& candidates) {
  const std::string program = FirstProgramFound(candidates);
  // A program that cannot be started is not reported.
  if (!program.empty()) QProcess::startDetached(Local(program), {});
}
}  // namespace

void Terminal(const TCommandCall&) { StartProgram({platform::FindTerminal()}); }

void FileManager(const TCommandCall& c) {
  std::string dir;
  if (TfrmEditor* e = c.Main.Documents().Active(); e && !e->FileName().empty())
    dir = std::filesystem::path(e->FileName()).parent_path().string();
  OpenLocalFile(dir.empty() ? LocalBytes(QDir::homePath()) : dir);
}

void Calculator(const TCommandCall&) { StartProgram(CalculatorCandidates()); }

void Translate(const TCommandCall&) {
  const std::string tool = ExtensionOf(sidParlaxExtension);
  if (tool.empty()) {
    ExtensionNotFound();
    return;
  }
  QProcess::startDetached(Local(tool), {Local(platform::ExecutablePath())});
}

void ProgramLanguage(const TCommandCall& c) { ProgramLanguageCommand(&c.Main); }

void Cascade(const TCommandCall& c) { c.Main.MdiArea()->cascadeSubWindows(); }
void TileVertically(const TCommandCall& c) { vortan::TileVertically(*c.Main.MdiArea()); }
void TileHorizontally(const TCommandCall& c) { vortan::TileHorizontally(*c.Main.MdiArea()); }
void ArrangeIcons(const TCommandCall& c) { vortan::ArrangeIcons(*c.Main.MdiArea()); }
void MinimizeAll(const TCommandCall& c) { vortan::MinimizeAll(*c.Main.MdiArea()); }
void FullScreen(const TCommandCall& c) { c.Main.ToggleFullScreen(); }
void NextWindow(const TCommandCall& c) { c.Main.MdiArea()->activateNextSubWindow(); }
void PreviousWindow(const TCommandCall& c) { c.Main.MdiArea()->activatePreviousSubWindow(); }

}  // namespace vortan::cmd
