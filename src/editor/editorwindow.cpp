#include "editor/editorwindow.h"

#include <Qsci/qsciscintilla.h>

#include <QFileInfo>
#include <QVBoxLayout>
#include <fstream>
#include <iterator>

namespace vortan {

TfrmEditor::TfrmEditor(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("frmEditor"));
  setAttribute(Qt::WA_DeleteOnClose);
  text_ = new QsciScintilla(this);
  text_->setUtf8(false);
  QFont f(QStringLiteral("Courier New"), 9);
  f.setStyleHint(QFont::TypeWriter);
  text_->setFont(f);
  text_->setMarginLineNumbers(0, true);
  text_->setMarginWidth(0, QStringLiteral("00000"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(text_);
}

bool TfrmEditor::LoadFromFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return false;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  text_->SendScintilla(QsciScintillaBase::SCI_CLEARALL);
  text_->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, bytes.size(), bytes.data());
  text_->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
  text_->SendScintilla(QsciScintillaBase::SCI_SETSAVEPOINT);
  fileName_ = fileName;
  UpdateCaption();
  return true;
}

void TfrmEditor::SetUntitledName(const QString& name) {
  untitled_ = name;
  UpdateCaption();
}

void TfrmEditor::UpdateCaption() {
  setWindowTitle(fileName_.empty() ? untitled_
                                   : QFileInfo(QString::fromLocal8Bit(fileName_)).fileName());
}

}  // namespace vortan
