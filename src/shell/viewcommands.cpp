// The View menu's commands, the appearance entries of the Options menu and the panels'
// context-menu commands.
#include <QAction>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "jobs/ui/messagestree.h"
#include "jobs/ui/outputpanel.h"
#include "jobs/ui/pipeline.h"
#include "shell/actiontable.h"
#include "shell/commands.h"
#include "shell/mainwindow.h"

namespace vortan::cmd {

void MenuBar(const TCommandCall& c) { c.Main.ToggleMenuBar(); }

void TogglePanel(const TCommandCall& c) {
  if (QWidget* w = c.Main.BarOf(c.Row.Check)) w->setVisible(!w->isVisible());
}

void StatusBar(const TCommandCall& c) { c.Main.ToggleStatusBar(); }

void IconStyle(const TCommandCall& c) {
  const int style = c.Action.isChecked() ? c.Row.Tag : NoIcons;
  c.Main.ApplyIconStyle(style);
  WriteInteger(sidIconStyle, style);
}

void TextStyle(const TCommandCall& c) {
  const int style = c.Action.isChecked() ? c.Row.Tag : 0;
  c.Main.ApplyTextStyle(style);
  WriteInteger(sidTextStyle, style);
}

void FlatMenuStyle(const TCommandCall& c) {
  const int style = c.Action.isChecked() ? c.Row.Tag : 2;
  c.Main.ApplyFlatMenuStyle(style);
  WriteInteger(sidFlatMenuStyle, style);
}

void Stretch(const TCommandCall& c) {
  c.Main.ApplyStretch(!c.Main.Stretch());
  WriteBool(sidStretch, c.Main.Stretch());
}

void MergeStatusbar(const TCommandCall& c) { c.Main.ApplyMergeStatusbar(!c.Main.Merged()); }

void SelectFont(const TCommandCall& c) { c.Main.SelectOutputFont(); }

void ClearOutput(const TCommandCall& c) { c.Main.Pipeline().Output().Clear(); }

void CopyToClipboard(const TCommandCall& c) { c.Main.CopyFromPanel(); }

void ClearMessages(const TCommandCall& c) { c.Main.Pipeline().Messages().Clear(); }

}  // namespace vortan::cmd
