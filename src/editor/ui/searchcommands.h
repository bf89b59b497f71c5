#pragma once
// The Search menu (Find, Search Again, Replace, Go to Line Number) and Edit > Insert and
// Edit > Convert on the active editor. Holds the Find and Replace dialogs, made on first
// use and kept for the run, and the last search, which Search Again repeats.

#include <QObject>
#include <QPointer>
#include <chrono>
#include <functional>

#include "editor/textsearch.h"

class QDialog;
class QWidget;

namespace vortan {

class TfrmEditor;
class TfrmFind;
class TfrmReplace;

class TSearchCommands : public QObject {
  Q_OBJECT
 public:
  using TClock = std::function<std::chrono::system_clock::time_point()>;
  /// Shows a dialog modally and returns its result (QDialog::exec unless given otherwise).
  using TDialogRunner = std::function<int(QDialog&)>;

  /// `window` centres and owns the dialogs; `clock` gives the time Insert puts in.
  explicit TSearchCommands(QWidget* window, TClock clock = std::chrono::system_clock::now,
                           TDialogRunner runDialog = nullptr);
  ~TSearchCommands() override;

  void Find(TfrmEditor* editor);
  void Replace(TfrmEditor* editor);
  void SearchAgain(TfrmEditor* editor);
  void GoTo(TfrmEditor* editor);
  /// Edit > Insert: the template with the action's number.
  void Insert(TfrmEditor* editor, int tag);
  /// Edit > Convert: the conversion with the action's number.
  void Convert(TfrmEditor* editor, int tag);

  /// Search Again is possible: the last search has a text.
  bool HasSearchText() const { return !lastSearch_.SearchText.empty(); }
  /// Texts in UTF-8.
  const TLastSearch& LastSearch() const { return lastSearch_; }
  /// Null until first used.
  TfrmFind* FindDialog() const;
  TfrmReplace* ReplaceDialog() const;

 private:
  /// Runs the search in the editor; reports a search text not found.
  int Search(TfrmEditor* editor, const std::string& searchUtf8, const std::string& replaceUtf8,
             const TSearchOptions& options);
  /// The presets from the editor's selection and caret: text (UTF-8) and scope.
  TSearchPreset Preset(TfrmEditor* editor) const;

  QWidget* window_;
  TClock clock_;
  TDialogRunner runDialog_;
  QPointer<TfrmFind> frmFind_;
  QPointer<TfrmReplace> frmReplace_;
  TLastSearch lastSearch_;
};

}  // namespace vortan
