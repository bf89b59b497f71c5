#pragma once
// What the build actions need from the window that holds them (the main window): the
// documents, the Messages tree, the Output panel, the status panel for the running step, and
// the window itself (the progress window's parent; minimised while a program runs).

class QDockWidget;
class QLabel;
class QMainWindow;
class QPlainTextEdit;
class QTreeWidget;

namespace vortan {

class TDocuments;

class TPipelineHost {
 public:
  virtual ~TPipelineHost() = default;
  virtual TDocuments& Documents() = 0;
  virtual QMainWindow* Window() = 0;
  virtual QTreeWidget* MessagesTree() const = 0;
  virtual QPlainTextEdit* OutputMemo() const = 0;
  virtual QDockWidget* MessagesWindow() const = 0;
  virtual QDockWidget* OutputWindow() const = 0;
  /// The status-bar panel that names the running step.
  virtual QLabel* ProcessPanel() const = 0;
  /// Runs the commands' enabling rules now.
  virtual void UpdateActions() = 0;
};

}  // namespace vortan
