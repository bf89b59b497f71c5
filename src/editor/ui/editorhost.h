#pragma once
// What an editor window needs from the window that holds it (the main window). Tests give an
// editor a small fake host; the main window implements it for real.

#include <string>

class QMenu;
class QLabel;

namespace vortan {

class TfrmEditor;
class TSynFortranSyn;
struct THighlightAttribute;

class TEditorHost {
 public:
  virtual ~TEditorHost() = default;

  /// Set while several windows close in one go; a Cancel in a close prompt clears it.
  virtual bool BatchClose() const = 0;
  virtual void SetBatchClose(bool on) = 0;
  /// Set by a No to All answer: the following windows of the batch close without asking.
  virtual bool NoToAllChosen() const = 0;
  virtual void SetNoToAllChosen(bool on) = 0;

  /// Writes the editor's text to the file (with backup, history and Files panel update).
  /// False when the write failed; the error has then been shown.
  virtual bool SaveEditorAs(const std::string& fileName, TfrmEditor* editor) = 0;
  /// The save dialog proposing `proposed`; the chosen name, empty when cancelled.
  virtual std::string RunSaveDialog(const std::string& proposed) = 0;

  virtual void SelectFileNode(TfrmEditor* editor) = 0;
  virtual void RemoveFileNode(TfrmEditor* editor) = 0;
  virtual void RemoveEditorMessages(TfrmEditor* editor) = 0;
  /// Called at the end of an editor's destruction (the last one resets the status bar).
  virtual void EditorDestroyed(TfrmEditor* editor) = 0;

  /// Panel `index` of the main status bar, which shows the editors' status texts while their
  /// own bars are merged into it; null when there is no such panel.
  virtual QLabel* MainStatusPanel(int index) = 0;
  /// The context menu of the text (the Edit menu's items); may be null.
  virtual QMenu* EditorContextMenu() = 0;
  /// The one Fortran highlighter all editors share; may be null.
  virtual TSynFortranSyn* Highlighter() = 0;
  /// The built-in error-line colours (white on dark red) and the user's ones (setting 153).
  virtual const THighlightAttribute& DefaultErrorLine() const = 0;
  virtual const THighlightAttribute& UserErrorLine() const = 0;

  /// Stops the run or debug job working for a closing editor, as the Stop command does,
  /// ignoring any failure.
  virtual void StopJob(TfrmEditor* /*editor*/) {}
};

}  // namespace vortan
