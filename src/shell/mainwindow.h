#pragma once
// The main window: a frame of editor windows with the menus, toolbars, the Files, Messages and
// Output panels and the status bar. It owns the editors' shared objects (highlighter, error
// line colours) and the reopen history; the documents themselves are TDocuments', and what
// each command does is in the action table (shell/commands.h).

#include <QByteArray>
#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QTimer>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/headerfooter.h"
#include "config/printsettings.h"
#include "config/storedformats.h"
#include "editor/ui/editorhost.h"
#include "jobs/ui/pipelinehost.h"
#include "shell/actiontable.h"
#include "shell/iconsets.h"
#include "system/historylist.h"

class QAbstractScrollArea;
class QComboBox;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QStatusBar;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace vortan {

class TfrmEditor;
class TActionRegistry;
class TMainLayout;
class TParlax;
class TPipeline;
class TDebugController;
class TStepRunner;
class TLiveCheckControl;
class TSearchCommands;
class TSynFortranSyn;
class TPrintCommands;
class TSymbolCommands;
class TSymbolIndexer;
class TSymbolsPanel;
struct TActionRow;

class TDocuments;

class TfrmMain : public QMainWindow, public TEditorHost, public TPipelineHost {
  Q_OBJECT
 public:
  explicit TfrmMain(QWidget* parent = nullptr);
  ~TfrmMain() override;

  // Documents (kept here for the callers that know only the main window)
  TDocuments& Documents() override { return *docs_; }
  TfrmEditor* OpenSourceFile(const std::string& fileName, bool inBackground = false);
  TfrmEditor* NewSourceFile() { return OpenSourceFile(std::string()); }
  bool OpenFileList(const std::vector<std::string>& names);
  TfrmEditor* FindEditor(const std::string& fileName) const;
  std::vector<TfrmEditor*> Editors() const;
  TfrmEditor* ActiveEditor() const;
  void ActivateEditor(TfrmEditor* editor);
  QMdiSubWindow* SubWindowOf(const TfrmEditor* editor) const;
  const std::vector<std::string>& TempFiles() const;
  void CloseAll();
  void SaveAll();

  // History
  void AddToHistory(const std::string& fileName, bool onTop);
  void BuildReopenMenu();
  const std::vector<std::string>& History() const { return history_.Items(); }
  QMenu* ReopenMenu() const { return mnuReopen_; }

  void ClearHistory();

  // Files panel
  void AddFileNode(TfrmEditor* editor);
  void RenameFileNode(TfrmEditor* editor, const std::string& name);

  // TEditorHost
  bool BatchClose() const override { return batchClose_; }
  void SetBatchClose(bool on) override { batchClose_ = on; }
  bool NoToAllChosen() const override { return noToAllChosen_; }
  void SetNoToAllChosen(bool on) override { noToAllChosen_ = on; }
  bool SaveEditorAs(const std::string& fileName, TfrmEditor* editor) override;
  std::string RunSaveDialog(const std::string& proposed) override;
  void SelectFileNode(TfrmEditor* editor) override;
  void RemoveFileNode(TfrmEditor* editor) override;
  void RemoveEditorMessages(TfrmEditor* editor) override;
  void EditorDestroyed(TfrmEditor* editor) override;
  QLabel* MainStatusPanel(int index) override;
  void MergeStatusbar();
  QMenu* EditorContextMenu() override;
  TSynFortranSyn* Highlighter() override;
  const THighlightAttribute& DefaultErrorLine() const override { return defaultErrorLine_; }
  const THighlightAttribute& UserErrorLine() const override { return userErrorLine_; }
  void StopJob(TfrmEditor* editor) override;
  void SetUserErrorLine(const THighlightAttribute& attr) { userErrorLine_ = attr; }
  /// Margins, print flags, page header and footer; loaded and saved with the window.
  TPrintSettings& PrintSettings() { return printSettings_; }

  // What the commands change
  /// Exit: closes the window without marking the close as a batch.
  void Exit();
  void ToggleFullScreen();
  bool IsFullScreen() const;
  /// The rectangle the window goes back to when full screen ends.
  QRect FullScreenRestoreRect() const { return savedGeometry_; }
  /// Hides or shows the menu bar (hiding it tells how to get it back).
  void ToggleMenuBar();
  void ToggleStatusBar();
  /// The bar or panel a View command's check rule names, or null.
  QWidget* BarOf(TCheckRule rule) const;
  void SelectOutputFont();

  // Appearance (also used when the saved state is restored)
  void ApplyIconStyle(int style);
  void ApplyTextStyle(int style);
  void ApplyStretch(bool on);
  void ApplyTheme(const QString& name);
  void ApplyFlatMenuStyle(int style);
  void ApplyMergeStatusbar(bool merged);
  int IconStyle() const { return iconStyle_; }
  int TextStyle() const { return textStyle_; }
  int FlatMenuStyle() const { return flatMenuStyle_; }
  bool Stretch() const { return stretch_; }
  QString Theme() const { return theme_; }
  bool Merged() const { return merged_; }
  /// Shows the hint alone in the status bar; an empty hint restores the merge layout.
  void ShowHint(const QString& hint);

  /// Applies the texts of a language tree (its "Form:Main" block) to the window.
  void ApplyLanguage(TParlax& language);
  void LoadMainState();
  void SaveMainState();

  // Parts, for the other windows and for tests
  TActionRegistry& Actions() { return *actions_; }
  QAction* Action(const std::string& name) const;
  /// Copy to Clipboard of the Messages and Output context menus: copies from the panel whose
  /// menu opened last (the Output panel until one did).
  void CopyFromPanel();
  /// Runs every action's enabling and check rule now.
  void UpdateActions() override;
  QMainWindow* Window() override { return this; }
  QLabel* ProcessPanel() const override { return panels_[3]; }
  QMdiArea* MdiArea() const { return mdi_; }
  QTreeWidget* FilesTree() const { return trvFiles_; }
  QTreeWidget* MessagesTree() const override { return trvMessages_; }
  QPlainTextEdit* OutputMemo() const override { return memOutput_; }
  QToolBar* MenuToolbar() const { return tbrMenu_; }
  QToolBar* MainToolbar() const { return tbrMain_; }
  QToolBar* EditToolbar() const { return tbrEdit_; }
  QToolBar* RunToolbar() const { return tbrRun_; }
  QDockWidget* FilesWindow() const { return tbrFiles_; }
  QDockWidget* MessagesWindow() const override { return tbrMessages_; }
  QDockWidget* OutputWindow() const override { return tbrOutput_; }
  QDockWidget* CallStackWindow() const { return tbrCallStack_; }
  QDockWidget* VariablesWindow() const { return tbrVariables_; }
  QDockWidget* WatchWindow() const { return tbrWatch_; }
  QLabel* StatusPanel(int index) const { return panels_[std::size_t(index)]; }
  QMenu* Menu(const std::string& key) const;
  QComboBox* ThemeList() const { return cbxTheme_; }
  TIconSets& Icons() { return icons_; }
  /// Print, preview, page setup and export, with the print settings they use.
  TPrintCommands& PrintCommands() { return *print_; }
  /// The build actions, the Messages tree's contents and the Output panel's text.
  TPipeline& Pipeline() const { return *pipeline_; }
  /// Compile All and Analyze all over every open source.
  TStepRunner& Runner() const { return *runner_; }
  /// The check of the active document as it is typed.
  TLiveCheckControl& LiveCheck() const { return *liveCheck_; }
  TDebugController& Debugger() const { return *debugger_; }
  /// Find, Replace, Search Again, Go to, Insert and Convert on the active editor.
  TSearchCommands& SearchCommands() const { return *search_; }
  /// The symbol index of the open files' folders, the Symbols panel and the commands on them.
  TSymbolIndexer& SymbolIndexer() const { return *symbolIndexer_; }
  TSymbolsPanel& SymbolsPanel() const { return *symbolsPanel_; }
  TSymbolCommands& SymbolCommands() const { return *symbolCommands_; }
  QDockWidget* SymbolsWindow() const { return tbrSymbols_; }
  QLabel* SymbolsStatus() const { return pnlSymbols_; }

 public slots:
  /// An open request from another launch: line 1 is the file to open.
  void Vortan2DDEExecuteMacro(const QStringList& lines);
  /// Restores the window when minimised and brings it to the front.
  void BringToFront();

 signals:
  void FirstShown();

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void dragEnterEvent(QDragEnterEvent* e) override;
  void dropEvent(QDropEvent* e) override;
  QMenu* createPopupMenu() override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void CreateActions();
  void CreateMenus();
  QMenu* BuildMenu(const std::vector<std::string>& items, QWidget* parent);
  void CreateToolbars();
  void CreatePanels();
  /// A dockable panel holding `content`, named for the saved layout.
  QDockWidget* AddPanel(const char* name, QWidget* content, Qt::DockWidgetArea area);
  void CreateDebugPanels();
  void TranslateDebugPanels();
  void CreateStatusBar();
  void CreatePopups();
  void ScheduleUpdate();
  bool IsChecked(const TActionRow& row) const;
  void UpdateStatusPanels(const TfrmEditor* leaving);
  void RelayoutBars();
  void RebuildWindowList();
  void FilesSelectionChanged();
  void FilesContextMenu(const QPoint& pos);
  TfrmEditor* EditorOfNode(QTreeWidgetItem* item) const;
  QTreeWidgetItem* NodeOf(const TfrmEditor* editor) const;
  void AskMenuBarHidden();

  QMdiArea* mdi_ = nullptr;
  TDocuments* docs_ = nullptr;
  std::unique_ptr<TActionRegistry> actions_;
  TPipeline* pipeline_ = nullptr;
  TStepRunner* runner_ = nullptr;
  TLiveCheckControl* liveCheck_ = nullptr;
  TDebugController* debugger_ = nullptr;
  TSearchCommands* search_ = nullptr;
  TSymbolIndexer* symbolIndexer_ = nullptr;
  TSymbolsPanel* symbolsPanel_ = nullptr;
  TSymbolCommands* symbolCommands_ = nullptr;
  QDockWidget* tbrSymbols_ = nullptr;
  QLabel* pnlSymbols_ = nullptr;
  void CreateSymbols();
  TIconSets icons_;
  THistoryList history_;
  std::unique_ptr<TSynFortranSyn> highlighter_;
  TPrintCommands* print_ = nullptr;
  THighlightAttribute defaultErrorLine_;
  THighlightAttribute userErrorLine_;
  TFontSpec outputFont_;
  TPrintSettings printSettings_;
  TMainLayout* layout_ = nullptr;

  QToolBar* tbrMenu_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  QToolBar* tbrMain_ = nullptr;
  QToolBar* tbrEdit_ = nullptr;
  QToolBar* tbrRun_ = nullptr;
  QDockWidget* tbrFiles_ = nullptr;
  QDockWidget* tbrMessages_ = nullptr;
  QDockWidget* tbrOutput_ = nullptr;
  QDockWidget* tbrCallStack_ = nullptr;
  QDockWidget* tbrVariables_ = nullptr;
  QDockWidget* tbrWatch_ = nullptr;
  QTreeWidget* trvFiles_ = nullptr;
  QTreeWidget* trvMessages_ = nullptr;
  QPlainTextEdit* memOutput_ = nullptr;
  QStatusBar* sbrMain_ = nullptr;
  std::array<QLabel*, 5> panels_{};
  std::map<std::string, QMenu*> menus_;
  QMenu* mnuReopen_ = nullptr;
  QMenu* mnuVisual_ = nullptr;
  QMenu* popFileView_ = nullptr;
  QMenu* popMessages_ = nullptr;
  QMenu* popOutput_ = nullptr;
  /// The panel Copy to Clipboard copies from.
  enum class TCopyPanel { Output, Messages } copyPanel_ = TCopyPanel::Output;
  void PopupPanelMenu(TCopyPanel panel, QMenu* menu, QAbstractScrollArea* view, const QPoint& pos);
  QMenu* popEditor_ = nullptr;
  QList<QAction*> windowListEntries_;
  QComboBox* cbxTheme_ = nullptr;
  QLabel* lblTheme_ = nullptr;
  QTimer updateTimer_;

  bool batchClose_ = false;
  bool noToAllChosen_ = false;
  bool closingByCommand_ = false;
  bool shownOnce_ = false;
  bool destroying_ = false;
  QRect savedGeometry_;
  Qt::WindowStates savedState_;

  int iconStyle_ = 0;
  int textStyle_ = 0;
  int flatMenuStyle_ = 0;
  bool stretch_ = false;
  QString theme_ = QStringLiteral("Default");
  bool merged_ = false;
};

}  // namespace vortan
