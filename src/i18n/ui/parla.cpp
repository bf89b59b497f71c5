#include "i18n/ui/parla.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QToolTip>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "config/storedformats.h"
#include "i18n/currentlanguage.h"
#include "i18n/stringtable.h"
#include "i18n/ui/translator.h"
#include "platform/platform.h"

static void InitParlaResources() { Q_INIT_RESOURCE(parla); }

namespace vortan {

namespace {

constexpr int kEnglishUS = 1033;
constexpr int kRecordRole = Qt::UserRole + 1;

bool ListsLanguageId(const std::string& langIds, int id) {
  for (const std::string& field : SplitFields(langIds))
    if (ParseInteger(field) == id) return true;
  return false;
}

std::string Field(const TParlaxItem& record, const char* key) {
  std::string value;
  record.GetString(key, value);
  return value;
}

}  // namespace

TfrmParla::TfrmParla(int userLanguageId, QWidget* parent)
    : QDialog(parent), userLanguageId_(userLanguageId) {
  InitParlaResources();
  setObjectName(QStringLiteral("frmParla"));
  setWindowTitle(QStringLiteral("Language selector"));
  setSizeGripEnabled(true);
  resize(300, 280);

  // The preview replaces the string table; keep it as it is now to give it back later.
  TParlaxItem& strings = savedStrings_.Root().Section(TParlaxSection::Strings);
  for (int i = 0; i < StringCount; ++i) {
    const char* key = StringKey(TStr(i));
    if (*key) strings.AddValue(key, Str(TStr(i)));
  }
  savedStrings_.Active = true;

  imgParlax_ = new QLabel(this);
  imgParlax_->setObjectName(QStringLiteral("imgParlax"));
  imgParlax_->setPixmap(QIcon(QStringLiteral(":/i18n/parlax.svg")).pixmap(32, 32));
  imgParlax_->setFixedSize(32, 32);
  setWindowIcon(QIcon(QStringLiteral(":/i18n/parlax.svg")));

  lblLanguage_ = new QLabel(QStringLiteral("Language selector"), this);
  lblLanguage_->setObjectName(QStringLiteral("lblLanguage"));
  QFont bold = lblLanguage_->font();
  bold.setBold(true);
  lblLanguage_->setFont(bold);
  lblPlease_ = new QLabel(QStringLiteral("Please select your language."), this);
  lblPlease_->setObjectName(QStringLiteral("lblPlease"));
  lblPlease_->setWordWrap(true);
  lblAvailableLanguages_ = new QLabel(QStringLiteral("Available Languages:"), this);
  lblAvailableLanguages_->setObjectName(QStringLiteral("lblAvailableLanguages"));
  QFont underlined = lblAvailableLanguages_->font();
  underlined.setUnderline(true);
  lblAvailableLanguages_->setFont(underlined);

  trvLanguage_ = new QTreeWidget(this);
  trvLanguage_->setObjectName(QStringLiteral("trvLanguage"));
  trvLanguage_->setColumnCount(1);
  trvLanguage_->setHeaderHidden(true);
  trvLanguage_->setRootIsDecorated(false);
  trvLanguage_->setItemsExpandable(false);
  trvLanguage_->setUniformRowHeights(true);
  trvLanguage_->setAllColumnsShowFocus(true);
  trvLanguage_->setSelectionMode(QAbstractItemView::SingleSelection);
  trvLanguage_->setSelectionBehavior(QAbstractItemView::SelectRows);
  trvLanguage_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  trvLanguage_->viewport()->setMouseTracking(true);
  trvLanguage_->viewport()->installEventFilter(this);
  auto* builtIn = new QTreeWidgetItem(trvLanguage_, {LanguageText(Str(TStr::strDefault))});
  builtIn->setData(0, kRecordRole, -1);
  lblAvailableLanguages_->setBuddy(trvLanguage_);

  btnOK_ = new QPushButton(QStringLiteral("OK"), this);
  btnOK_->setObjectName(QStringLiteral("btnOK"));
  btnOK_->setDefault(true);
  btnCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  btnCancel_->setObjectName(QStringLiteral("btnCancel"));
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);
  connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);

  // Layouts, so that captions of any length fit in every language.
  auto* heading = new QVBoxLayout;
  heading->setSpacing(2);
  heading->addWidget(lblLanguage_);
  heading->addWidget(lblPlease_);
  auto* top = new QHBoxLayout;
  top->setSpacing(10);
  top->addWidget(imgParlax_, 0, Qt::AlignTop);
  top->addLayout(heading, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnOK_);
  buttons->addWidget(btnCancel_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->addLayout(top);
  layout->addSpacing(6);
  layout->addWidget(lblAvailableLanguages_);
  layout->addWidget(trvLanguage_, 1);
  layout->addLayout(buttons);

  connect(trvLanguage_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* current) { Highlight(current); });
  connect(trvLanguage_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem*) {
    if (trvLanguage_->currentItem()) accept();
  });

  AttachLanguageHandler(this, [this](TParlax& engine) { ApplyLanguage(engine); });
  Translate(MainLanguage(), this);
  initialHint_ = trvLanguage_->toolTip();
}

TfrmParla::~TfrmParla() { LoadStringTable(savedStrings_); }

void TfrmParla::ApplyLanguage(TParlax& engine) {
  const TParlaxItem& form = FormBlock(engine, "Language");
  ApplyProperties(form, {"Caption", "Hint"}, this);
  ApplyTo(form, "Label:Language", lblLanguage_);
  ApplyTo(form, "Label:Please...", lblPlease_);
  ApplyTo(form, "Label:AvailableLanguages", lblAvailableLanguages_);
  ApplyTo(form, "List:Language", trvLanguage_, {"Hint"});
  ApplyTo(form, "Button:OK", btnOK_);
  ApplyTo(form, "Button:Cancel", btnCancel_);
  trvLanguage_->topLevelItem(0)->setText(0, LanguageText(Str(TStr::strDefault)));
}

bool TfrmParla::ScanLanguages(const std::string& directory) {
  if (directory.empty() || !platform::DirectoryExists(directory)) return false;
  QTreeWidgetItem* candidate = nullptr;
  bool added = false;
  for (const std::string& file : FindLanguageFiles({directory})) {
    bool listed = false;
    for (const auto& r : records_)
      if (platform::IsSameFile(Field(*r, "FileName"), file)) listed = true;
    if (listed) continue;

    std::unique_ptr<TParlaxItem> info;
    try {
      info = ReadSection(file, {"INFO"});
    } catch (const std::exception&) {
      continue;  // unreadable: not listed, like a file without INFO
    }
    if (!info) continue;
    info->AddValue("FileName", file);
    auto* item = new QTreeWidgetItem(trvLanguage_, {LanguageText(Field(*info, "Language"))});
    item->setData(0, kRecordRole, int(records_.size()));
    const std::string langIds = Field(*info, "LangID");
    records_.push_back(std::move(info));
    added = true;

    if (!CurrentLanguageFile().empty() && platform::IsSameFile(file, CurrentLanguageFile()))
      candidate = item;
    else if (!candidate && userLanguageId_ != 0 && userLanguageId_ != kEnglishUS &&
             ListsLanguageId(langIds, userLanguageId_))
      candidate = item;
  }
  if (candidate) trvLanguage_->setCurrentItem(candidate);
  return added;
}

bool TfrmParla::ScanLanguageDirs(const std::vector<std::string>& directories) {
  bool any = false;
  for (const std::string& d : directories)
    if (ScanLanguages(d)) any = true;
  return any;
}

const TParlaxItem* TfrmParla::Record(int row) const {
  QTreeWidgetItem* item = trvLanguage_->topLevelItem(row);
  if (!item) return nullptr;
  const int index = item->data(0, kRecordRole).toInt();
  return index >= 0 && index < int(records_.size()) ? records_[std::size_t(index)].get() : nullptr;
}

QString TfrmParla::EntryHint(int row) const {
  const TParlaxItem* r = Record(row);
  if (!r) return {};
  const std::pair<TStr, const char*> lines[] = {{TStr::ParlaAuthor, "Author"},
                                                {TStr::ParlaEmail, "Email"},
                                                {TStr::ParlaLangID, "LangID"},
                                                {TStr::ParlaLanguage, "Language"},
                                                {TStr::ParlaVersion, "Version"}};
  QStringList hint;
  for (const auto& [label, key] : lines)
    hint << LanguageText(Str(label)) + LanguageText(Field(*r, key));
  hint << LanguageText(Str(TStr::ParlaFilename)) +
              QFile::decodeName(QByteArray::fromStdString(Field(*r, "FileName")));
  return hint.join(QLatin1Char('\n'));
}

void TfrmParla::Highlight(QTreeWidgetItem* item) {
  if (!item) return;
  const TParlaxItem* r = Record(trvLanguage_->indexOfTopLevelItem(item));
  const std::string file = r ? Field(*r, "FileName") : std::string();
  if (file == selectedFile_) return;
  selectedFile_ = file;
  preview_.Active = false;
  bool loaded = false;
  if (!file.empty() && platform::FileExists(file)) {
    try {
      preview_.LoadFromFile(file);
      loaded = true;
    } catch (const std::exception&) {
      // Gone or unreadable since the scan: shown as the built-in language.
    }
  }
  if (!loaded) preview_.LoadFromResource();
  preview_.Active = true;
  LoadStringTable(preview_);
  Translate(preview_, this);
}

void TfrmParla::MouseOverList(const QPoint& pos, const QPoint& globalPos) {
  QTreeWidgetItem* item = trvLanguage_->itemAt(pos);
  if (!item) {
    if (hintItem_) QToolTip::hideText();
    hintItem_ = nullptr;
    trvLanguage_->setToolTip(initialHint_);
    return;
  }
  if (item == hintItem_) return;
  hintItem_ = item;
  const QString hint = EntryHint(trvLanguage_->indexOfTopLevelItem(item));
  trvLanguage_->setToolTip(hint);
  if (hint.isEmpty())
    QToolTip::hideText();
  else
    QToolTip::showText(globalPos, hint, trvLanguage_->viewport(),
                       trvLanguage_->visualItemRect(item));
}

bool TfrmParla::eventFilter(QObject* watched, QEvent* e) {
  if (watched == trvLanguage_->viewport()) {
    if (e->type() == QEvent::MouseMove) {
      auto* m = static_cast<QMouseEvent*>(e);
      MouseOverList(m->position().toPoint(), m->globalPosition().toPoint());
    } else if (e->type() == QEvent::Leave) {
      MouseOverList(QPoint(-1, -1), QPoint());
    }
  }
  return QDialog::eventFilter(watched, e);
}

void TfrmParla::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (centred_) return;
  centred_ = true;
  const QScreen* s = screen() ? screen() : QApplication::primaryScreen();
  if (s) move(s->availableGeometry().center() - rect().center());
}

}  // namespace vortan
