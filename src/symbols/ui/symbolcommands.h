#pragma once
// The commands that know the code, on the active editor: Go to Definition (also Ctrl+click),
// Back and Forward along the jumps, Find References, the call trees, completion with argument
// tips, and the tip over a unit's name. What they ask of the index is in src/symbols; here
// they read the caret and open the places.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "symbols/jumphistory.h"
#include "symbols/symbolindex.h"
#include "symbols/symbolword.h"

#include <QMenu>

namespace vortan {

class TDocuments;
class TfrmEditor;
class TSymbolIndexer;
class TSymbolsPanel;

class TSymbolCommands : public QObject {
  Q_OBJECT
 public:
  /// `showPanel` brings the Symbols panel into view.
  TSymbolCommands(TDocuments& documents, TSymbolIndexer& indexer, TSymbolsPanel& panel,
                  std::function<void()> showPanel, QObject* parent = nullptr);

  /// The active editor names a file the index holds: the commands have something to ask.
  bool CanQuery() const;
  bool CanGoBack() const { return history_.CanGoBack(); }
  bool CanGoForward() const { return history_.CanGoForward(); }

  void GoToDefinition();
  void GoBack();
  void GoForward();
  void FindReferences();
  /// The unit under the caret, else the unit holding it, in the call tree (or called-by tree).
  void ShowCallTree(bool callers);
  /// The completion list at the caret; inside a call with nothing typed, its argument tip.
  void Complete();
  /// Whether completion opens by itself after a few letters.
  void SetAutoComplete(bool on) { autoComplete_ = on; }
  static constexpr int kAutoCompleteLetters = 3;

  /// The tip over a place of an editor (1-based line, 0-based character index): a unit's
  /// header and description; empty for none.
  QString TipAt(TfrmEditor* editor, int line, int index);
  /// The list of several definitions to choose from while it is open, else null.
  QMenu* Choices() const { return choices_; }

 signals:
  /// A short message for the status bar (nothing found).
  void Message(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void Watch(TfrmEditor* editor);
  TfrmEditor* Active() const;
  TSymbolWord WordAtCaret(TfrmEditor* editor, int* line) const;
  TJumpPlace Here(TfrmEditor* editor) const;
  void Jump(const TSymbolLocation& to);
  bool OpenAt(const std::string& file, int line, int column);
  void ShowArgumentTip(TfrmEditor* editor);
  void CharAdded(TfrmEditor* editor, int ch);

  TDocuments& documents_;
  TSymbolIndexer& indexer_;
  TSymbolsPanel& panel_;
  std::function<void()> showPanel_;
  TJumpHistory history_;
  QPointer<QMenu> choices_;
  bool autoComplete_ = false;
};

}  // namespace vortan
