#pragma once
// An editor window: one Fortran source document inside the main window, with its text
// control, status bar, error-line marks and the one-second program-file check.

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "editor/sourcefile.h"
#include "editor/textcopy.h"

class QLabel;
class QMdiSubWindow;
class QStatusBar;

namespace vortan {

class TEditorHost;
class TSynFortranSyn;
class TStreakSynEdit;
class TBaseThread;
struct TEditorSettings;

class TfrmEditor : public QWidget {
  Q_OBJECT
 public:
  /// `background`: created minimised, not activated (the analyzer opens files this way).
  explicit TfrmEditor(TEditorHost* host, bool background = false, QWidget* parent = nullptr);
  ~TfrmEditor() override;

  // Document
  /// Loads the file's bytes unchanged. False when it cannot be read (the error was shown and
  /// the document is unchanged).
  bool LoadFromFile(const std::string& fileName);
  /// Writes every line followed by the remembered break, without destroying the old file when
  /// the write fails, first copying the old file to its backup name when `createBackup` is
  /// set. False when it failed or the user declined (the error was shown; nothing else
  /// changes). The modified flag is the caller's to clear.
  bool SaveToFile(const std::string& fileName, bool createBackup = false);
  const std::string& FileName() const { return fileName_; }
  /// Sets the file name and runs the program-file check once.
  void SetFileName(const std::string& fileName);
  QString Caption() const { return windowTitle(); }
  void SetCaption(const QString& caption);
  bool Modified() const;
  void SetModified(bool modified);
  /// The document's bytes, lines joined with the remembered break.
  std::string Text() const;
  /// The text copied as the control holds it; its FileBytes() equal Text(). Cheap enough for
  /// the interface thread at any size, the conversion left to whoever reads it.
  TTextCopy TextCopy() const;
  /// Replaces the text as one edit that can be undone (so the document becomes modified);
  /// the remembered break stays.
  void SetText(const std::string& bytes);
  int LineCount() const;
  std::string Line(int line) const;  ///< 1-based, without the break
  TLineBreak LineBreak() const { return lineBreak_; }
  TStreakSynEdit* SynEdit() const { return synEdit_; }

  // Caret (1-based)
  int CaretLine() const;
  int CaretColumn() const;
  void SetCaret(int line, int column);
  void EnsureCaretVisible();
  /// What the Options dialog shows its font in: the selection when it lies on one line, else
  /// the caret's line, without leading and trailing blanks; empty when nothing is left.
  QString FontSampleText() const;

  // Bookmarks 0..9
  bool IsBookmarkSet(int n, int* line = nullptr, int* column = nullptr) const;
  void SetBookmark(int n, int line, int column);
  void ClearBookmark(int n);
  void GotoBookmark(int n);

  // Error lines
  void MarkErrorLine(int line);
  void ClearErrorLines();
  const std::vector<int>& ErrorLines() const { return errorLines_; }

  // Build support
  /// Directory + "~" + file-name part (the temporary directory for an untitled document).
  std::string TempSourceName() const;
  /// The program file of the document (for an untitled one, in the temporary directory).
  std::string ProgramFile() const;
  bool CompiledFileExists() const { return compiledFileExists_; }
  TBaseThread* RunningThread() const { return runningThread_; }
  void SetRunningThread(TBaseThread* job) { runningThread_ = job; }

  /// Applies the stored settings to the text control and the window.
  void ApplyEditorSettings();
  /// Applies one snapshot of the settings; the text control is set up again only when the
  /// snapshot differs from the one applied last.
  void ApplyEditorSettings(const std::shared_ptr<const TEditorSettings>& settings);
  /// Applies the stored settings to each of the editors, from the last to the first, reading
  /// the store at most once (after the options changed, or Merge Statusbar was toggled).
  static void ApplyEditorSettingsToAll(const std::vector<TfrmEditor*>& editors);
  /// Refreshes all three status texts.
  void StatusRefresh();
  QStatusBar* StatusBar() const { return sbrEditor_; }
  /// The text shown in status panel 0..2 (of the main status bar while merged).
  QString StatusText(int panel) const;
  /// Created in the background: minimised, not activated.
  bool Background() const { return background_; }

  /// Activation steps (timer on, Files panel entry selected, status refresh, Activated);
  /// run by itself when the window becomes the active child or its text gets the focus.
  void FormActivate();
  /// Timer off, Deactivated.
  void FormDeactivate();

  // Edit commands and their enabling rules
  bool CanUndo() const;
  bool CanRedo() const;
  bool HasSelection() const;
  bool CanPaste() const;
  void Undo();
  void Redo();
  void Cut();
  void Copy();
  void Paste();
  void Clear();
  void SelectAll();

  /// The replace prompt: the TModalResult (Yes, No, Cancel or YesToAll) as an int.
  int AskReplace(const std::string& searched);

 signals:
  void Activated(TfrmEditor* editor);
  void Deactivated(TfrmEditor* editor);
  /// The program file appeared or went away (seen by the one-second check).
  void CompiledFileChanged(TfrmEditor* editor);

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void changeEvent(QEvent* e) override;
  /// The close prompt: true when the window may close.
  bool CloseQuery();

 private:
  void ApplyToTextControl(const TEditorSettings& settings);
  void TimerStep();
  void StatusChange(int changes);
  /// Status panel 0..2: the window's own, or the main status bar's while merged.
  QLabel* StatusPanel(int panel) const;
  void SetPanelText(int panel, const QString& text);
  void PaintErrorLines();
  void ErrorLineColors(QColor& fore, QColor& back) const;
  void WatchSubWindow();

  TEditorHost* host_;
  TStreakSynEdit* synEdit_ = nullptr;
  QStatusBar* sbrEditor_ = nullptr;
  QTimer timer1_;
  TBaseThread* runningThread_ = nullptr;
  std::string fileName_;
  std::vector<int> errorLines_;
  bool compiledFileExists_ = false;
  TLineBreak lineBreak_ = TLineBreak::CRLF;
  bool background_ = false;
  bool active_ = false;
  /// An empty text is no line at all, except when it was loaded as one empty line.
  bool singleEmptyLine_ = false;
  // The file held NUL bytes, shown as line breaks; cleared once a save has written them.
  bool hadNul_ = false;
  TSynFortranSyn* highlighter_ = nullptr;
  QLabel* panels_[3] = {};
  QPointer<QMdiSubWindow> subWindow_;
  std::shared_ptr<const TEditorSettings> applied_;
};

}  // namespace vortan
