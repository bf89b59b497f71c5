#include "shell/mainwindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QShowEvent>
#include <cstdio>

#include "editor/editorwindow.h"
#include "i18n/stringtable.h"
#include "platform/platform.h"
#include "shell/product.h"

namespace vortan {

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(QString::fromLatin1(ApplicationTitle));
  mdi_ = new QMdiArea(this);
  mdi_->setObjectName(QStringLiteral("MDIClient"));
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  resize(800, 600);
}

TfrmMain::~TfrmMain() {
  for (const std::string& f : tempFiles_) std::remove(f.c_str());
}

void TfrmMain::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!shownOnce_) {
    shownOnce_ = true;
    // Start-up set the busy cursor for the whole application; the first show ends it.
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    emit FirstShown();
  }
}

TfrmEditor* TfrmMain::AddEditor(TfrmEditor* editor) {
  QMdiSubWindow* sub = mdi_->addSubWindow(editor);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  sub->showMaximized();
  return editor;
}

std::vector<TfrmEditor*> TfrmMain::Editors() const {
  std::vector<TfrmEditor*> result;
  for (QMdiSubWindow* sub : mdi_->subWindowList())
    if (auto* e = qobject_cast<TfrmEditor*>(sub->widget())) result.push_back(e);
  return result;
}

TfrmEditor* TfrmMain::ActiveEditor() const {
  QMdiSubWindow* sub = mdi_->activeSubWindow();
  return sub ? qobject_cast<TfrmEditor*>(sub->widget()) : nullptr;
}

TfrmEditor* TfrmMain::FindEditor(const std::string& fileName) const {
  for (TfrmEditor* e : Editors())
    if (!e->FileName().empty() && platform::IsSameFile(e->FileName(), fileName)) return e;
  return nullptr;
}

TfrmEditor* TfrmMain::OpenSourceFile(const std::string& fileName, bool foreground) {
  const std::string full = platform::AbsolutePath(fileName);
  TfrmEditor* editor = FindEditor(full);
  if (!editor) {
    editor = new TfrmEditor;
    if (!editor->LoadFromFile(full)) {
      delete editor;
      return nullptr;
    }
    AddEditor(editor);
  }
  if (foreground) {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(editor->parentWidget())) {
      mdi_->setActiveSubWindow(sub);
      sub->raise();
    }
  }
  return editor;
}

int TfrmMain::OpenFileList(const std::vector<std::string>& names) {
  int opened = 0;
  for (const std::string& n : names)
    if (platform::FileExists(n) && OpenSourceFile(n, true)) ++opened;
  return opened;
}

TfrmEditor* TfrmMain::NewSourceFile() {
  auto* editor = new TfrmEditor;
  editor->SetUntitledName(QString::fromLatin1(Str(TStr::strSource).c_str()) +
                          QString::number(++untitledCount_));
  return AddEditor(editor);
}

void TfrmMain::Vortan2DDEExecuteMacro(const QStringList& lines) {
  if (lines.isEmpty()) return;
  const std::string path = QFile::encodeName(lines.first()).toStdString();
  if (!platform::FileExists(path)) return;
  OpenSourceFile(path, true);
  BringToFront();
}

void TfrmMain::BringToFront() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

}  // namespace vortan
