#include "editor/ui/replacedialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "config/settingids.h"
#include "i18n/parlax.h"
#include "i18n/ui/translator.h"
#include "widgets/comboboxhistory.h"
#include "widgets/dialoglayout.h"

namespace vortan {

namespace {

constexpr int kWidth = 440;
constexpr int kHeight = 272;
constexpr TSearchOptionIds kIds{sidReplaceCaseSensitive,   sidReplaceWholeWordsOnly,
                                sidReplacePromptOnReplace, sidReplaceDirection,
                                sidReplaceScope,           sidReplaceOrigin};

}  // namespace

TfrmReplace::TfrmReplace(QWidget* parent)
    : TSearchDialog(parent, "frmReplace", kWidth, kHeight, kIds, sidChangesReplaceFind) {
  MakeFindBox(this);
  lblReplace_ = Label(this, "lblReplace");
  cbxReplace_ = HistoryBox(this, "cbxReplace", sidChangesReplaceWith);
  lblReplace_->setBuddy(cbxReplace_);
  if (cbxReplace_->count() > 0) cbxReplace_->setEditText(cbxReplace_->itemText(0));
  MakeGroups(this, true, QStringLiteral("&Forward"), QStringLiteral("Fr&om cursor"), true);

  MakeOkButton();
  btnReplace_ = MakeButton("btnReplace");
  MakeCancelAndHelp();
  connect(btnOK_, &QPushButton::clicked, this, [this] {
    replaceAll_ = false;
    accept();
  });
  connect(btnReplace_, &QPushButton::clicked, this, [this] {
    replaceAll_ = true;
    accept();
  });

  ApplyLanguage(BuiltInLanguage());
  AttachLanguageHandler(this, [this](TParlax& language) { ApplyLanguage(language); });
  Translate(MainLanguage(), this);
}

TfrmReplace::~TfrmReplace() { SaveComboHistory(cbxReplace_, sidChangesReplaceWith); }

void TfrmReplace::ApplyLanguage(TParlax& language) {
  const TParlaxItem& form = FormBlock(language, "Replace");
  ApplyProperties(form, {"Caption", "Hint"}, this);
  ApplySearchTexts(form, form);
  ApplyTo(form, "Label:Replace", lblReplace_);
  ApplyTo(form, "ComboBox:Replace", cbxReplace_, {"Hint"});
  ApplyTo(form, "Button:ReplaceAll", btnReplace_);
  if (isVisible()) Arrange();
}

void TfrmReplace::Arrange() {
  const int boxHeight = cbxFind_->sizeHint().height();
  PlaceBox(lblFind_, cbxFind_, 10);
  PlaceBox(lblReplace_, cbxReplace_, 10 + boxHeight + 8);
  LineUp({cbxFind_, cbxReplace_});
  // Replace All is as wide as its caption needs.
  const int buttonTop = PlaceButtons({btnHelp_, btnCancel_, btnReplace_, btnOK_}, btnReplace_);
  const int top = 10 + 2 * (boxHeight + 8) + 2;
  groups_->Arrange(8, top, kWidth - 16, buttonTop - top - 10, 8);
}

void TfrmReplace::Preset(const QString& text, bool selectedText) {
  TSearchDialog::Preset(text, selectedText);
  replaceAll_ = false;
}

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
