#pragma once
// The open documents: one editor window per file inside the main window's frame. Opening,
// finding a file by identity, saving (with backup), Save All, Close All and the temporary
// copies the build steps make all live here; the main window and the pipeline both use it.

#include <QIcon>
#include <QObject>
#include <string>
#include <vector>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace vortan {

class TEditorHost;
class TfrmEditor;

class TDocuments : public QObject {
  Q_OBJECT
 public:
  /// `area` holds the editor windows; `host` is what each editor needs from its frame;
  /// `window` owns the file dialogs (their titles are kept on it).
  TDocuments(QMdiArea* area, TEditorHost* host, QWidget* window);
  /// Deletes the temporary copies.
  ~TDocuments() override;

  /// Opens the file, or brings its window to the front when it is already open (the file is
  /// not read again). An empty name makes a new untitled source. In the background the window
  /// stays out of the way: shown minimised, the active window unchanged. Null when the file cannot
  /// be read.
  TfrmEditor* Open(const std::string& fileName, bool inBackground = false);
  /// Opens every entry that is an existing file, in order; true when one at least was opened.
  bool OpenList(const std::vector<std::string>& names);
  /// The editor of that file (same file on disk, whatever the spelling), or null.
  TfrmEditor* Find(const std::string& fileName) const;

  /// The editors, front to back: index 0 is the active one when there is one.
  std::vector<TfrmEditor*> Editors() const;
  TfrmEditor* Active() const;
  void Activate(TfrmEditor* editor);
  QMdiSubWindow* SubWindowOf(const TfrmEditor* editor) const;

  /// Writes the editor's text under `fileName` (the default extension added when it has
  /// none), with the backup copy when the user wants one. False when the write failed; the
  /// error has then been shown and the document is unchanged.
  bool SaveAs(const std::string& fileName, TfrmEditor* editor);
  /// Save: under the document's name, or under one the user picks. False when cancelled or
  /// failed.
  bool Save(TfrmEditor* editor);
  /// Save As with the save dialog; false when cancelled or failed.
  bool SaveAsAsked(TfrmEditor* editor);
  /// The save dialog proposing `proposed`: the chosen name, empty when cancelled.
  std::string AskSaveName(const std::string& proposed);
  /// Saves every document from the oldest; an untitled one asks for a name, and a cancel
  /// ends the round.
  void SaveAll();
  /// Closes every document from the oldest as one batch (one "No to All" answers them all).
  void CloseAll();

  /// A temporary copy to delete when the documents go.
  void AddTempFile(const std::string& fileName);
  const std::vector<std::string>& TempFiles() const { return tempFiles_; }

  void SetSourceIcon(const QIcon& icon) { sourceIcon_ = icon; }

 signals:
  /// A new editor window exists (not for a file that was already open).
  void Opened(TfrmEditor* editor);
  /// The document has a new name (after Save As).
  void Renamed(TfrmEditor* editor, const std::string& fileName);
  /// A file was opened or saved: it belongs in the history (on top unless opened in the
  /// background).
  void FileUsed(const std::string& fileName, bool onTop);
  /// Something the commands' enabled state depends on has changed.
  void Changed();

 private:
  std::string Caption(const std::string& fileName) const;

  QMdiArea* area_;
  TEditorHost* host_;
  QWidget* window_;
  QIcon sourceIcon_;
  std::vector<std::string> tempFiles_;
  int untitledCount_ = 0;
};

}  // namespace vortan
