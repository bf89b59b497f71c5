#include "shell/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QWidgetAction>
#include <filesystem>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "config/settingstable.h"
#include "editor/fortranhighlighter.h"
#include "editor/ui/documents.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/searchcommands.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "i18n/ui/translator.h"
#include "jobs/ui/callstackpanel.h"
#include "jobs/ui/debugcontroller.h"
#include "jobs/ui/livecheckcontrol.h"
#include "jobs/ui/messagestree.h"
#include "jobs/ui/outputpanel.h"
#include "jobs/ui/pipeline.h"
#include "jobs/ui/steprunner.h"
#include "jobs/ui/variablespanel.h"
#include "jobs/ui/watchpanel.h"
#include "platform/platform.h"
#include "shell/actionregistry.h"
#include "shell/mainlayout.h"
#include "shell/mainwindowlanguage.h"
#include "shell/printcommands.h"
#include "shell/themes.h"
#include "symbols/ui/symbolcommands.h"
#include "symbols/ui/symbolindexer.h"
#include "symbols/ui/symbolspanel.h"
#include "system/product.h"
#include "system/promptservice.h"
#include "system/sourcefilenames.h"
#include "system/vortanextension.h"
#include "widgets/qtconvert.h"
#include "widgets/qtfont.h"

namespace vortan {

namespace {

constexpr int kEditorRole = Qt::UserRole + 1;

const char* SettingDefault(int id) { return SettingsTable[std::size_t(id)].DefaultText; }

// Setting a style sheet polishes every child again; start-up applies the theme and the menu
// style one after the other, which mostly give the same sheet.
void ApplyStyleSheet(QWidget* window, const QString& sheet) {
  if (sheet != window->styleSheet()) window->setStyleSheet(sheet);
}

}  // namespace

// --- creation ---------------------------------------------------------------------------

TfrmMain::TfrmMain(QWidget* parent)
    : QMainWindow(parent),
      history_(
          [](const std::string& a, const std::string& b) { return platform::IsSameFile(a, b); },
          [](const std::string& f) { return platform::FileExists(f); }) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QString::fromLatin1(ApplicationTitle));
  setAcceptDrops(true);
  setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowNestedDocks |
                 QMainWindow::AllowTabbedDocks);

  mdi_ = new QMdiArea(this);
  mdi_->setObjectName(QStringLiteral("MDIClient"));
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setActivationOrder(QMdiArea::CreationOrder);
  mdi_->setContextMenuPolicy(Qt::CustomContextMenu);
  setCentralWidget(mdi_);
  docs_ = new TDocuments(mdi_, this, this);
  docs_->SetSourceIcon(icons_.SourceIcon());
  connect(docs_, &TDocuments::Opened, this, [this](TfrmEditor* e) {
    AddFileNode(e);
    if (debugger_) debugger_->AttachEditor(e);
    // The editor asked for the merge while it was being made, before the frame listed it.
    UpdateStatusPanels(nullptr);
  });
  connect(docs_, &TDocuments::Renamed, this, [this](TfrmEditor* e, const std::string& name) {
    RenameFileNode(e, FileNamePart(name));
  });
  connect(docs_, &TDocuments::FileUsed, this, &TfrmMain::AddToHistory);
  connect(docs_, &TDocuments::Changed, this, &TfrmMain::ScheduleUpdate);
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
    if (sub)
      if (auto* e = qobject_cast<TfrmEditor*>(sub->widget())) SelectFileNode(e);
    ScheduleUpdate();
  });
  connect(mdi_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    if (QMenu* m = Menu("Window")) m->popup(mdi_->mapToGlobal(pos));
  });

  updateTimer_.setSingleShot(true);
  updateTimer_.setInterval(0);
  connect(&updateTimer_, &QTimer::timeout, this, &TfrmMain::UpdateActions);

  defaultErrorLine_.Background = 0x00000080;  // red 128 in the stored BGR order
  defaultErrorLine_.Foreground = 0x00FFFFFF;
  highlighter_ = std::make_unique<TSynFortranSyn>();

  CreateActions();
  CreateMenus();
  CreateToolbars();
  CreatePanels();
  CreateStatusBar();
  CreatePopups();
  pipeline_ = new TPipeline(this, this);
  print_ = new TPrintCommands(this, printSettings_);
  search_ = new TSearchCommands(this);
  runner_ = new TStepRunner(this, pipeline_);
  CreateSymbols();
  liveCheck_ = new TLiveCheckControl(*docs_, pipeline_->Messages(), this);
  connect(runner_, &TStepRunner::Started, liveCheck_, &TLiveCheckControl::Drop);
  CreateDebugPanels();

  ApplyLanguage(BuiltInLanguage());
  AttachLanguageHandler(this, [this](TParlax& language) { ApplyLanguage(language); });
  Translate(MainLanguage(), this);

  // The interface is "idle" after every key or mouse release: that is when the enabled and
  // checked states may have changed (selection, clipboard, modified flag).
  qApp->installEventFilter(this);

  resize(800, 600);
  LoadMainState();
  UpdateActions();
}

TfrmMain::~TfrmMain() {
  qApp->removeEventFilter(this);
  updateTimer_.stop();
  pipeline_->Messages().Clear();
  // Editors report their destruction to this window; they go while it is still whole.
  std::vector<TfrmEditor*> editors = Editors();
  for (auto it = editors.rbegin(); it != editors.rend(); ++it)
    if (QMdiSubWindow* sub = SubWindowOf(*it)) delete sub;
  // Windows closed but not yet deleted go now too, while their host still exists.
  for (QMdiSubWindow* sub : mdi_->findChildren<QMdiSubWindow*>()) delete sub;
  destroying_ = true;
  // The base classes destroy the children next; none of their signals may reach this
  // window, which is no longer whole by then.
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
  qApp->disconnect(this);
}

void TfrmMain::CreateActions() {
  actions_ = std::make_unique<TActionRegistry>(this);
  // Shortcuts must work while the menu bar is hidden, so the window itself holds them.
  for (QAction* a : actions_->All()) {
    a->setShortcutContext(Qt::WindowShortcut);
    if (const TActionRow* row = actions_->Row(a); row && row->Run)
      connect(a, &QAction::triggered, this, [this, row, a] { row->Run({*this, *row, *a}); });
    connect(a, &QAction::triggered, this, &TfrmMain::ScheduleUpdate, Qt::QueuedConnection);
  }
}

QAction* TfrmMain::Action(const std::string& name) const { return actions_->Action(name); }

QMenu* TfrmMain::Menu(const std::string& key) const {
  auto it = menus_.find(key);
  return it == menus_.end() ? nullptr : it->second;
}

QMenu* TfrmMain::BuildMenu(const std::vector<std::string>& items, QWidget* parent) {
  auto* menu = new QMenu(parent);
  for (const std::string& item : items) {
    if (item == "-") {
      menu->addSeparator();
    } else if (item == "cbxTheme") {
      auto* host = new QWidget(menu);
      auto* row = new QHBoxLayout(host);
      row->setContentsMargins(30, 2, 8, 2);
      lblTheme_ = new QLabel(host);
      cbxTheme_ = new QComboBox(host);
      cbxTheme_->setObjectName(QStringLiteral("cbxTheme"));
      cbxTheme_->setFixedWidth(80);
      cbxTheme_->addItems(ThemeNames());
      lblTheme_->setBuddy(cbxTheme_);
      row->addWidget(lblTheme_);
      row->addWidget(cbxTheme_);
      row->addStretch(1);
      auto* wa = new QWidgetAction(menu);
      wa->setDefaultWidget(host);
      menu->addAction(wa);
      connect(cbxTheme_, &QComboBox::textActivated, this, [this](const QString& name) {
        if (name != theme_) ApplyTheme(name);
      });
    } else if (QAction* a = Action(item)) {
      if (item == "actReopen") {
        a->setMenu(mnuReopen_);
      } else if (const std::vector<std::string>& sub = SubmenuOf(item); !sub.empty()) {
        QMenu* submenu = BuildMenu(sub, menu);
        submenu->setObjectName(QStringLiteral("mnu") + QString::fromLatin1(item.c_str() + 3));
        a->setMenu(submenu);
        if (item == "actVisual") mnuVisual_ = submenu;
      }
      menu->addAction(a);
    }
  }
  connect(menu, &QMenu::aboutToShow, this, &TfrmMain::UpdateActions);
  return menu;
}

void TfrmMain::CreateMenus() {
  tbrMenu_ = new QToolBar(this);
  tbrMenu_->setObjectName(QStringLiteral("tbrMenu"));
  menuBar_ = new QMenuBar(tbrMenu_);
  menuBar_->setObjectName(QStringLiteral("mnuMain"));
  menuBar_->setNativeMenuBar(false);
  tbrMenu_->addWidget(menuBar_);
  tbrMenu_->setMovable(true);
  tbrMenu_->setFloatable(true);

  mnuReopen_ = new QMenu(this);
  mnuReopen_->setObjectName(QStringLiteral("mnuReopen"));

  for (const TMenuSpec& spec : MainMenus()) {
    QMenu* menu = BuildMenu(spec.Items, menuBar_);
    menu->setObjectName(QStringLiteral("mnu") + QString::fromLatin1(spec.Key));
    menu->setTitle(QString::fromLatin1(spec.Key));
    menuBar_->addMenu(menu);
    menus_[spec.Key] = menu;
  }
  connect(Menu("Window"), &QMenu::aboutToShow, this, &TfrmMain::RebuildWindowList);
  addToolBar(Qt::TopToolBarArea, tbrMenu_);
  addToolBarBreak(Qt::TopToolBarArea);
}

void TfrmMain::CreateToolbars() {
  auto make = [this](const char* name, std::initializer_list<const char*> items) {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setMovable(true);
    bar->setFloatable(true);
    bar->setIconSize(QSize(16, 16));
    for (const char* item : items) {
      if (std::string_view(item) == "-")
        bar->addSeparator();
      else
        bar->addAction(Action(item));
    }
    addToolBar(Qt::TopToolBarArea, bar);
    return bar;
  };
  tbrMain_ = make("tbrMain", {"actNew", "actOpen", "actSave", "actSaveAll"});
  tbrEdit_ =
      make("tbrEdit", {"actCut", "actCopy", "actPaste", "-", "actUndo", "actRedo", "-", "actFind"});
  tbrRun_ = make("tbrRun", {"actCompileandRun", "actStop", "actDebug", "-", "actDebugStart",
                            "actStepOver", "actStepInto", "actStepOut", "actDebugStop"});
  if (auto* open = qobject_cast<QToolButton*>(tbrMain_->widgetForAction(Action("actOpen")))) {
    open->setMenu(mnuReopen_);
    open->setPopupMode(QToolButton::MenuButtonPopup);
  }
}

QDockWidget* TfrmMain::AddPanel(const char* name, QWidget* content, Qt::DockWidgetArea area) {
  auto* d = new QDockWidget(this);
  d->setObjectName(QString::fromLatin1(name));
  d->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                 QDockWidget::DockWidgetFloatable);
  d->setWidget(content);
  addDockWidget(area, d);
  // The View menu's check marks follow the panel.
  connect(d, &QDockWidget::visibilityChanged, this, &TfrmMain::ScheduleUpdate);
  return d;
}

void TfrmMain::CreatePanels() {
  auto dock = [this](const char* name, QWidget* content, Qt::DockWidgetArea area) {
    return AddPanel(name, content, area);
  };

  trvFiles_ = new QTreeWidget(this);
  trvFiles_->setObjectName(QStringLiteral("trvFiles"));
  trvFiles_->setHeaderHidden(true);
  trvFiles_->setRootIsDecorated(false);
  trvFiles_->setIconSize(QSize(16, 16));
  trvFiles_->setContextMenuPolicy(Qt::CustomContextMenu);
  trvFiles_->setSelectionMode(QAbstractItemView::SingleSelection);
  connect(trvFiles_, &QTreeWidget::itemSelectionChanged, this, &TfrmMain::FilesSelectionChanged);
  connect(trvFiles_, &QTreeWidget::itemClicked, this, &TfrmMain::FilesSelectionChanged);
  connect(trvFiles_, &QTreeWidget::itemDoubleClicked, this, &TfrmMain::FilesSelectionChanged);
  connect(trvFiles_, &QWidget::customContextMenuRequested, this, &TfrmMain::FilesContextMenu);
  tbrFiles_ = dock("tbrFiles", trvFiles_, Qt::LeftDockWidgetArea);

  trvMessages_ = new QTreeWidget(this);
  trvMessages_->setObjectName(QStringLiteral("trvMessages"));
  trvMessages_->setHeaderHidden(true);
  trvMessages_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(trvMessages_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    // The row under the mouse is selected first (the tree does it too, but later), so the
    // menu's Copy to Clipboard sees it.
    if (QTreeWidgetItem* item = trvMessages_->itemAt(pos)) trvMessages_->setCurrentItem(item);
    PopupPanelMenu(TCopyPanel::Messages, popMessages_, trvMessages_, pos);
  });
  tbrMessages_ = dock("tbrMessages", trvMessages_, Qt::BottomDockWidgetArea);

  memOutput_ = new QPlainTextEdit(this);
  memOutput_->setObjectName(QStringLiteral("memOutput"));
  memOutput_->setReadOnly(true);
  memOutput_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memOutput_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memOutput_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memOutput_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(memOutput_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    PopupPanelMenu(TCopyPanel::Output, popOutput_, memOutput_, pos);
  });
  connect(memOutput_, &QPlainTextEdit::textChanged, this, &TfrmMain::ScheduleUpdate);
  tbrOutput_ = dock("tbrOutput", memOutput_, Qt::BottomDockWidgetArea);
  tbrOutput_->hide();
}

void TfrmMain::CreateSymbols() {
  symbolIndexer_ = new TSymbolIndexer(*docs_, platform::UserCacheDir(), this);
  symbolsPanel_ = new TSymbolsPanel(
      *symbolIndexer_,
      [this] {
        const TfrmEditor* e = ActiveEditor();
        return e ? e->FileName() : std::string();
      },
      this);
  tbrSymbols_ = AddPanel("tbrSymbols", symbolsPanel_, Qt::RightDockWidgetArea);
  tbrSymbols_->hide();
  connect(tbrSymbols_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
    if (visible) symbolsPanel_->Refresh();
  });
  symbolCommands_ = new TSymbolCommands(
      *docs_, *symbolIndexer_, *symbolsPanel_, [this] { tbrSymbols_->show(); }, this);
  symbolCommands_->SetAutoComplete(ReadBool(sidSymbolsAutoComplete));
  connect(symbolCommands_, &TSymbolCommands::Message, this,
          [this](const QString& text) { sbrMain_->showMessage(text, 4000); });
  pnlSymbols_ = new QLabel(sbrMain_);
  pnlSymbols_->setObjectName(QStringLiteral("pnlSymbols"));
  sbrMain_->addPermanentWidget(pnlSymbols_);
  connect(symbolIndexer_, &TSymbolIndexer::StatusChanged, pnlSymbols_, &QLabel::setText);
  connect(symbolIndexer_, &TSymbolIndexer::Changed, this, &TfrmMain::ScheduleUpdate);
  // What the index skipped is said once in the status bar and kept in the panel's tip.
  connect(symbolIndexer_, &TSymbolIndexer::Problems, this, [this](const QStringList& said) {
    sbrMain_->showMessage(said.front(), 8000);
    QString all = pnlSymbols_->toolTip();
    for (const QString& s : said) all += (all.isEmpty() ? "" : "\n") + s;
    pnlSymbols_->setToolTip(all);
  });
  // The outline of "this file" follows the active editor.
  connect(mdi_, &QMdiArea::subWindowActivated, this, [this] {
    if (tbrSymbols_->isVisible() && symbolsPanel_->Mode() == TSymbolsPanel::ThisFile)
      symbolsPanel_->Refresh();
  });
}

void TfrmMain::CreateDebugPanels() {
  // The debugger's panels dock at the right, hidden until a debugging run or the View menu
  // shows them; their place is kept with the others'.
  debugger_ = new TDebugController(*this, this);
  connect(debugger_, &TDebugController::PanelsUpdated, this, &TfrmMain::ScheduleUpdate);
  connect(debugger_, &TDebugController::Ended, this, &TfrmMain::ScheduleUpdate);
  auto dock = [this](const char* name, QWidget* content, Qt::DockWidgetArea area) {
    QDockWidget* d = AddPanel(name, content, area);
    d->hide();
    return d;
  };
  tbrCallStack_ = dock("tbrCallStack", debugger_->CallStack(), Qt::RightDockWidgetArea);
  tbrVariables_ = dock("tbrVariables", debugger_->Variables(), Qt::RightDockWidgetArea);
  tbrWatch_ = dock("tbrWatch", debugger_->Watch(), Qt::RightDockWidgetArea);
  TranslateDebugPanels();
}

void TfrmMain::TranslateDebugPanels() {
  tbrCallStack_->setWindowTitle(LanguageText(Str(TStr::strCallStack)));
  tbrVariables_->setWindowTitle(LanguageText(Str(TStr::strVariables)));
  tbrWatch_->setWindowTitle(LanguageText(Str(TStr::strWatch)));
  debugger_->Translate();
}

void TfrmMain::CreateStatusBar() {
  sbrMain_ = new QStatusBar(this);
  sbrMain_->setObjectName(QStringLiteral("sbrMain"));
  sbrMain_->setSizeGripEnabled(true);
  for (std::size_t i = 0; i < panels_.size(); ++i) {
    auto* p = new QLabel(sbrMain_);
    p->setObjectName(QStringLiteral("pnl%1").arg(i));
    if (i < 3) {
      p->setFixedWidth(80);
      p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    } else if (i == 3) {
      p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    }
    if (i == 0) p->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    p->setContentsMargins(3, 0, 3, 0);
    sbrMain_->addWidget(p, i >= 3 ? 1 : 0);
    panels_[i] = p;
  }
  setStatusBar(sbrMain_);
  UpdateStatusPanels(nullptr);
}

void TfrmMain::CreatePopups() {
  auto pop = [this](const char* name, std::initializer_list<const char*> items) {
    std::vector<std::string> list(items.begin(), items.end());
    QMenu* m = BuildMenu(list, this);
    m->setObjectName(QString::fromLatin1(name));
    return m;
  };
  popFileView_ = pop("popFileView", {"actClose", "actSave", "-", "actPrint"});
  popMessages_ = pop("popMessages", {"actClearMessages", "actCopyToClipboard"});
  popOutput_ = pop("popOutput", {"actCopyToClipboard", "actClearOutput", "-", "actSelectFont"});
  // The text's context menu shows the Edit menu's entries.
  popEditor_ = pop("popEditor", {});
  for (QAction* a : Menu("Edit")->actions()) popEditor_->addAction(a);
}

void TfrmMain::PopupPanelMenu(TCopyPanel panel, QMenu* menu, QAbstractScrollArea* view,
                              const QPoint& pos) {
  // The two menus share one Copy to Clipboard: it follows the panel, and so does its state.
  copyPanel_ = panel;
  UpdateActions();
  menu->popup(view->viewport()->mapToGlobal(pos));
}

void TfrmMain::CopyFromPanel() {
  if (copyPanel_ == TCopyPanel::Messages)
    pipeline_->Messages().CopyToClipboard();
  else
    pipeline_->Output().CopyToClipboard();
}

QMenu* TfrmMain::createPopupMenu() {
  auto* popView = new QMenu(this);
  popView->setObjectName(QStringLiteral("popView"));
  for (QAction* a : Menu("View")->actions()) popView->addAction(a);
  if (mnuVisual_) popView->addMenu(mnuVisual_);
  UpdateActions();
  return popView;
}

void TfrmMain::Exit() {
  closingByCommand_ = true;
  close();
  closingByCommand_ = false;
}

// --- documents --------------------------------------------------------------------------

TfrmEditor* TfrmMain::OpenSourceFile(const std::string& fileName, bool inBackground) {
  return docs_->Open(fileName, inBackground);
}
bool TfrmMain::OpenFileList(const std::vector<std::string>& names) {
  return docs_->OpenList(names);
}
TfrmEditor* TfrmMain::FindEditor(const std::string& fileName) const {
  return docs_->Find(fileName);
}
std::vector<TfrmEditor*> TfrmMain::Editors() const { return docs_->Editors(); }
TfrmEditor* TfrmMain::ActiveEditor() const { return docs_->Active(); }
void TfrmMain::ActivateEditor(TfrmEditor* editor) { docs_->Activate(editor); }
QMdiSubWindow* TfrmMain::SubWindowOf(const TfrmEditor* editor) const {
  return docs_->SubWindowOf(editor);
}
const std::vector<std::string>& TfrmMain::TempFiles() const { return docs_->TempFiles(); }
void TfrmMain::CloseAll() { docs_->CloseAll(); }
void TfrmMain::SaveAll() { docs_->SaveAll(); }
bool TfrmMain::SaveEditorAs(const std::string& fileName, TfrmEditor* editor) {
  return docs_->SaveAs(fileName, editor);
}
std::string TfrmMain::RunSaveDialog(const std::string& proposed) {
  return docs_->AskSaveName(proposed);
}

void TfrmMain::Vortan2DDEExecuteMacro(const QStringList& lines) {
  if (lines.isEmpty()) return;
  const std::string path = LocalBytes(lines.first());
  if (!platform::FileExists(path)) return;
  OpenSourceFile(path);
  BringToFront();
}

void TfrmMain::BringToFront() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

// --- history ----------------------------------------------------------------------------

void TfrmMain::AddToHistory(const std::string& fileName, bool onTop) {
  if (!platform::FileExists(fileName)) return;
  history_.Add(fileName, onTop);
  BuildReopenMenu();
}

void TfrmMain::ClearHistory() {
  history_.Clear();
  BuildReopenMenu();
}

void TfrmMain::BuildReopenMenu() {
  mnuReopen_->clear();
  mnuReopen_->addAction(Action("actClearHistory"));
  mnuReopen_->addSeparator();
  history_.DropMissing();
  const std::vector<std::string>& items = history_.Items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string name = items[i];
    QAction* entry = mnuReopen_->addAction(QStringLiteral("&%1  %2").arg(i).arg(Local(name)));
    // Queued: opening rebuilds this menu, which deletes the entry being triggered.
    connect(
        entry, &QAction::triggered, this, [this, name] { OpenSourceFile(name); },
        Qt::QueuedConnection);
  }
  if (items.empty()) mnuReopen_->addAction(LanguageText(Str(TStr::strNothing)))->setEnabled(false);
  ScheduleUpdate();
}

// --- closing ----------------------------------------------------------------------------

void TfrmMain::closeEvent(QCloseEvent* e) {
  std::vector<TfrmEditor*> editors = Editors();
  if (!closingByCommand_) batchClose_ = editors.size() > 1;
  std::vector<QPointer<QMdiSubWindow>> subs;
  for (TfrmEditor* ed : editors) subs.emplace_back(SubWindowOf(ed));
  for (const QPointer<QMdiSubWindow>& sub : subs) {
    if (sub && !sub->close()) {
      batchClose_ = false;
      noToAllChosen_ = false;
      e->ignore();
      ScheduleUpdate();
      return;
    }
  }
  batchClose_ = false;
  noToAllChosen_ = false;
  SaveMainState();
  e->accept();
}

// --- Files panel ------------------------------------------------------------------------

TfrmEditor* TfrmMain::EditorOfNode(QTreeWidgetItem* item) const {
  if (!item) return nullptr;
  auto* obj = item->data(0, kEditorRole).value<QObject*>();
  return qobject_cast<TfrmEditor*>(obj);
}

QTreeWidgetItem* TfrmMain::NodeOf(const TfrmEditor* editor) const {
  for (int i = 0; i < trvFiles_->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = trvFiles_->topLevelItem(i);
    if (item->data(0, kEditorRole).value<QObject*>() == editor) return item;
  }
  return nullptr;
}

void TfrmMain::AddFileNode(TfrmEditor* editor) {
  auto* item = new QTreeWidgetItem;
  item->setText(0, Local(FileNamePart(LocalBytes(editor->Caption()))));
  item->setIcon(0, icons_.SourceIcon());
  item->setData(0, kEditorRole, QVariant::fromValue(static_cast<QObject*>(editor)));
  {
    const QSignalBlocker block(trvFiles_);
    trvFiles_->addTopLevelItem(item);
  }
  if (editor == ActiveEditor()) SelectFileNode(editor);
}

void TfrmMain::SelectFileNode(TfrmEditor* editor) {
  if (destroying_) return;
  QTreeWidgetItem* item = NodeOf(editor);
  if (!item) return;
  const QSignalBlocker block(trvFiles_);
  trvFiles_->setCurrentItem(item);
  trvFiles_->scrollToItem(item, QAbstractItemView::PositionAtCenter);
}

void TfrmMain::RenameFileNode(TfrmEditor* editor, const std::string& name) {
  if (QTreeWidgetItem* item = NodeOf(editor)) item->setText(0, Local(name));
}

void TfrmMain::RemoveFileNode(TfrmEditor* editor) {
  if (destroying_) return;
  const QSignalBlocker block(trvFiles_);
  delete NodeOf(editor);
}

void TfrmMain::RemoveEditorMessages(TfrmEditor* editor) {
  if (destroying_) return;
  pipeline_->Messages().RemoveEditorMessages(editor);
}

void TfrmMain::StopJob(TfrmEditor* editor) { pipeline_->StopJob(editor); }

void TfrmMain::EditorDestroyed(TfrmEditor* editor) {
  if (destroying_) return;
  UpdateStatusPanels(editor);
  ScheduleUpdate();
}

void TfrmMain::FilesSelectionChanged() {
  // Also when no editor is active (only background windows), so that every entry can be
  // reached from the panel.
  if (TfrmEditor* target = EditorOfNode(trvFiles_->currentItem())) ActivateEditor(target);
}

void TfrmMain::FilesContextMenu(const QPoint& pos) {
  QTreeWidgetItem* item = trvFiles_->itemAt(pos);
  if (!item) return;
  trvFiles_->setCurrentItem(item);
  UpdateActions();
  popFileView_->popup(trvFiles_->viewport()->mapToGlobal(pos));
}

// --- window arrangement -----------------------------------------------------------------

bool TfrmMain::IsFullScreen() const { return windowFlags().testFlag(Qt::FramelessWindowHint); }

void TfrmMain::ToggleFullScreen() {
  if (!IsFullScreen()) {
    savedState_ = windowState();
    savedGeometry_ =
        (savedState_ & (Qt::WindowMaximized | Qt::WindowMinimized)) ? normalGeometry() : geometry();
    setWindowFlag(Qt::FramelessWindowHint, true);
    setWindowState(Qt::WindowNoState);
    const QScreen* s = screen() ? screen() : QApplication::primaryScreen();
    setGeometry(QRect(QPoint(0, 0), s->geometry().size()));
    show();
  } else {
    setWindowFlag(Qt::FramelessWindowHint, false);
    setWindowState(Qt::WindowNoState);
    setGeometry(savedGeometry_);
    setWindowState(savedState_);
    show();
  }
  ScheduleUpdate();
}

void TfrmMain::RebuildWindowList() {
  QMenu* menu = Menu("Window");
  for (QAction* a : windowListEntries_) {
    menu->removeAction(a);
    a->deleteLater();
  }
  windowListEntries_.clear();
  const TfrmEditor* active = ActiveEditor();
  QList<QMdiSubWindow*> subs = mdi_->subWindowList(QMdiArea::CreationOrder);
  int n = 0;
  for (QMdiSubWindow* sub : subs) {
    auto* e = qobject_cast<TfrmEditor*>(sub->widget());
    if (!e || !sub->isVisible()) continue;
    if (n == 0) windowListEntries_ << menu->addSeparator();
    ++n;
    QString text = e->Caption();
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* a = menu->addAction(n < 10 ? QStringLiteral("&%1 %2").arg(n).arg(text) : text);
    a->setCheckable(true);
    a->setChecked(e == active);
    QPointer<TfrmEditor> target(e);
    connect(a, &QAction::triggered, this, [this, target] {
      if (target) ActivateEditor(target);
    });
    windowListEntries_ << a;
  }
}

// --- appearance -------------------------------------------------------------------------

void TfrmMain::ApplyIconStyle(int style) {
  if (style < 0 || style > NoIcons) style = 0;
  iconStyle_ = style;
  actions_->ApplyIconStyle(style, icons_);
  // Without icons the bars show captions only; the chosen text style is kept for later.
  ApplyTextStyle(textStyle_);
  ScheduleUpdate();
}

void TfrmMain::ApplyTextStyle(int style) {
  if (style < 0 || style > 2) style = 0;
  textStyle_ = style;
  Qt::ToolButtonStyle s = Qt::ToolButtonIconOnly;
  if (iconStyle_ == NoIcons)
    s = Qt::ToolButtonTextOnly;
  else if (style == 1)
    s = Qt::ToolButtonTextBesideIcon;
  else if (style == 2)
    s = Qt::ToolButtonTextUnderIcon;
  for (QToolBar* bar : {tbrMain_, tbrEdit_, tbrRun_}) bar->setToolButtonStyle(s);
  RelayoutBars();
  ScheduleUpdate();
}

void TfrmMain::ApplyStretch(bool on) {
  stretch_ = on;
  RelayoutBars();
  ScheduleUpdate();
}

void TfrmMain::RelayoutBars() {
  // A stretched bar asks for an equal share of its row; the dock gives the rest to the last.
  std::vector<QToolBar*> bars;
  for (QToolBar* bar : {tbrMain_, tbrEdit_, tbrRun_}) {
    bar->setMinimumWidth(0);
    if (stretch_ && bar->isVisible() && !bar->isFloating() &&
        (toolBarArea(bar) == Qt::TopToolBarArea || toolBarArea(bar) == Qt::BottomToolBarArea))
      bars.push_back(bar);
  }
  if (bars.empty()) return;
  std::map<std::pair<int, int>, int> perRow;
  for (QToolBar* bar : bars) ++perRow[{int(toolBarArea(bar)), bar->y()}];
  for (QToolBar* bar : bars) {
    const int count = perRow[{int(toolBarArea(bar)), bar->y()}];
    bar->setMinimumWidth(std::max(0, width() / count - 8));
  }
}

void TfrmMain::ApplyFlatMenuStyle(int style) {
  if (style < 0 || style > 2) style = 0;
  flatMenuStyle_ = style;
  ApplyStyleSheet(this, ThemeStyleSheet(theme_, flatMenuStyle_));
  ScheduleUpdate();
}

void TfrmMain::ApplyTheme(const QString& name) {
  theme_ = IsKnownTheme(name) ? name : QStringLiteral("Default");
  ApplyStyleSheet(this, ThemeStyleSheet(theme_, flatMenuStyle_));
  if (cbxTheme_) {
    const QSignalBlocker block(cbxTheme_);
    cbxTheme_->setCurrentText(theme_);
  }
}

void TfrmMain::ApplyMergeStatusbar(bool merged) {
  merged_ = merged;
  MergeStatusbar();
}

void TfrmMain::MergeStatusbar() {
  if (destroying_) return;
  UpdateStatusPanels(nullptr);
  WriteBool(sidMergeStatusbar, merged_);
  // The settings are read once for all editors; an editor whose settings did not change
  // only moves its status texts.
  TfrmEditor::ApplyEditorSettingsToAll(Editors());
  ScheduleUpdate();
}

void TfrmMain::UpdateStatusPanels(const TfrmEditor* leaving) {
  std::size_t editors = 0;
  for (const TfrmEditor* e : docs_->Editors())
    if (e != leaving) ++editors;
  sbrMain_->setUpdatesEnabled(false);
  for (QLabel* p : panels_) p->hide();
  if (merged_ && editors > 0)
    for (int i = 0; i <= 3; ++i) panels_[std::size_t(i)]->show();
  else
    panels_[3]->show();
  sbrMain_->setUpdatesEnabled(true);
}

void TfrmMain::ShowHint(const QString& hint) {
  if (hint.isEmpty()) {
    UpdateStatusPanels(nullptr);
    return;
  }
  for (QLabel* p : panels_) p->hide();
  panels_[4]->setText(hint);
  panels_[4]->show();
}

QLabel* TfrmMain::MainStatusPanel(int index) {
  return index >= 0 && index < static_cast<int>(panels_.size()) ? panels_[std::size_t(index)]
                                                                : nullptr;
}

QMenu* TfrmMain::EditorContextMenu() { return popEditor_; }

TSynFortranSyn* TfrmMain::Highlighter() { return highlighter_.get(); }

void TfrmMain::ToggleMenuBar() {
  tbrMenu_->setVisible(!tbrMenu_->isVisible());
  if (tbrMenu_->isVisible()) return;
  bool show = ReadBool(sidHidingMenuToolbar);
  if (!show) return;
  const std::string key =
      Action("actMenuBar")->shortcut().toString(QKeySequence::NativeText).toStdString();
  MessageDlgCheck(FormatText(TStr::strMsgShowMenu, {key}), TMsgDlgType::Information,
                  {TMsgDlgBtn::OK}, {}, show);
  WriteBool(sidHidingMenuToolbar, show);
}

void TfrmMain::ToggleStatusBar() {
  // Shown again, the status bar docks below everything else.
  if (!sbrMain_->isVisible()) setStatusBar(sbrMain_);
  sbrMain_->setVisible(!sbrMain_->isVisible());
}

QWidget* TfrmMain::BarOf(TCheckRule rule) const {
  switch (rule) {
    case TCheckRule::Files:
      return tbrFiles_;
    case TCheckRule::SymbolsPanel:
      return tbrSymbols_;
    case TCheckRule::CallStackPanel:
      return tbrCallStack_;
    case TCheckRule::VariablesPanel:
      return tbrVariables_;
    case TCheckRule::WatchPanel:
      return tbrWatch_;
    case TCheckRule::Messages:
      return tbrMessages_;
    case TCheckRule::Output:
      return tbrOutput_;
    case TCheckRule::MainBar:
      return tbrMain_;
    case TCheckRule::EditBar:
      return tbrEdit_;
    case TCheckRule::RunBar:
      return tbrRun_;
    default:
      return nullptr;
  }
}

void TfrmMain::AskMenuBarHidden() {
  if (tbrMenu_->isVisible() || isHidden()) return;
  bool show = ReadBool(sidMenuToolbarIsHide);
  if (!show) return;
  if (MessageDlgCheck(StrText(TStr::strMsgMenuInvisible), TMsgDlgType::Information,
                      {TMsgDlgBtn::Yes, TMsgDlgBtn::No}, {}, show) == TModalResult::Yes)
    tbrMenu_->show();
  WriteBool(sidMenuToolbarIsHide, show);
  ScheduleUpdate();
}

void TfrmMain::SelectOutputFont() { pipeline_->Output().SelectFont(outputFont_); }

// --- language and state -----------------------------------------------------------------

void TfrmMain::ApplyLanguage(TParlax& language) {
  TMainWindowTranslator(*this).Apply(language);
  actions_->HoldShortcuts(this);
  if (debugger_) TranslateDebugPanels();
}

void TfrmMain::LoadMainState() {
  merged_ = ReadBool(sidMergeStatusbar);
  MergeStatusbar();
  ApplyTheme(Latin(ReadString(sidThemeName)));
  userErrorLine_ =
      AttributeFromStored(ReadString(sidHighlightErrorLine), SettingDefault(sidHighlightErrorLine));
  highlighter_->LoadAttributes(Store());

  printSettings_.Load(Store());
  if (!layout_) layout_ = new TMainLayout(*this);
  layout_->Load();

  history_.Assign(ReadList(sidHistory));
  BuildReopenMenu();

  ApplyTextStyle(ReadInteger(sidTextStyle));
  ApplyIconStyle(ReadInteger(sidIconStyle));
  ApplyFlatMenuStyle(ReadInteger(sidFlatMenuStyle));
  ApplyStretch(ReadBool(sidStretch));

  outputFont_ = FontFromStored(ReadString(sidOutputFont), SettingDefault(sidOutputFont));
  memOutput_->setFont(FontFromSpec(outputFont_));
}

void TfrmMain::SaveMainState() {
  WriteBool(sidMergeStatusbar, merged_);
  WriteString(sidThemeName, LocalBytes(theme_));
  WriteString(sidHighlightErrorLine, AttributeToText(userErrorLine_));
  highlighter_->SaveAttributes(Store());
  printSettings_.Save(Store());
  WriteList(sidHistory, history_.Items());
  layout_->Save();
  WriteString(sidOutputFont, FontToText(outputFont_));
}

// --- updating ---------------------------------------------------------------------------

void TfrmMain::ScheduleUpdate() {
  if (!destroying_ && !updateTimer_.isActive()) updateTimer_.start();
}

bool TfrmMain::IsChecked(const TActionRow& row) const {
  switch (row.Check) {
    case TCheckRule::None:
      return false;
    case TCheckRule::MenuBar:
      return tbrMenu_->isVisibleTo(this);
    case TCheckRule::Files:
      return tbrFiles_->isVisibleTo(this);
    case TCheckRule::Messages:
      return tbrMessages_->isVisibleTo(this);
    case TCheckRule::Output:
      return tbrOutput_->isVisibleTo(this);
    case TCheckRule::SymbolsPanel:
      return tbrSymbols_->isVisibleTo(this);
    case TCheckRule::CallStackPanel:
      return tbrCallStack_->isVisibleTo(this);
    case TCheckRule::VariablesPanel:
      return tbrVariables_->isVisibleTo(this);
    case TCheckRule::WatchPanel:
      return tbrWatch_->isVisibleTo(this);
    case TCheckRule::StatusBar:
      return sbrMain_->isVisibleTo(this);
    case TCheckRule::MainBar:
      return tbrMain_->isVisibleTo(this);
    case TCheckRule::EditBar:
      return tbrEdit_->isVisibleTo(this);
    case TCheckRule::RunBar:
      return tbrRun_->isVisibleTo(this);
    case TCheckRule::FullScreen:
      return IsFullScreen();
    case TCheckRule::IconStyle:
      return iconStyle_ == row.Tag;
    case TCheckRule::TextStyle:
      return iconStyle_ != NoIcons && textStyle_ == row.Tag;
    case TCheckRule::FlatMenuStyle:
      return flatMenuStyle_ == row.Tag;
    case TCheckRule::Stretch:
      return stretch_;
    case TCheckRule::MergeStatusbar:
      return merged_;
  }
  return false;
}

void TfrmMain::UpdateActions() {
  if (destroying_) return;
  TActionState s;
  TfrmEditor* active = ActiveEditor();
  s.ActiveEditor = active != nullptr;
  s.AnyEditor = !mdi_->subWindowList().isEmpty();
  if (active) {
    s.ActiveModifiedOrUntitled = active->Modified() || active->FileName().empty();
    s.CanUndo = active->CanUndo();
    s.CanRedo = active->CanRedo();
    s.HasSelection = active->HasSelection();
    s.CanPaste = active->CanPaste();
    s.Running = active->RunningThread() != nullptr;
    s.CompiledFileExists = active->CompiledFileExists();
  }
  s.DebugActive = debugger_->Active();
  s.DebugStopped = debugger_->Stopped();
  s.DebugRunning = debugger_->Running();
  if (TVortanExtension* tools = VortanExtension()) {
    s.AnalyzerFound = !tools->GetExtension(sidAnalyzerExtension).empty();
    s.CompilerFound = !tools->GetExtension(sidCompilerExtension).empty();
    s.DebuggerFound = !tools->GetExtension(sidDebuggerExtension).empty();
  }
  s.HasSearchText = search_->HasSearchText();
  s.HistoryNotEmpty = !history_.Empty();
  s.MessagesNotEmpty = trvMessages_->topLevelItemCount() > 0;
  s.OutputNotEmpty = !memOutput_->document()->isEmpty();
  s.PanelHasCopy = copyPanel_ == TCopyPanel::Messages
                       ? pipeline_ && !pipeline_->Messages().SelectedText().isEmpty()
                       : s.OutputNotEmpty;
  s.IconStyle = iconStyle_;
  s.SymbolsReady = symbolCommands_ && symbolCommands_->CanQuery();
  s.CanJumpBack = symbolCommands_ && symbolCommands_->CanGoBack();
  s.CanJumpForward = symbolCommands_ && symbolCommands_->CanGoForward();
  actions_->Update(s, [this](const TActionRow& row) { return IsChecked(row); });
}

// --- events -----------------------------------------------------------------------------

bool TfrmMain::event(QEvent* e) {
  if (e->type() == QEvent::StatusTip) {
    ShowHint(static_cast<QStatusTipEvent*>(e)->tip());
    return true;
  }
  return QMainWindow::event(e);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* e) {
  switch (e->type()) {
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
      ScheduleUpdate();
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, e);
}

void TfrmMain::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!shownOnce_) {
    shownOnce_ = true;
    // Start-up set the busy cursor for the whole application; the first show ends it.
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    RelayoutBars();
    QTimer::singleShot(0, this, &TfrmMain::AskMenuBarHidden);
    emit FirstShown();
  }
}

void TfrmMain::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (stretch_) RelayoutBars();
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* e) {
  if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* e) {
  std::vector<std::string> names;
  for (const QUrl& url : e->mimeData()->urls())
    if (url.isLocalFile()) names.push_back(LocalBytes(url.toLocalFile()));
  e->acceptProposedAction();
  OpenFileList(names);
}

}  // namespace vortan
