#include "editor/ui/editorwindow.h"

#include <QCloseEvent>
#include <QIcon>
#include <QLabel>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QVBoxLayout>
#include <algorithm>

#include "config/settingids.h"
#include "config/storedformats.h"
#include "editor/documentsave.h"
#include "editor/editorsettings.h"
#include "editor/fortranhighlighter.h"
#include "editor/ui/editorhost.h"
#include "editor/ui/streaksynedit.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "i18n/ui/languagechangedevent.h"
#include "i18n/ui/translator.h"
#include "platform/codepage.h"
#include "platform/filebytes.h"
#include "platform/platform.h"
#include "platform/text.h"
#include "system/promptservice.h"
#include "system/sourcefilenames.h"
#include "system/vortanpath.h"
#include "widgets/qtconvert.h"

namespace vortan {

namespace {

// The built-in error-line colours, for an editor without a host.
constexpr TColor kWhite = 0x00FFFFFF;
constexpr TColor kDarkRed = 0x00000080;

// Status panels 0 and 1 are this wide at least.
constexpr int kPanelWidth = 80;

// Panel 0 grows when "line : column" of a long document needs more room, and shrinks back
// for a shorter one, never below its usual width.
void FitPanel(QLabel* panel, const QString& text) {
  const QMargins m = panel->contentsMargins();
  const int chrome = 2 * panel->frameWidth() + 2 * panel->margin() + m.left() + m.right();
  const int width = std::max(kPanelWidth, panel->fontMetrics().horizontalAdvance(text) + chrome);
  if (panel->minimumWidth() != width || panel->maximumWidth() != width) panel->setFixedWidth(width);
}

std::string TempDirectory() {
  TVortanPath* paths = VortanPath();
  return paths ? paths->GetPath(sidTempPath) : std::string();
}

}  // namespace

TfrmEditor::TfrmEditor(TEditorHost* host, bool background, QWidget* parent)
    : QWidget(parent), host_(host), background_(background) {
  setObjectName(QStringLiteral("frmEditor"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowIcon(QIcon(QStringLiteral(":/icons/source.svg")));
  resize(320, 240);

  synEdit_ = new TStreakSynEdit(this);
  synEdit_->setObjectName(QStringLiteral("SynEdit"));
  sbrEditor_ = new QStatusBar(this);
  sbrEditor_->setObjectName(QStringLiteral("sbrEditor"));
  sbrEditor_->setSizeGripEnabled(false);
  for (int i = 0; i < 3; ++i) {
    panels_[i] = new QLabel(sbrEditor_);
    if (i < 2) panels_[i]->setFixedWidth(kPanelWidth);
    sbrEditor_->addWidget(panels_[i], i == 2 ? 1 : 0);
  }
  panels_[0]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(synEdit_, 1);
  layout->addWidget(sbrEditor_);
  setFocusProxy(synEdit_);

  connect(synEdit_, &TStreakSynEdit::StatusChanged, this, &TfrmEditor::StatusChange);
  connect(synEdit_, &TStreakSynEdit::TextEdited, this, [this] {
    singleEmptyLine_ = false;
    ClearErrorLines();
  });
  connect(synEdit_, &TStreakSynEdit::MouseDown, this, &TfrmEditor::ClearErrorLines);
  connect(synEdit_, &QsciScintillaBase::SCN_FOCUSIN, this, &TfrmEditor::FormActivate);
  timer1_.setInterval(1000);
  connect(&timer1_, &QTimer::timeout, this, &TfrmEditor::TimerStep);

  StatusRefresh();
  // A language change reaches the editor only through the status texts.
  AttachLanguageHandler(this, [this](TParlax&) { StatusRefresh(); });
  Translate(MainLanguage(), this);
  if (host_) synEdit_->SetContextMenu(host_->EditorContextMenu());
  // The editor's own settings, once; the window that holds it shows the merged panels.
  ApplyEditorSettings();
  if (background_) setWindowState(windowState() | Qt::WindowMinimized);
}

TfrmEditor::~TfrmEditor() {
  timer1_.stop();
  // The children outlive this body; nothing of theirs may call back into a half-gone window.
  synEdit_->disconnect(this);
  if (host_) {
    if (runningThread_) host_->StopJob(this);
    host_->RemoveFileNode(this);
    host_->RemoveEditorMessages(this);
    host_->EditorDestroyed(this);
  }
}

// ---- document ----

bool TfrmEditor::LoadFromFile(const std::string& fileName) {
  std::string bytes, error;
  if (!platform::ReadFileBytes(fileName, bytes, error)) {
    MessageDlgDef(
        FormatStr("Cannot open file \"%s\". %s", {platform::FileNameText(fileName), error}),
        TMsgDlgType::Error, {TMsgDlgBtn::OK});
    return false;
  }
  // What a save that died on the way left beside the file is of no use any more.
  platform::RemoveStaleSaveFiles(fileName);
  const TSplitSource split = SplitSource(bytes);
  hadNul_ = split.HadNul;
  if (hadNul_)
    MessageDlgDef(FormatText(TStr::strMsgFileHasNul, {platform::FileNameText(fileName)}),
                  TMsgDlgType::Warning, {TMsgDlgBtn::OK});
  bytes.clear();
  bytes.shrink_to_fit();
  errorLines_.clear();
  synEdit_->SetSpecialLines({}, {}, {});
  synEdit_->SetBytes(split.Text, false);
  lineBreak_ = split.LineBreak;
  singleEmptyLine_ = split.LineCount == 1 && split.Text.empty();
  synEdit_->SetModifiedFlag(false);
  synEdit_->SetCaret(1, 1);
  return true;
}

bool TfrmEditor::SaveToFile(const std::string& fileName, bool createBackup) {
  // The blanks typed at the end of the line being edited go too, as on every edited line.
  synEdit_->TrimEditedLines(true);
  if (!SaveDocumentFile({fileName, createBackup, hadNul_}, Text())) return false;
  hadNul_ = false;
  return true;
}

void TfrmEditor::SetFileName(const std::string& fileName) {
  fileName_ = fileName;
  TimerStep();
}

void TfrmEditor::SetCaption(const QString& caption) { setWindowTitle(caption); }

bool TfrmEditor::Modified() const { return synEdit_->IsModified(); }

void TfrmEditor::SetModified(bool modified) { synEdit_->SetModifiedFlag(modified); }

std::string TfrmEditor::Text() const {
  return JoinSource(synEdit_->Bytes(), static_cast<std::size_t>(LineCount()), lineBreak_);
}

TTextCopy TfrmEditor::TextCopy() const {
  return TTextCopy{synEdit_->ControlText(), synEdit_->CodePage(),
                   static_cast<std::size_t>(LineCount()), lineBreak_};
}

void TfrmEditor::SetText(const std::string& bytes) {
  const TSplitSource split = SplitSource(bytes);
  synEdit_->SetBytes(split.Text, true);
  singleEmptyLine_ = split.LineCount == 1 && split.Text.empty();
}

int TfrmEditor::LineCount() const {
  if (synEdit_->length() == 0) return singleEmptyLine_ ? 1 : 0;
  return synEdit_->lines();
}

std::string TfrmEditor::Line(int line) const { return synEdit_->LineBytes(line); }

// ---- caret and bookmarks ----

int TfrmEditor::CaretLine() const { return synEdit_->CaretLine(); }
int TfrmEditor::CaretColumn() const { return synEdit_->CaretColumn(); }
void TfrmEditor::SetCaret(int line, int column) { synEdit_->SetCaret(line, column); }
void TfrmEditor::EnsureCaretVisible() { synEdit_->ensureCursorVisible(); }

bool TfrmEditor::IsBookmarkSet(int n, int* line, int* column) const {
  return synEdit_->GetBookmark(n, line, column);
}
void TfrmEditor::SetBookmark(int n, int line, int column) {
  synEdit_->SetBookmark(n, line, column);
}
void TfrmEditor::ClearBookmark(int n) { synEdit_->ClearBookmark(n); }
void TfrmEditor::GotoBookmark(int n) { synEdit_->GotoBookmark(n); }

// ---- error lines ----

void TfrmEditor::MarkErrorLine(int line) {
  if (std::find(errorLines_.begin(), errorLines_.end(), line) != errorLines_.end()) return;
  errorLines_.push_back(line);
  PaintErrorLines();
}

void TfrmEditor::ClearErrorLines() {
  if (errorLines_.empty()) return;
  errorLines_.clear();
  PaintErrorLines();
}

void TfrmEditor::ErrorLineColors(QColor& fore, QColor& back) const {
  // Each colour the user left without one comes from the built-in attribute.
  std::optional<TColor> f, b;
  if (host_) {
    const THighlightAttribute& user = host_->UserErrorLine();
    const THighlightAttribute& builtIn = host_->DefaultErrorLine();
    f = user.Foreground ? user.Foreground : builtIn.Foreground;
    b = user.Background ? user.Background : builtIn.Background;
  }
  fore = ToQColor(f.value_or(kWhite));
  back = ToQColor(b.value_or(kDarkRed));
}

void TfrmEditor::PaintErrorLines() {
  QColor fore, back;
  ErrorLineColors(fore, back);
  synEdit_->SetSpecialLines(errorLines_, fore, back);
}

QString TfrmEditor::FontSampleText() const {
  const TSelectionInfo sel = synEdit_->SelectionInfo();
  const std::string bytes = sel.Present && sel.Start.Line == sel.End.Line
                                ? synEdit_->SelectedBytes()
                                : synEdit_->LineBytes(CaretLine());
  return QString::fromStdString(platform::BytesToUtf8(synEdit_->CodePage(), Trim(bytes)));
}

// ---- build support ----

std::string TfrmEditor::TempSourceName() const {
  if (!fileName_.empty()) return DirectoryPart(fileName_) + "~" + FileNamePart(fileName_);
  return TempDirectory() + "~" + FileNamePart(Caption().toStdString());
}

std::string TfrmEditor::ProgramFile() const {
  if (!fileName_.empty()) return platform::ProgramFileOf(fileName_);
  // Without a temporary directory an untitled document has no program anywhere.
  const std::string temp = TempDirectory();
  return temp.empty() ? std::string()
                      : temp + platform::ProgramFileOf(FileNamePart(Caption().toStdString()));
}

void TfrmEditor::TimerStep() {
  const std::string program = ProgramFile();
  const bool exists = !program.empty() && platform::FileExists(program);
  if (exists == compiledFileExists_) return;
  compiledFileExists_ = exists;
  emit CompiledFileChanged(this);
}

// ---- activation ----

void TfrmEditor::FormActivate() {
  if (active_) return;
  active_ = true;
  timer1_.start();
  TimerStep();
  if (host_) host_->SelectFileNode(this);
  StatusRefresh();
  emit Activated(this);
}

void TfrmEditor::FormDeactivate() {
  if (!active_) return;
  active_ = false;
  timer1_.stop();
  emit Deactivated(this);
}

bool TfrmEditor::event(QEvent* e) {
  if (e->type() == TLanguageChangedEvent::EventType) {
    // The window's only texts are the status texts.
    StatusRefresh();
    return true;
  }
  return QWidget::event(e);
}

void TfrmEditor::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  switch (e->type()) {
    case QEvent::LanguageChange:
      StatusRefresh();
      break;
    case QEvent::ParentChange:
      WatchSubWindow();
      break;
    case QEvent::ActivationChange:
      // Outside a multi-document area the top-level window's activation is the window's.
      if (!subWindow_) isActiveWindow() ? FormActivate() : FormDeactivate();
      break;
    default:
      break;
  }
}

void TfrmEditor::WatchSubWindow() {
  auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget());
  if (sub == subWindow_) return;
  if (subWindow_) disconnect(subWindow_, nullptr, this, nullptr);
  subWindow_ = sub;
  if (!sub) return;
  connect(sub, &QMdiSubWindow::windowStateChanged, this,
          [this](Qt::WindowStates before, Qt::WindowStates now) {
            const bool was = before & Qt::WindowActive, is = now & Qt::WindowActive;
            if (is && !was) FormActivate();
            if (was && !is) FormDeactivate();
          });
}

// ---- settings ----

void TfrmEditor::ApplyEditorSettings() { ApplyEditorSettings(CurrentEditorSettings()); }

void TfrmEditor::ApplyEditorSettingsToAll(const std::vector<TfrmEditor*>& editors) {
  const std::shared_ptr<const TEditorSettings> settings = CurrentEditorSettings();
  for (auto it = editors.rbegin(); it != editors.rend(); ++it) (*it)->ApplyEditorSettings(settings);
}

void TfrmEditor::ApplyEditorSettings(const std::shared_ptr<const TEditorSettings>& settings) {
  const TEditorSettings& s = *settings;
  // The text control is set up again only when something it shows has changed: re-applying
  // the same values to every open editor would restyle each of them for nothing.
  if (!applied_ || (applied_ != settings && !(*applied_ == s))) ApplyToTextControl(s);
  applied_ = settings;

  sbrEditor_->setVisible(!s.MergeStatusbar);
  if (!fileName_.empty()) SetCaption(Local(EditorCaption(fileName_, s.FullPathInWindowTitle)));
  StatusRefresh();
  if (!errorLines_.empty()) PaintErrorLines();
}

void TfrmEditor::ApplyToTextControl(const TEditorSettings& s) {
  synEdit_->BeginUpdate();
  synEdit_->SetCodePage(s.AnsiText ? platform::TCodePage::Ansi : platform::TCodePage::Oem);
  TSynFortranSyn* highlighter = s.SyntaxHighlight && host_ ? host_->Highlighter() : nullptr;
  if (highlighter != highlighter_) {
    highlighter_ = highlighter;
    synEdit_->SetHighlighter(highlighter);
  }

  synEdit_->SetOptions(TSynOptions::From(s));
  synEdit_->SetInsertMode(s.InsertMode);

  if (s.GuideColumns.empty())
    synEdit_->Streaks().Clear();
  else
    synEdit_->Streaks().SetColumns(s.GuideColumns);
  synEdit_->SetStreaksColor(ToQColor(s.GuideColor));
  synEdit_->EndUpdate();
}

// ---- status ----

QLabel* TfrmEditor::StatusPanel(int panel) const {
  if (!sbrEditor_->isHidden()) return panels_[panel];
  return host_ ? host_->MainStatusPanel(panel) : nullptr;
}

void TfrmEditor::SetPanelText(int panel, const QString& text) {
  QLabel* label = StatusPanel(panel);
  if (!label) return;
  if (panel == 0) FitPanel(label, text);
  label->setText(text);
}

QString TfrmEditor::StatusText(int panel) const {
  const QLabel* label = StatusPanel(panel);
  return label ? label->text() : QString();
}

void TfrmEditor::StatusChange(int changes) {
  if (changes & TStreakSynEdit::scCaret)
    SetPanelText(0,
                 QString::asprintf("%3d : %3d   ", synEdit_->CaretLine(), synEdit_->CaretColumn()));
  if (changes & TStreakSynEdit::scModified)
    SetPanelText(1, synEdit_->IsModified() ? LanguageText(Str(TStr::strModified)) : QString());
  if (changes & TStreakSynEdit::scInsertMode)
    SetPanelText(2,
                 LanguageText(Str(synEdit_->InsertMode() ? TStr::strInsert : TStr::strOverwrite)));
}

void TfrmEditor::StatusRefresh() {
  StatusChange(TStreakSynEdit::scCaret | TStreakSynEdit::scModified | TStreakSynEdit::scInsertMode);
}

// ---- edit commands ----

bool TfrmEditor::CanUndo() const { return synEdit_->CanUndo(); }
bool TfrmEditor::CanRedo() const { return synEdit_->CanRedo(); }
bool TfrmEditor::HasSelection() const { return synEdit_->HasSelection(); }
bool TfrmEditor::CanPaste() const { return synEdit_->CanPaste(); }
void TfrmEditor::Undo() { synEdit_->undo(); }
void TfrmEditor::Redo() { synEdit_->redo(); }
void TfrmEditor::Cut() { synEdit_->cut(); }
void TfrmEditor::Copy() { synEdit_->copy(); }
void TfrmEditor::Paste() { synEdit_->paste(); }
void TfrmEditor::Clear() { synEdit_->DeleteForward(); }
void TfrmEditor::SelectAll() { synEdit_->selectAll(); }

int TfrmEditor::AskReplace(const std::string& searched) {
  const TModalResult r =
      MessageDlgDef(FormatText(TStr::strMsgReplaceOccurrence, {LanguageToUtf8(searched)}),
                    TMsgDlgType::Confirmation,
                    {TMsgDlgBtn::Yes, TMsgDlgBtn::No, TMsgDlgBtn::Cancel, TMsgDlgBtn::YesToAll});
  return static_cast<int>(r);
}

// ---- closing ----

void TfrmEditor::closeEvent(QCloseEvent* e) {
  if (CloseQuery())
    e->accept();
  else
    e->ignore();
}

bool TfrmEditor::CloseQuery() {
  const std::string caption = Caption().toStdString();
  std::string question = StrText(TStr::strSaveChanges);
  if (question.find("%s") != std::string::npos)
    question = FormatStr(question, {caption});
  else
    question += "\r\n\r\n" + caption + "\r\n";

  if (!Modified() && (!fileName_.empty() || synEdit_->length() == 0)) return true;
  if (host_ && host_->NoToAllChosen()) return true;
  TMsgDlgButtons buttons{TMsgDlgBtn::Yes, TMsgDlgBtn::No, TMsgDlgBtn::Cancel};
  if (host_ && host_->BatchClose()) buttons.Add(TMsgDlgBtn::NoToAll);
  switch (MessageDlgDef(question, TMsgDlgType::Confirmation, buttons)) {
    case TModalResult::Yes: {
      if (!host_) return false;
      std::string name = fileName_;
      if (name.empty()) name = host_->RunSaveDialog(caption);
      // A cancelled dialog or a failed save keeps the window, and a batch of closes stops
      // here too rather than going on past a document that is still unsaved.
      if (name.empty() || !host_->SaveEditorAs(name, this)) {
        host_->SetBatchClose(false);
        return false;
      }
      return true;
    }
    case TModalResult::No:
      return true;
    case TModalResult::NoToAll:
      if (host_) host_->SetNoToAllChosen(true);
      return true;
    default:
      if (host_) host_->SetBatchClose(false);
      return false;
  }
}

}  // namespace vortan
