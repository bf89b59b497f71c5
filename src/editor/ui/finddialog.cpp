#include "editor/ui/finddialog.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

#include "config/settingids.h"
#include "i18n/parlax.h"
#include "i18n/ui/translator.h"
#include "widgets/comboboxhistory.h"

namespace vortan {

namespace {

constexpr int kWidth = 440;
constexpr int kHeight = 262;
constexpr TSearchOptionIds kIds{sidFindCaseSensitive, sidFindWholeWordsOnly, -1,
                                sidFindDirection,     sidFindScope,          sidFindOrigin};

}  // namespace

TfrmFind::TfrmFind(QWidget* parent)
    : TSearchDialog(parent, "frmFind", kWidth, kHeight, kIds, sidChangesFind) {
  pgcFind_ = new QTabWidget(this);
  pgcFind_->setObjectName(QStringLiteral("pgcFind"));
  tabFind_ = new QWidget;
  tabFind_->setObjectName(QStringLiteral("tabFind"));
  pgcFind_->addTab(tabFind_, QString());
  MakeFindBox(tabFind_);
  MakeGroups(tabFind_, false, QStringLiteral("F&orward"), QStringLiteral("F&rom cursor"), false);

  MakeOkButton();
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
  MakeCancelAndHelp();

  ApplyLanguage(BuiltInLanguage());
  AttachLanguageHandler(this, [this](TParlax& language) { ApplyLanguage(language); });
  Translate(MainLanguage(), this);
}

void TfrmFind::ApplyLanguage(TParlax& language) {
  const TParlaxItem& form = FormBlock(language, "Find");
  ApplyProperties(form, {"Caption", "Hint"}, this);
  const TParlaxItem& tab = Block(form, "Tab:Find");
  ApplyProperties(tab, {"Caption", "Hint"}, tabFind_);
  ApplySearchTexts(form, tab);
  if (isVisible()) Arrange();
}

void TfrmFind::Arrange() {
  const int buttonTop = PlaceButtons({btnHelp_, btnCancel_, btnOK_});
  pgcFind_->setGeometry(8, 8, kWidth - 16, buttonTop - 16);
  // The page's size is the tab control's to set; it is known once the dialog is shown.
  const QSize page = tabFind_->size();
  PlaceBox(lblFind_, cbxFind_, 10);
  const int top = 10 + cbxFind_->sizeHint().height() + 10;
  groups_->Arrange(8, top, page.width() - 16, page.height() - top - 8, 8);
}

TSearchOptions TfrmFind::Options() const { return groups_->Options(); }

void TfrmFind::RememberText() { AddComboHistory(cbxFind_, cbxFind_->currentText()); }

}  // namespace vortan
