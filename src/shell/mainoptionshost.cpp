#include "shell/mainoptionshost.h"

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/fortranhighlighter.h"
#include "editor/ui/editorwindow.h"
#include "options/ui/optionsform.h"
#include "shell/mainwindow.h"
#include "shell/themes.h"
#include "symbols/ui/symbolcommands.h"

namespace vortan {

TSynFortranSyn& TMainOptionsHost::Highlighter() { return *main_.Highlighter(); }
THighlightAttribute TMainOptionsHost::UserErrorLine() const { return main_.UserErrorLine(); }
void TMainOptionsHost::SetUserErrorLine(const THighlightAttribute& attr) {
  main_.SetUserErrorLine(attr);
}
THighlightAttribute TMainOptionsHost::DefaultErrorLine() const { return main_.DefaultErrorLine(); }
TPrintSettings& TMainOptionsHost::PrintSettings() { return main_.PrintSettings(); }
QStringList TMainOptionsHost::ThemeNames() const { return vortan::ThemeNames(); }
QString TMainOptionsHost::Theme() const { return main_.Theme(); }
void TMainOptionsHost::ApplyTheme(const QString& name) { main_.ApplyTheme(name); }
TfrmEditor* TMainOptionsHost::ActiveEditor() const { return main_.ActiveEditor(); }
int TMainOptionsHost::EditorCount() const { return int(main_.Editors().size()); }

bool TMainOptionsHost::AnyEditorCanUndo() const {
  for (TfrmEditor* e : main_.Editors())
    if (e->CanUndo()) return true;
  return false;
}

void TMainOptionsHost::ApplySettingsToEditors() {
  TfrmEditor::ApplyEditorSettingsToAll(main_.Editors());
  main_.SymbolCommands().SetAutoComplete(ReadBool(sidSymbolsAutoComplete));
}

void ShowOptionsDialog(TfrmMain& main, int page) {
  TMainOptionsHost host(main);
  TfrmOptions dialog(host, page, &main);
  if (TfrmEditor* editor = main.ActiveEditor()) {
    const QString sample = editor->FontSampleText();
    if (!sample.isEmpty()) dialog.SetFontSampleText(sample);
  }
  dialog.exec();
}

}  // namespace vortan
