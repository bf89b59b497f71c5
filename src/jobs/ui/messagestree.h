#pragma once
// The Messages panel's tree: shows a TMessageList, marks the selected entry and opens a
// message in its editor window.

#include <QObject>
#include <QPixmap>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "jobs/messagelist.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace vortan {

class TfrmEditor;

/// Keeps the tree widget a mirror of its message list: whenever the list's outermost update
/// bracket closes, the tree is rebuilt in the list's order. Every entry has a 10 x 11 image
/// place that shows the "MESSAGE" mark while the entry is selected.
class TMessagesView : public QObject {
  Q_OBJECT
 public:
  explicit TMessagesView(QTreeWidget* tree, QObject* parent = nullptr);

  /// The active editor window (null when none), asked when sorting and opening.
  std::function<TfrmEditor*()> ActiveEditor;
  /// Shows and activates an editor window.
  std::function<void(TfrmEditor*)> ActivateEditor;

  QTreeWidget* Tree() const { return tree_; }
  TMessageList& List() { return list_; }

  void BeginUpdate() { list_.BeginUpdate(); }
  void EndUpdate() { list_.EndUpdate(); }
  void Add(std::vector<TMessageNode> entries) { list_.Add(std::move(entries)); }
  /// Clear Messages.
  void Clear() { list_.Clear(); }
  void RemoveEditorMessages(const TfrmEditor* editor) { list_.RemoveEditorMessages(editor); }
  bool Empty() const { return list_.Empty(); }

  /// The record of an entry of the tree; none for an item that is not one.
  std::optional<TMessageData> DataOf(const QTreeWidgetItem* item) const;

  /// Opens the first selected entry: activates its window, marks its line, puts the caret
  /// there and gives the text the focus. Nothing when there is no selection, no active
  /// window, or the entry has no window.
  void OpenMessage();
  /// The selected entry and the lines under it, one a line (each level indented by two
  /// blanks); empty without a selection.
  QString SelectedText() const;
  /// Puts SelectedText() on the clipboard; the clipboard is left alone without a selection.
  void CopyToClipboard();
  /// Makes the first error entry the only selected one, shows it and opens it. False when
  /// the tree holds no error.
  bool OpenFirstError();
  /// After a compile: makes the first error the only selected entry (the first finding of a
  /// group, not the group) and puts the caret on its line and column, keeping the error marks
  /// of every line. False when the tree holds no error.
  bool LandOnFirstError();
  /// Opens a place as a double click opens an entry that holds it; `keepMarks` leaves the
  /// other marked lines of its editor marked.
  void OpenPlace(const TMessageData& place, bool keepMarks);

  /// The "MESSAGE" image strip: one 10 x 11 image, a black triangle pointing right.
  static QPixmap MessageImage();

 private:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void Rebuild();
  QTreeWidgetItem* FirstErrorItem() const;
  /// Selects the first error entry and brings it into view; null when there is none.
  QTreeWidgetItem* SelectFirstError();
  void Open(const QTreeWidgetItem* item, bool keepMarks);
  void CurrentChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);

  QTreeWidget* tree_;
  TMessageList list_;
};

}  // namespace vortan
