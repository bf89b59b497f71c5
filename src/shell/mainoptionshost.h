#pragma once
// The main window as the Options dialog sees it.

#include "options/ui/optionshost.h"

namespace vortan {

class TfrmMain;

class TMainOptionsHost : public TOptionsHost {
 public:
  explicit TMainOptionsHost(TfrmMain& main) : main_(main) {}
  TSynFortranSyn& Highlighter() override;
  THighlightAttribute UserErrorLine() const override;
  void SetUserErrorLine(const THighlightAttribute& attr) override;
  THighlightAttribute DefaultErrorLine() const override;
  TPrintSettings& PrintSettings() override;
  QStringList ThemeNames() const override;
  QString Theme() const override;
  void ApplyTheme(const QString& name) override;
  TfrmEditor* ActiveEditor() const override;
  int EditorCount() const override;
  bool AnyEditorCanUndo() const override;
  void ApplySettingsToEditors() override;

 private:
  TfrmMain& main_;
};

/// The four Options commands: the dialog on that page (0 General ... 4 Others), modal.
void ShowOptionsDialog(TfrmMain& main, int page);

}  // namespace vortan
