#include "editor/ui/gotodialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>

#include "config/settingids.h"
#include "editor/gotoline.h"
#include "i18n/parlax.h"
#include "i18n/ui/translator.h"
#include "widgets/comboboxhistory.h"
#include "widgets/dialoglayout.h"

namespace vortan {

namespace {
constexpr int kWidth = 320;
constexpr int kHeight = 84;
}  // namespace

TfrmGoTo::TfrmGoTo(int caretLine, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmGoTo"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kWidth, kHeight);

  lblGoTo_ = new QLabel(this);
  lblGoTo_->setObjectName(QStringLiteral("lblGoTo"));
  cbxGoTo_ = new QComboBox(this);
  cbxGoTo_->setObjectName(QStringLiteral("cbxGoTo"));
  cbxGoTo_->setEditable(true);
  cbxGoTo_->setInsertPolicy(QComboBox::NoInsert);
  // Digits only: every other key is refused by the box.
  cbxGoTo_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), cbxGoTo_));
  LoadComboHistory(cbxGoTo_, sidChangesLineNumbers);
  cbxGoTo_->setEditText(QString::number(caretLine));
  lblGoTo_->setBuddy(cbxGoTo_);

  btnOK_ = new QPushButton(this);
  btnOK_->setObjectName(QStringLiteral("btnOK"));
  btnOK_->setDefault(true);
  btnCancel_ = new QPushButton(this);
  btnCancel_->setObjectName(QStringLiteral("btnCancel"));
  connect(btnOK_, &QPushButton::clicked, this, &TfrmGoTo::accept);
  connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);

  ApplyLanguage(BuiltInLanguage());
  AttachLanguageHandler(this, [this](TParlax& language) { ApplyLanguage(language); });
  Translate(MainLanguage(), this);
}

void TfrmGoTo::ApplyLanguage(TParlax& language) {
  const TParlaxItem& form = FormBlock(language, "Goto");
  ApplyProperties(form, {"Caption", "Hint"}, this);
  ApplyTo(form, "Label:Goto", lblGoTo_);
  ApplyTo(form, "ComboBox:Goto", cbxGoTo_, {"Hint"});
  ApplyTo(form, "Button:OK", btnOK_);
  ApplyTo(form, "Button:Cancel", btnCancel_);
  if (isVisible()) Arrange();
}

void TfrmGoTo::Arrange() {
  constexpr int kButtonWidth = 75, kButtonHeight = 25;
  const int boxHeight = cbxGoTo_->sizeHint().height();
  cbxGoTo_->setGeometry(cbxGoTo_->x(), 12, cbxGoTo_->width(), boxHeight);
  lblGoTo_->adjustSize();
  lblGoTo_->move(8, 12 + (boxHeight - lblGoTo_->height()) / 2);
  PlaceAfterLabel(lblGoTo_, cbxGoTo_, true);
  const int buttonTop = kHeight - kButtonHeight - 8;
  btnCancel_->setGeometry(kWidth - 8 - kButtonWidth, buttonTop, kButtonWidth, kButtonHeight);
  btnOK_->setGeometry(kWidth - 8 - 2 * kButtonWidth - 6, buttonTop, kButtonWidth, kButtonHeight);
}

void TfrmGoTo::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Arrange();
  cbxGoTo_->setFocus();
  cbxGoTo_->lineEdit()->selectAll();
}

void TfrmGoTo::accept() {
  const QString text = cbxGoTo_->currentText();
  const int line = EnteredLineNumber(text.toStdString());
  if (line <= 0) return;
  line_ = line;
  AddComboHistory(cbxGoTo_, text);
  SaveComboHistory(cbxGoTo_, sidChangesLineNumbers);
  QDialog::accept();
}

}  // namespace vortan
