#include "editor/ui/replacedialog.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

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
constexpr int kHeight = 272;
constexpr TSearchOptionIds kIds{sidReplaceCaseSensitive, sidReplaceWholeWordsOnly, sidReplacePromptOnReplace,
                                sidReplaceDirection,     sidReplaceScope,          sidReplaceOrigin};

QComboBox* HistoryBox(QWidget* parent, const char* name, int settingId) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  LoadComboHistory(box, settingId);
  return box;
}

}  // namespace

TfrmReplace::TfrmReplace(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmReplace"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kWidth, kHeight);

  lblFind_ = new QLabel(this);
  lblFind_->setObjectName(QStringLiteral("lblFind"));
  cbxFind_ = HistoryBox(this, "cbxFind", sidChangesReplaceFind);
  lblFind_->setBuddy(cbxFind_);
  lblReplace_ = new QLabel(this);
  lblReplace_->setObjectName(QStringLiteral("lblReplace"));
  cbxReplace_ = HistoryBox(this, "cbxReplace", sidChangesReplaceWith);
  lblReplace_->setBuddy(cbxReplace_);
  if (cbxReplace_->count() > 0) cbxReplace_->setEditText(cbxReplace_->itemText(0));
  groups_ = std::make_unique<TSearchOptionGroups>(this, true, QStringLiteral("&Forward"),
                                                  QStringLiteral("Fr&om cursor"), true);
  groups_->Read(kIds);

  btnOK_ = new QPushButton(this);
  btnOK_->setObjectName(QStringLiteral("btnOK"));
  btnOK_->setDefault(true);
  btnReplace_ = new QPushButton(this);
  btnReplace_->setObjectName(QStringLiteral("btnReplace"));
  btnCancel_ = new QPushButton(this);
  btnCancel_->setObjectName(QStringLiteral("btnCancel"));
  btnHelp_ = new QPushButton(this);
  btnHelp_->setObjectName(QStringLiteral("btnHelp"));
  btnHelp_->setAutoDefault(false);
  connect(btnOK_, &QPushButton::clicked, this, [this] {
    replaceAll_ = false;
    accept();
  });
  connect(btnReplace_, &QPushButton::clicked, this, [this] {
    replaceAll_ = true;
    accept();
  });
  connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);

  ApplyLanguage(BuiltInLanguage());
  AttachLanguageHandler(this, [this](TParlax& language) { ApplyLanguage(language); });
  Translate(MainLanguage(), this);
}

TfrmReplace::~TfrmReplace() {
  groups_->Write(kIds);
  SaveComboHistory(cbxFind_, sidChangesReplaceFind);
  SaveComboHistory(cbxReplace_, sidChangesReplaceWith);
}

void TfrmReplace::ApplyLanguage(TParlax& language) {
  const TParlaxItem& form = FormBlock(language, "Replace");
  ApplyProperties(form, {"Caption", "Hint"}, this);
  ApplyTo(form, "Label:Find", lblFind_);
  ApplyTo(form, "ComboBox:Find", cbxFind_, {"Hint"});
  ApplyTo(form, "Label:Replace", lblReplace_);
  ApplyTo(form, "ComboBox:Replace", cbxReplace_, {"Hint"});
  groups_->ApplyLanguage(form);
  ApplyTo(form, "Button:OK", btnOK_);
  ApplyTo(form, "Button:ReplaceAll", btnReplace_);
  ApplyTo(form, "Button:Cancel", btnCancel_);
  ApplyTo(form, "Button:Help", btnHelp_);
  if (isVisible()) Arrange();
}

void TfrmReplace::Arrange() {
  constexpr int kButtonHeight = 25, kGap = 6;
  const int boxHeight = cbxFind_->sizeHint().height();
  int top = 10;
  for (auto [label, box] : {std::pair{lblFind_, cbxFind_}, std::pair{lblReplace_, cbxReplace_}}) {
    box->setGeometry(box->x(), top, box->width(), boxHeight);
    label->adjustSize();
    label->move(8, top + (boxHeight - label->height()) / 2);
    PlaceAfterLabel(label, box, true);
    top += boxHeight + 8;
  }
  LineUp({cbxFind_, cbxReplace_});

  // The buttons share the bottom row; Replace All is as wide as its caption needs.
  const int buttonTop = kHeight - kButtonHeight - 8;
  const int replaceWidth = std::max(75, btnReplace_->sizeHint().width());
  int x = kWidth - 8;
  for (QPushButton* b : {btnHelp_, btnCancel_, btnReplace_, btnOK_}) {
    const int w = b == btnReplace_ ? replaceWidth : 75;
    x -= w;
    b->setGeometry(x, buttonTop, w, kButtonHeight);
    x -= kGap;
  }
  top += 2;
  groups_->Arrange(8, top, kWidth - 16, buttonTop - top - 10, 8);
}

void TfrmReplace::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Arrange();
  cbxFind_->setFocus();
  cbxFind_->lineEdit()->selectAll();
}

void TfrmReplace::Preset(const QString& text, bool selectedText) {
  cbxFind_->setEditText(text);
  groups_->SetSelectedScope(selectedText);
  replaceAll_ = false;
}

QString TfrmReplace::SearchText() const { return cbxFind_->currentText(); }
QString TfrmReplace::ReplaceText() const { return cbxReplace_->currentText(); }

TSearchOptions TfrmReplace::Options() const {
  TSearchOptions o = groups_->Options();
  o.Replace = true;
  o.ReplaceAll = replaceAll_;
  return o;
}

void TfrmReplace::RememberTexts() {
  AddComboHistory(cbxFind_, cbxFind_->currentText());
  AddComboHistory(cbxReplace_, cbxReplace_->currentText());
}

}  // namespace vortan
