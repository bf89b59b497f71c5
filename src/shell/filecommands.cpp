// The File menu's commands.
#include <QMdiSubWindow>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/documents.h"
#include "editor/ui/editorwindow.h"
#include "i18n/stringtable.h"
#include "shell/actiontable.h"
#include "shell/commands.h"
#include "shell/mainwindow.h"
#include "shell/printcommands.h"
#include "system/promptservice.h"
#include "widgets/dialogtitles.h"

namespace vortan::cmd {

void New(const TCommandCall& c) { c.Main.Documents().Open(std::string()); }

void Open(const TCommandCall& c) {
  TFileDialogRequest r;
  r.Title = FileDialogTitle(c.Main, TFileDialogKind::Open);
  r.Filter = Str(TStr::strVortan2Dialog);
  r.Multiple = true;
  for (const std::string& f : Prompts()->OpenFileDialog(r)) c.Main.Documents().Open(f);
}

void Save(const TCommandCall& c) {
  TDocuments& docs = c.Main.Documents();
  docs.Save(docs.Active());
}

void SaveAs(const TCommandCall& c) {
  TDocuments& docs = c.Main.Documents();
  docs.SaveAsAsked(docs.Active());
}

void SaveAll(const TCommandCall& c) { c.Main.Documents().SaveAll(); }

void Close(const TCommandCall& c) {
  TDocuments& docs = c.Main.Documents();
  if (QMdiSubWindow* sub = docs.SubWindowOf(docs.Active())) sub->close();
}

void CloseAll(const TCommandCall& c) { c.Main.Documents().CloseAll(); }

void Exit(const TCommandCall& c) { c.Main.Exit(); }

void ClearHistory(const TCommandCall& c) {
  bool show = ReadBool(sidClearHistory);
  if (show) {
    const TModalResult r =
        MessageDlgCheck(StrText(TStr::strMsgClearHistory), TMsgDlgType::Confirmation,
                        {TMsgDlgBtn::Yes, TMsgDlgBtn::No}, {}, show);
    WriteBool(sidClearHistory, show);
    if (r != TModalResult::Yes) return;
  }
  c.Main.ClearHistory();
}

void Print(const TCommandCall& c) { c.Main.PrintCommands().Print(); }
void PrintPreview(const TCommandCall& c) { c.Main.PrintCommands().PrintPreview(); }
void PageSetup(const TCommandCall& c) { c.Main.PrintCommands().PageSetup(); }
void Export(const TCommandCall& c) { c.Main.PrintCommands().Export(c.Row.Tag); }

}  // namespace vortan::cmd
