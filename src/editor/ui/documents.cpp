#include "editor/ui/documents.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <filesystem>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/editorhost.h"
#include "editor/ui/editorwindow.h"
#include "i18n/stringtable.h"
#include "i18n/ui/translator.h"
#include "platform/platform.h"
#include "system/promptservice.h"
#include "system/sourcefilenames.h"
#include "widgets/dialogtitles.h"
#include "widgets/qtconvert.h"

namespace vortan {

namespace {
// The content of a child window; null while the child is being destroyed, when the area
// still lists it but it is no longer a whole sub-window.
QWidget* ContentOf(QMdiSubWindow* sub) {
  auto* whole = qobject_cast<QMdiSubWindow*>(static_cast<QObject*>(sub));
  return whole ? whole->widget() : nullptr;
}

// A window opened in the background is shown as an icon, so the window list, Arrange Icons
// and Next Window reach it, while the window the user works in stays the active one. The area
// activates any sub-window it shows (taking the maximised state along), so the previous one
// gets both back.
void ShowInBackground(QMdiArea* area, QMdiSubWindow* sub) {
  QMdiSubWindow* current = area->currentSubWindow();
  const bool maximized = current && current->isMaximized();
  sub->showMinimized();
  if (area->currentSubWindow() != current) area->setActiveSubWindow(current);
  if (maximized && !current->isMaximized()) current->showMaximized();
}
}  // namespace

TDocuments::TDocuments(QMdiArea* area, TEditorHost* host, QWidget* window)
    : QObject(window), area_(area), host_(host), window_(window) {
  setObjectName(QStringLiteral("Documents"));
}

TDocuments::~TDocuments() {
  for (const std::string& f : tempFiles_) {
    std::error_code ec;
    std::filesystem::remove(f, ec);
  }
}

QMdiSubWindow* TDocuments::SubWindowOf(const TfrmEditor* editor) const {
  if (!editor) return nullptr;
  for (QMdiSubWindow* sub : area_->subWindowList())
    if (ContentOf(sub) == editor) return sub;
  return nullptr;
}

std::vector<TfrmEditor*> TDocuments::Editors() const {
  std::vector<TfrmEditor*> result;
  TfrmEditor* active = Active();
  if (active) result.push_back(active);
  const QList<QMdiSubWindow*> subs = area_->subWindowList(QMdiArea::StackingOrder);
  for (auto it = subs.rbegin(); it != subs.rend(); ++it)
    if (auto* e = qobject_cast<TfrmEditor*>(ContentOf(*it)); e && e != active) result.push_back(e);
  return result;
}

TfrmEditor* TDocuments::Active() const {
  QMdiSubWindow* sub = area_->currentSubWindow();
  if (!sub || !sub->isVisible()) return nullptr;
  return qobject_cast<TfrmEditor*>(ContentOf(sub));
}

void TDocuments::Activate(TfrmEditor* editor) {
  QMdiSubWindow* sub = SubWindowOf(editor);
  if (!sub) return;
  if (!sub->isVisible() || sub->isMinimized()) sub->showNormal();
  area_->setActiveSubWindow(sub);
  sub->raise();
  emit Changed();
}

TfrmEditor* TDocuments::Find(const std::string& fileName) const {
  std::vector<TfrmEditor*> editors = Editors();
  for (auto it = editors.rbegin(); it != editors.rend(); ++it)
    if (!(*it)->FileName().empty() && platform::IsSameFile((*it)->FileName(), fileName)) return *it;
  return nullptr;
}

std::string TDocuments::Caption(const std::string& fileName) const {
  return EditorCaption(fileName, ReadBool(sidFullPathInWindowTitle));
}

TfrmEditor* TDocuments::Open(const std::string& fileName, bool inBackground) {
  const std::string full = fileName.empty() ? std::string() : platform::AbsolutePath(fileName);
  if (!full.empty()) {
    if (TfrmEditor* open = Find(full)) {
      emit FileUsed(full, !inBackground);
      if (!inBackground) Activate(open);
      return open;
    }
  }

  auto* editor = new TfrmEditor(host_, inBackground);
  // Execute follows the program file, which the editor checks once a second.
  connect(editor, &TfrmEditor::CompiledFileChanged, this, &TDocuments::Changed);
  QMdiSubWindow* sub = area_->addSubWindow(editor);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->setWindowIcon(sourceIcon_);
  // A background window is shown once its file is in (see ShowInBackground).
  if (!inBackground) sub->show();

  if (!full.empty()) {
    editor->SetCaption(Local(Caption(full)));
    if (!editor->LoadFromFile(full)) {
      // The load reported its error; a window without its file would only be in the way.
      delete sub;
      emit Changed();
      return nullptr;
    }
    editor->SetFileName(full);
    emit FileUsed(full, !inBackground);
  } else {
    ++untitledCount_;
    editor->SetCaption(LanguageText(Str(TStr::strSource)) + QString::number(untitledCount_) +
                       QStringLiteral(".f"));
  }
  if (inBackground) {
    ShowInBackground(area_, sub);
  } else {
    if (ReadBool(sidNewWindowMaximized)) sub->showMaximized();
    area_->setActiveSubWindow(sub);
  }
  emit Opened(editor);
  emit Changed();
  return editor;
}

bool TDocuments::OpenList(const std::vector<std::string>& names) {
  bool opened = false;
  for (const std::string& n : names)
    if (platform::FileExists(n) && Open(n)) opened = true;
  return opened;
}

bool TDocuments::SaveAs(const std::string& fileName, TfrmEditor* editor) {
  if (!editor || fileName.empty()) return false;
  const std::string name = WithSourceExtension(fileName);
  if (!editor->SaveToFile(name, ReadBool(sidCreateBackupFile))) return false;
  editor->SetModified(false);
  editor->SetFileName(name);
  editor->SetCaption(Local(Caption(name)));
  emit Renamed(editor, name);
  emit FileUsed(name, true);
  emit Changed();
  return true;
}

bool TDocuments::Save(TfrmEditor* editor) {
  if (!editor) return false;
  if (!editor->FileName().empty()) return SaveAs(editor->FileName(), editor);
  const std::string name = AskSaveName(LocalBytes(editor->Caption()));
  return !name.empty() && SaveAs(name, editor);
}

bool TDocuments::SaveAsAsked(TfrmEditor* editor) {
  if (!editor) return false;
  const std::string proposed =
      editor->FileName().empty() ? LocalBytes(editor->Caption()) : editor->FileName();
  const std::string name = AskSaveName(proposed);
  return !name.empty() && SaveAs(name, editor);
}

std::string TDocuments::AskSaveName(const std::string& proposed) {
  TFileDialogRequest r;
  r.Title = FileDialogTitle(*window_, TFileDialogKind::Save);
  r.Filter = Str(TStr::strVortan2Dialog);
  r.FileName = proposed;
  r.OverwritePrompt = true;
  return Prompts()->SaveFileDialog(r);
}

void TDocuments::SaveAll() {
  std::vector<TfrmEditor*> editors = Editors();
  for (auto it = editors.rbegin(); it != editors.rend(); ++it) {
    TfrmEditor* e = *it;
    if (!e->FileName().empty()) {
      SaveAs(e->FileName(), e);
      continue;
    }
    const std::string name = AskSaveName(LocalBytes(e->Caption()));
    if (name.empty()) break;
    SaveAs(name, e);
  }
}

void TDocuments::CloseAll() {
  host_->SetBatchClose(true);
  std::vector<QPointer<QMdiSubWindow>> subs;
  for (TfrmEditor* e : Editors()) subs.emplace_back(SubWindowOf(e));
  for (auto it = subs.rbegin(); it != subs.rend() && host_->BatchClose(); ++it)
    if (*it) (*it)->close();
  host_->SetBatchClose(false);
  host_->SetNoToAllChosen(false);
  emit Changed();
}

void TDocuments::AddTempFile(const std::string& fileName) {
  for (const std::string& f : tempFiles_)
    if (f == fileName) return;
  tempFiles_.push_back(fileName);
}

}  // namespace vortan
