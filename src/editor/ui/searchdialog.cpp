#include "editor/ui/searchdialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

#include "i18n/parlax.h"
#include "i18n/ui/translator.h"
#include "widgets/comboboxhistory.h"
#include "widgets/dialoglayout.h"

namespace vortan {

namespace {
constexpr int kButtonWidth = 75, kButtonHeight = 25, kButtonGap = 6;
}  // namespace

TSearchDialog::TSearchDialog(QWidget* parent, const char* objectName, int width, int height,
                             const TSearchOptionIds& ids, int findHistoryId)
    : QDialog(parent), ids_(ids), findHistoryId_(findHistoryId) {
  setObjectName(QString::fromLatin1(objectName));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(width, height);
}

TSearchDialog::~TSearchDialog() {
  groups_->Write(ids_);
  SaveComboHistory(cbxFind_, findHistoryId_);
}

QComboBox* TSearchDialog::HistoryBox(QWidget* page, const char* name, int settingId) {
  auto* box = new QComboBox(page);
  box->setObjectName(QString::fromLatin1(name));
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  LoadComboHistory(box, settingId);
  return box;
}

QLabel* TSearchDialog::Label(QWidget* page, const char* name) {
  auto* label = new QLabel(page);
  label->setObjectName(QString::fromLatin1(name));
  return label;
}

void TSearchDialog::MakeFindBox(QWidget* page) {
  lblFind_ = Label(page, "lblFind");
  cbxFind_ = HistoryBox(page, "cbxFind", findHistoryId_);
  lblFind_->setBuddy(cbxFind_);
}

void TSearchDialog::MakeGroups(QWidget* page, bool withPrompt, const QString& forwardCaption,
                               const QString& fromCursorCaption, bool entireScopeFirst) {
  groups_ = std::make_unique<TSearchOptionGroups>(page, withPrompt, forwardCaption,
                                                  fromCursorCaption, entireScopeFirst);
  groups_->Read(ids_);
}

void TSearchDialog::MakeOkButton() {
  btnOK_ = MakeButton("btnOK");
  btnOK_->setDefault(true);
}

QPushButton* TSearchDialog::MakeButton(const char* name) {
  auto* button = new QPushButton(this);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

void TSearchDialog::MakeCancelAndHelp() {
  btnCancel_ = MakeButton("btnCancel");
  btnHelp_ = MakeButton("btnHelp");
  btnHelp_->setAutoDefault(false);
  connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void TSearchDialog::ApplySearchTexts(const TParlaxItem& form, const TParlaxItem& block) {
  ApplyTo(block, "Label:Find", lblFind_);
  ApplyTo(block, "ComboBox:Find", cbxFind_, {"Hint"});
  groups_->ApplyLanguage(block);
  ApplyTo(form, "Button:OK", btnOK_);
  ApplyTo(form, "Button:Cancel", btnCancel_);
  ApplyTo(form, "Button:Help", btnHelp_);
}

void TSearchDialog::PlaceBox(QLabel* label, QComboBox* box, int top) {
  const int boxHeight = box->sizeHint().height();
  box->setGeometry(box->x(), top, box->width(), boxHeight);
  label->adjustSize();
  label->move(8, top + (boxHeight - label->height()) / 2);
  PlaceAfterLabel(label, box, true);
}

int TSearchDialog::PlaceButtons(std::initializer_list<QPushButton*> rightToLeft,
                                QPushButton* fitted) {
  const int top = height() - kButtonHeight - 8;
  int x = width() - 8;
  for (QPushButton* b : rightToLeft) {
    const int w = b == fitted ? std::max(kButtonWidth, b->sizeHint().width()) : kButtonWidth;
    x -= w;
    b->setGeometry(x, top, w, kButtonHeight);
    x -= kButtonGap;
  }
  return top;
}

void TSearchDialog::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Arrange();
  cbxFind_->setFocus();
  cbxFind_->lineEdit()->selectAll();
}

void TSearchDialog::Preset(const QString& text, bool selectedText) {
  cbxFind_->setEditText(text);
  groups_->SetSelectedScope(selectedText);
}

QString TSearchDialog::SearchText() const { return cbxFind_->currentText(); }

}  // namespace vortan
