#include "editor/ui/finddialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/searchoptiongroups.h"
#include "i18n/parlax.h"
#include "i18n/ui/translator.h"
#include "widgets/comboboxhistory.h"
#include "widgets/dialoglayout.h"

namespace vortan {

namespace {

constexpr int kWidth = 440;
constexpr int kHeight = 262;
constexpr TSearchOptionIds kIds{sidFindCaseSensitive, sidFindWholeWordsOnly, -1,
                                sidFindDirection,     sidFindScope,          sidFindOrigin};

}  // namespace

TfrmFind::TfrmFind(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmFind"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kWidth, kHeight);

  pgcFind_ = new QTabWidget(this);
  pgcFind_->setObjectName(QStringLiteral("pgcFind"));
  tabFind_ = new QWidget;
  tabFind_->setObjectName(QStringLiteral("tabFind"));
  pgcFind_->addTab(tabFind_, QString());
  lblFind_ = new QLabel(tabFind_);
  lblFind_->setObjectName(QStringLiteral("lblFind"));
  cbxFind_ = new QComboBox(tabFind_);
  cbxFind_->setObjectName(QStringLiteral("cbxFind"));
  cbxFind_->setEditable(true);
  cbxFind_->setInsertPolicy(QComboBox::NoInsert);
  LoadComboHistory(cbxFind_, sidChangesFind);
  lblFind_->setBuddy(cbxFind_);
  groups_ = std::make_unique<TSearchOptionGroups>(tabFind_, false, QStringLiteral("F&orward"),
                                                  QStringLiteral("F&rom cursor"), false);
  groups_->Read(kIds);

  btnOK_ = new QPushButton(this);
  btnOK_->setObjectName(QStringLiteral("btnOK"));
  btnOK_->setDefault(true);
  btnCancel_ = new QPushButton(this);
  btnCancel_->setObjectName(QStringLiteral("btnCancel"));
  btnHelp_ = new QPushButton(this);
  btnHelp_->setObjectName(QStringLiteral("btnHelp"));
  btnHelp_->setAutoDefault(false);
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);

  ApplyLanguage(BuiltInLanguage());
  AttachLanguageHandler(this, [this](TParlax& language) { ApplyLanguage(language); });
  Translate(MainLanguage(), this);
}

TfrmFind::~TfrmFind() {
  groups_->Write(kIds);
  SaveComboHistory(cbxFind_, sidChangesFind);
}

void TfrmFind::ApplyLanguage(TParlax& language) {
  const TParlaxItem& form = FormBlock(language, "Find");
  ApplyProperties(form, {"Caption", "Hint"}, this);
  const TParlaxItem& tab = Block(form, "Tab:Find");
  ApplyProperties(tab, {"Caption", "Hint"}, tabFind_);
  ApplyTo(tab, "Label:Find", lblFind_);
  ApplyTo(tab, "ComboBox:Find", cbxFind_, {"Hint"});
  groups_->ApplyLanguage(tab);
  ApplyTo(form, "Button:OK", btnOK_);
  ApplyTo(form, "Button:Cancel", btnCancel_);
  ApplyTo(form, "Button:Help", btnHelp_);
  if (isVisible()) Arrange();
}

void TfrmFind::Arrange() {
  constexpr int kButtonWidth = 75, kButtonHeight = 25, kGap = 6;
  const int buttonTop = kHeight - kButtonHeight - 8;
  pgcFind_->setGeometry(8, 8, kWidth - 16, buttonTop - 16);
  int x = kWidth - 8 - kButtonWidth;
  for (QPushButton* b : {btnHelp_, btnCancel_, btnOK_}) {
    b->setGeometry(x, buttonTop, kButtonWidth, kButtonHeight);
    x -= kButtonWidth + kGap;
  }
  // The page's size is the tab control's to set; it is known once the dialog is shown.
  const QSize page = tabFind_->size();
  const int boxHeight = cbxFind_->sizeHint().height();
  cbxFind_->setGeometry(cbxFind_->x(), 10, cbxFind_->width(), boxHeight);
  lblFind_->adjustSize();
  lblFind_->move(8, 10 + (boxHeight - lblFind_->height()) / 2);
  PlaceAfterLabel(lblFind_, cbxFind_, true);
  const int top = 10 + boxHeight + 10;
  groups_->Arrange(8, top, page.width() - 16, page.height() - top - 8, 8);
}

void TfrmFind::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Arrange();
  cbxFind_->setFocus();
  cbxFind_->lineEdit()->selectAll();
}

void TfrmFind::Preset(const QString& text, bool selectedText) {
  cbxFind_->setEditText(text);
  groups_->SetSelectedScope(selectedText);
}

QString TfrmFind::SearchText() const { return cbxFind_->currentText(); }

TSearchOptions TfrmFind::Options() const { return groups_->Options(); }

void TfrmFind::RememberText() { AddComboHistory(cbxFind_, cbxFind_->currentText()); }

}  // namespace vortan
