#pragma once
// What the Options dialog needs from the main window: the shared objects it edits copies of
// (highlighter, error-line colours, print settings, theme) and the editors it re-applies.

#include <QString>
#include <QStringList>

#include "config/printsettings.h"
#include "config/storedformats.h"

namespace vortan {

class TfrmEditor;
class TSynFortranSyn;

class TOptionsHost {
 public:
  virtual ~TOptionsHost() = default;
  virtual TSynFortranSyn& Highlighter() = 0;
  virtual THighlightAttribute UserErrorLine() const = 0;
  virtual void SetUserErrorLine(const THighlightAttribute& attr) = 0;
  /// The colours an error line takes where the user's attribute has none.
  virtual THighlightAttribute DefaultErrorLine() const = 0;
  virtual TPrintSettings& PrintSettings() = 0;
  /// Called after Apply changed the print settings (a print preview recomputes its pages).
  virtual void PrintSettingsChanged() {}
  virtual QStringList ThemeNames() const = 0;
  virtual QString Theme() const = 0;
  virtual void ApplyTheme(const QString& name) = 0;
  /// The active editor window, or null.
  virtual TfrmEditor* ActiveEditor() const = 0;
  /// Every open editor window.
  virtual int EditorCount() const = 0;
  /// Whether any open editor holds something to undo.
  virtual bool AnyEditorCanUndo() const = 0;
  /// Applies the stored settings to every open editor, once each.
  virtual void ApplySettingsToEditors() = 0;
};

}  // namespace vortan
