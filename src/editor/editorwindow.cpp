#include "editor/editorwindow.h"

#include <QCloseEvent>

#include "editor/editorhost.h"

namespace vortan {

TfrmEditor::TfrmEditor(TEditorHost* host, bool background, QWidget* parent)
    : QWidget(parent), host_(host) {
  (void)background;
  setAttribute(Qt::WA_DeleteOnClose);
}
TfrmEditor::~TfrmEditor() = default;
bool TfrmEditor::LoadFromFile(const std::string& fileName) { fileName_ = fileName; return true; }
bool TfrmEditor::SaveToFile(const std::string&) { return true; }
void TfrmEditor::SetFileName(const std::string& fileName) { fileName_ = fileName; }
void TfrmEditor::SetCaption(const QString& caption) { setWindowTitle(caption); }
bool TfrmEditor::Modified() const { return false; }
void TfrmEditor::SetModified(bool) {}
std::string TfrmEditor::Text() const { return {}; }
void TfrmEditor::SetText(const std::string&) {}
int TfrmEditor::LineCount() const { return 1; }
std::string TfrmEditor::Line(int) const { return {}; }
int TfrmEditor::CaretLine() const { return 1; }
int TfrmEditor::CaretColumn() const { return 1; }
void TfrmEditor::SetCaret(int, int) {}
void TfrmEditor::EnsureCaretVisible() {}
bool TfrmEditor::IsBookmarkSet(int, int*, int*) const { return false; }
void TfrmEditor::SetBookmark(int, int, int) {}
void TfrmEditor::ClearBookmark(int) {}
void TfrmEditor::GotoBookmark(int) {}
void TfrmEditor::MarkErrorLine(int line) { errorLines_.push_back(line); }
void TfrmEditor::ClearErrorLines() { errorLines_.clear(); }
std::string TfrmEditor::TempSourceName() const { return {}; }
std::string TfrmEditor::ProgramFile() const { return {}; }
void TfrmEditor::ApplyEditorSettings() {}
void TfrmEditor::StatusRefresh() {}
bool TfrmEditor::CanUndo() const { return false; }
bool TfrmEditor::CanRedo() const { return false; }
bool TfrmEditor::HasSelection() const { return false; }
bool TfrmEditor::CanPaste() const { return false; }
void TfrmEditor::Undo() {}
void TfrmEditor::Redo() {}
void TfrmEditor::Cut() {}
void TfrmEditor::Copy() {}
void TfrmEditor::Paste() {}
void TfrmEditor::Clear() {}
void TfrmEditor::SelectAll() {}
int TfrmEditor::AskReplace(const std::string&) { return 0; }
void TfrmEditor::closeEvent(QCloseEvent* e) { CloseQuery() ? e->accept() : e->ignore(); }
void TfrmEditor::changeEvent(QEvent* e) { QWidget::changeEvent(e); }
bool TfrmEditor::CloseQuery() { return true; }

}  // namespace vortan
