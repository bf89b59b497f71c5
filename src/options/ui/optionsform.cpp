#include "options/ui/optionsform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

#include "config/headerfooterlines.h"
#include "config/optionbindings.h"
#include "config/settingids.h"
#include "config/settingsstore.h"
#include "config/settingstable.h"
#include "editor/fixedformline.h"
#include "editor/fortranhighlighter.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "editor/ui/synoptions.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "i18n/ui/translator.h"
#include "options/ui/colorbutton.h"
#include "options/ui/colorgrid.h"
#include "options/ui/colorswatch.h"
#include "options/ui/optionshost.h"
#include "options/ui/pagesample.h"
#include "platform/codepage.h"
#include "system/combohistory.h"
#include "system/promptservice.h"
#include "system/shellintegration.h"
#include "system/vortanpath.h"
#include "widgets/formrows.h"
#include "widgets/qtconvert.h"
#include "widgets/qtfont.h"

namespace vortan {

namespace {

constexpr const char* kLangKey = "langKey";
constexpr const char* kLangWords = "langWords";
constexpr const char* kFilter = "inputFilter";
/// The paper the Page Sample shows and the margins are checked against: A4.
constexpr double kPaperWidthMm = 210.0, kPaperHeightMm = 297.0;

// Settings of the ten margin boxes, in box order.
constexpr int kMarginSettings[10] = {sidLeftMargin,
                                     sidRightMargin,
                                     sidTopMargin,
                                     sidBottomMargin,
                                     sidGutterMargin,
                                     sidHeaderMargin,
                                     sidFooterMargin,
                                     sidHeaderFooterInternalMargin,
                                     sidHeaderFooterLeftTextIndent,
                                     sidHeaderFooterRightTextIndent};

const char* kMacros[] = {"TITLE", "PAGENUM", "PAGECOUNT", "DATE", "TIME", "DATETIME", "TIMEDATE"};

TParlax& BuiltInTexts() {
  static TParlax* t = [] {
    auto* p = new TParlax;
    p->LoadFromResource();
    return p;
  }();
  return *t;
}

/// "chkNewWindowMaximized" -> "CheckBox:NewWindowMaximized".
QString DerivedKey(const QString& name) {
  static const std::pair<const char*, const char*> prefixes[] = {
      {"chk", "CheckBox:"}, {"lbl", "Label:"},       {"cbx", "ComboBox:"},
      {"btn", "Button:"},   {"rdb", "RadioButton:"}, {"grp", "GroupBox:"},
      {"tab", "Tab:"},      {"edt", "Edit:"},        {"lst", "List:"}};
  for (const auto& [prefix, word] : prefixes)
    if (name.startsWith(QLatin1String(prefix))) return QLatin1String(word) + name.mid(3);
  return {};
}

template <class W>
W* Named(W* w, const char* name, const char* key = nullptr, const char* words = nullptr) {
  w->setObjectName(QString::fromLatin1(name));
  const QString k = key ? QString::fromLatin1(key) : DerivedKey(w->objectName());
  if (!k.isEmpty()) w->setProperty(kLangKey, k);
  if (words) w->setProperty(kLangWords, QString::fromLatin1(words));
  return w;
}

/// The font the text of a line is shown in.
QFont LineFont(const QTextBlock& b) {
  const QTextBlock::iterator first = b.begin();
  return first.atEnd() ? b.charFormat().font() : first.fragment().charFormat().font();
}

QString CaptionOfLabelFor(QWidget* box) {
  for (QLabel* l : box->window()->findChildren<QLabel*>())
    if (l->buddy() == box) return l->text().remove(QLatin1Char('&')).remove(QLatin1Char(':'));
  return box->objectName();
}

char DecimalSeparator() {
  const QString sep = QLocale().decimalPoint();
  return sep.isEmpty() || sep[0].unicode() > 0x7F ? '.' : char(sep[0].unicode());
}

QWidget* Page(QTabWidget* tabs, const char* name, const char* key = nullptr) {
  auto* page = Named(new QWidget, name, key);
  tabs->addTab(page, QString::fromLatin1(name + 3));
  return page;
}

}  // namespace

// --- creation ---------------------------------------------------------------------------

TfrmOptions::TfrmOptions(TOptionsHost& host, int page, QWidget* parent)
    : QDialog(parent), host_(host), highlighter_(std::make_unique<TSynFortranSyn>()) {
  setObjectName(QStringLiteral("frmOptions"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  setWindowTitle(QStringLiteral("Options"));

  pgcOptions_ = Named(new QTabWidget(this), "pgcOptions", "");
  BuildGeneral();
  auto* editor = Page(pgcOptions_, "tabEditor");
  pgcEditor_ = Named(new QTabWidget(editor), "pgcEditor", "");
  (new QVBoxLayout(editor))->addWidget(pgcEditor_);
  BuildEditorOptions();
  BuildEditorDisplay();
  BuildEditorColor();
  BuildEditorFixedForm();
  BuildRun();
  auto* print = Page(pgcOptions_, "tabPrint");
  pgcPrint_ = Named(new QTabWidget(print), "pgcPrint", "");
  (new QVBoxLayout(print))->addWidget(pgcPrint_);
  BuildPrintMargins();
  BuildPrintHeaderFooter();
  BuildPageSample();
  BuildOthers();

  btnOK_ = Named(new QPushButton(this), "btnOK");
  btnCancel_ = Named(new QPushButton(this), "btnCancel");
  btnApply_ = Named(new QPushButton(this), "btnApply");
  btnOK_->setDefault(true);
  connect(btnOK_, &QPushButton::clicked, this, [this] {
    if (Apply()) accept();
  });
  connect(btnCancel_, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnApply_, &QPushButton::clicked, this, &TfrmOptions::Apply);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* b : {btnOK_, btnCancel_, btnApply_}) {
    b->setMinimumWidth(75);
    buttons->addWidget(b);
  }
  auto* main = new QVBoxLayout(this);
  main->addWidget(pgcOptions_, 1);
  main->addLayout(buttons);

  // 1. Texts: the built-in ones, then the language in use.
  ApplyLanguage(BuiltInTexts());
  AttachLanguageHandler(this, [this](TParlax& l) { ApplyLanguage(l); });
  Translate(MainLanguage(), this);
  // 2. First page of every page control; the caller's page afterwards.
  pgcEditor_->setCurrentIndex(0);
  pgcPrint_->setCurrentIndex(0);
  // 3-9. The copies and the values.
  LoadValues();
  pgcOptions_->setCurrentIndex(std::clamp(page, 0, pgcOptions_->count() - 1));
  WatchChanges();
  loading_ = false;
  // 11.
  btnApply_->setEnabled(false);
}

TfrmOptions::~TfrmOptions() {
  // The sample editor paints with the copy; it goes first.
  delete sampleEditor_;
  sampleEditor_ = nullptr;
}

QWidget* TfrmOptions::Control(const char* name) const {
  return findChild<QWidget*>(QString::fromLatin1(name));
}

void TfrmOptions::BuildGeneral() {
  QWidget* page = Page(pgcOptions_, "tabGeneral");
  auto* col = new QVBoxLayout(page);
  for (const char* name : {"chkNewWindowMaximized", "chkStartWithNewSourceFile", "chkFullFilePath",
                           "chkANSIText", "chkSplashScreen", "chkAutoExpandMessages",
                           "chkAutoSaveBeforeContinue", "chkCreateBackupFile"})
    col->addWidget(Named(new QCheckBox(page), name));
  auto* lbl = Named(new QLabel(page), "lblTheme");
  cbxTheme_ = Named(new QComboBox(page), "cbxTheme", nullptr, "Hint");
  cbxTheme_->setMinimumWidth(120);
  col->addSpacing(8);
  col->addLayout(LabelledRow(lbl, cbxTheme_, false));
  col->addStretch(1);
}

void TfrmOptions::BuildEditorOptions() {
  QWidget* page = Page(pgcEditor_, "tabEditorOptions", "Tab:Options");
  auto* grid = new QGridLayout;
  const char* checks[] = {"chkUseSyntaxHighlight",
                          "chkAltSetsColumnMode",
                          "chkWantTabs",
                          "chkTabsToSpaces",
                          "chkSmartTabs",
                          "chkSmartTabDelete",
                          "chkShowScrollHint",
                          "chkScrollHintFollows",
                          "chkDisableScrollArrows",
                          "chkHalfPageScroll",
                          "chkShowSpecialChars",
                          "chkNoCaret",
                          "chkNoSelection",
                          "chkAutoIndent",
                          "chkGroupUndo",
                          "chkDragDropEditing",
                          "chkTrimTrailingSpaces",
                          "chkInsertMode",
                          "chkHideSelection",
                          "chkEnhanceHomeKey",
                          "chkHideShowScrollbars",
                          "chkScrollByOneLess",
                          "chkScrollPastEOF",
                          "chkScrollPastEOL",
                          "chkMaintainCaretCol",
                          "chkRightMouseMovesCursor",
                          "chkAutoComplete"};
  constexpr int rows = 9;
  for (int i = 0; i < int(std::size(checks)); ++i)
    grid->addWidget(Named(new QCheckBox(page), checks[i]), i % rows, i / rows);
  auto* col = new QVBoxLayout(page);
  col->addLayout(grid);
  col->addSpacing(8);
  auto* numbers = new QGridLayout;
  numbers->setHorizontalSpacing(LabelGap);
  const char* lists[][2] = {{"lblMaxLeftChars", "cbxMaxLeftChars"},
                            {"lblUndoLimit", "cbxUndoLimit"},
                            {"lblTabStops", "cbxTabStops"}};
  for (int i = 0; i < 3; ++i) {
    auto* l = Named(new QLabel(page), lists[i][0]);
    auto* c = Named(new QComboBox(page), lists[i][1], nullptr, "Hint");
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setFixedWidth(90);
    l->setBuddy(c);
    numbers->addWidget(l, i, 0);
    numbers->addWidget(c, i, 1);
    if (i == 0) numbers->addWidget(Named(new QCheckBox(page), "chkAutoSizeMaxLeftChars"), 0, 2);
  }
  numbers->setColumnStretch(3, 1);
  col->addLayout(numbers);
  col->addStretch(1);
}

void TfrmOptions::BuildEditorFixedForm() {
  QWidget* page = Page(pgcEditor_, "tabEditorFixedForm", "Tab:FixedForm");
  auto* col = new QVBoxLayout(page);
  for (const char* name : {"chkSmartReturn", "chkContinueComments", "chkWrapAt72", "chkLabelField",
                           "chkMarkMatching", "chkFolding"})
    col->addWidget(Named(new QCheckBox(page), name));
  col->addSpacing(8);
  auto* boxes = new QGridLayout;
  boxes->setHorizontalSpacing(LabelGap);
  const char* lists[][2] = {{"lblBlockIndent", "cbxBlockIndent"},
                            {"lblContinuationMark", "cbxContinuationMark"},
                            {"lblReindentOptions", "cbxReindentOptions"}};
  for (int i = 0; i < 3; ++i) {
    auto* l = Named(new QLabel(page), lists[i][0]);
    auto* c = Named(new QComboBox(page), lists[i][1], nullptr, "Hint");
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setFixedWidth(i == 2 ? 200 : 90);
    l->setBuddy(c);
    boxes->addWidget(l, i, 0);
    boxes->addWidget(c, i, 1);
  }
  boxes->setColumnStretch(2, 1);
  col->addLayout(boxes);
  col->addStretch(1);
}

void TfrmOptions::BuildEditorDisplay() {
  QWidget* page = Page(pgcEditor_, "tabEditorDisplay", "Tab:Display");
  auto* gutter = Named(new QGroupBox(page), "grpGutter");
  auto* g = new QGridLayout(gutter);
  const char* checks[] = {"chkGutterVisible",     "chkGutterAutosize", "chkGutterShowLineNumbers",
                          "chkGutterStartAtZero", "chkUseGutterFont",  "chkGutterLeadingZeros"};
  for (int i = 0; i < 6; ++i) g->addWidget(Named(new QCheckBox(gutter), checks[i]), i % 3, i / 3);
  auto* lblWidth = Named(new QLabel(gutter), "lblGutterWidth");
  auto* cbxWidth = Named(new QComboBox(gutter), "cbxGutterWidth", nullptr, "Hint");
  cbxWidth->setEditable(true);
  cbxWidth->setInsertPolicy(QComboBox::NoInsert);
  cbxWidth->setFixedWidth(70);
  btnGutterFont_ = Named(new QPushButton(gutter), "btnGutterFont");
  auto* row = LabelledRow(lblWidth, cbxWidth, false);
  row->addWidget(btnGutterFont_);
  g->addLayout(row, 3, 0, 1, 2);
  connect(btnGutterFont_, &QPushButton::clicked, this, [this] {
    TFontSpec f = gutterFont_;
    if (Prompts() && Prompts()->FontDialog(f)) {
      gutterFont_ = f;
      Modificado();
    }
  });

  auto* vline = Named(new QGroupBox(page), "grpVerticalLine");
  auto* v = new QVBoxLayout(vline);
  v->addWidget(Named(new QCheckBox(vline), "chkShowVerticalLine"));
  auto* colorButton = Named(new TColorButton(vline), "btnVerticalLineColor", "");
  v->addLayout(LabelledRow(Named(new QLabel(vline), "lblVerticalLineColor"), colorButton, false));
  auto* cbxV = Named(new QComboBox(vline), "cbxVLine", "ComboBox:VerticalLine", "Hint");
  cbxV->setEditable(true);
  cbxV->setInsertPolicy(QComboBox::NoInsert);
  v->addLayout(LabelledRow(Named(new QLabel(vline), "lblVerticalLineColumn"), cbxV, true));

  auto* carets = new QGridLayout;
  carets->setHorizontalSpacing(LabelGap);
  const char* lists[][2] = {{"lblInsertCaret", "cbxInsertCaret"},
                            {"lblOverwriteCaret", "cbxOverwriteCaret"},
                            {"lblFont", "cbxFont"},
                            {"lblSize", "cbxSize"}};
  for (int i = 0; i < 4; ++i) {
    auto* l = Named(new QLabel(page), lists[i][0]);
    const bool items = i < 2;
    auto* c = Named(new QComboBox(page), lists[i][1], nullptr, items ? "Hint,Items" : "Hint");
    l->setBuddy(c);
    carets->addWidget(l, i, 0);
    carets->addWidget(c, i, 1);
  }
  cbxFont_ = findChild<QComboBox*>(QStringLiteral("cbxFont"));
  cbxSize_ = findChild<QComboBox*>(QStringLiteral("cbxSize"));
  cbxSize_->setEditable(true);
  cbxSize_->setInsertPolicy(QComboBox::NoInsert);
  cbxFont_->setMinimumWidth(180);
  // Installed faces, fixed and proportional alike.
  cbxFont_->addItems(QFontDatabase::families());
  auto* frame = new QFrame(page);
  frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  frame->setMinimumSize(200, 60);
  lblFontDisplay_ = Named(new QLabel(frame), "lblFontDisplay");
  lblFontDisplay_->setAlignment(Qt::AlignCenter);
  (new QVBoxLayout(frame))->addWidget(lblFontDisplay_, 1, Qt::AlignCenter);
  carets->addWidget(frame, 0, 2, 4, 1);
  carets->setColumnStretch(2, 1);

  auto* col = new QVBoxLayout(page);
  auto* top = new QHBoxLayout;
  top->addWidget(gutter, 1);
  top->addWidget(vline, 1);
  col->addLayout(top);
  col->addLayout(carets);
  col->addStretch(1);
}

void TfrmOptions::BuildEditorColor() {
  QWidget* page = Page(pgcEditor_, "tabEditorColor", "Tab:Color");
  lstElements_ = Named(new QListWidget(page), "lstElements", nullptr, "Hint,Items");
  lstElements_->setFixedWidth(130);
  auto* lblElements = Named(new QLabel(page), "lblElements");
  lblElements->setBuddy(lstElements_);
  auto* lblColors = Named(new QLabel(page), "lblColors");
  auto* colorsPanel = Named(new QFrame(page), "pnlColors", "List:Colors", "Hint");
  grdColors_ = Named(new TColorGrid(colorsPanel), "grdColors", "List:Colors", "Hint");
  swatchFG_ = Named(new TColorSwatch(colorsPanel), "pnlForeground", "");
  swatchBG_ = Named(new TColorSwatch(colorsPanel), "pnlBackground", "");
  auto* swatches = new QHBoxLayout;
  swatches->setSpacing(2);
  swatches->addWidget(swatchFG_);
  swatches->addWidget(swatchBG_);
  swatches->addStretch(1);
  auto* colors = new QVBoxLayout(colorsPanel);
  colors->setContentsMargins(0, 0, 0, 0);
  colors->addWidget(grdColors_);
  colors->addLayout(swatches);

  grpTextAttributes_ = Named(new QGroupBox(page), "grpTextAttributes");
  chkBold_ = Named(new QCheckBox(grpTextAttributes_), "chkBold");
  chkItalic_ = Named(new QCheckBox(grpTextAttributes_), "chkItalic");
  chkUnderline_ = Named(new QCheckBox(grpTextAttributes_), "chkUnderline");
  SpreadGroup(grpTextAttributes_, {chkBold_, chkItalic_, chkUnderline_}, 1);
  auto* grpDefault = Named(new QGroupBox(page), "grpDefault");
  chkForeground_ = Named(new QCheckBox(grpDefault), "chkForeground");
  chkBackground_ = Named(new QCheckBox(grpDefault), "chkBackground");
  SpreadGroup(grpDefault, {chkForeground_, chkBackground_}, 1);

  sampleEditor_ = Named(new TStreakSynEdit(page), "SampleEditor", "Edit:Sample", "Hint,Lines");
  sampleEditor_->setReadOnly(true);
  TEditorSettings sample;
  sample.NoCaret = true;
  sample.NoSelection = true;
  sample.GutterVisible = false;
  sample.FontName = ReadString(sidFont);
  sample.FontSize = std::max(1, int(ReadInteger(sidFontSize)));
  sampleEditor_->SetOptions(TSynOptions::From(sample));
  sampleEditor_->SetHighlighter(highlighter_.get());
  sampleEditor_->setMinimumHeight(150);
  sampleViewport_ = sampleEditor_->viewport();
  sampleViewport_->installEventFilter(this);

  auto* grid = new QGridLayout(page);
  grid->addWidget(lblElements, 0, 0);
  grid->addWidget(lstElements_, 1, 0, 3, 1);
  grid->addWidget(lblColors, 0, 1);
  grid->addWidget(colorsPanel, 1, 1);
  auto* groups = new QHBoxLayout;
  groups->addWidget(grpTextAttributes_);
  groups->addWidget(grpDefault);
  grid->addLayout(groups, 2, 1);
  grid->addWidget(sampleEditor_, 4, 0, 1, 2);
  grid->setRowStretch(3, 1);
  grid->setRowStretch(4, 3);

  connect(lstElements_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row < 0) return;
    currentElement_ = row;
    RefreshColorPage();
  });
  connect(swatchFG_, &TColorSwatch::Clicked, this, [this] { SelectSwatch(swatchFG_); });
  connect(swatchBG_, &TColorSwatch::Clicked, this, [this] { SelectSwatch(swatchBG_); });
  connect(swatchFG_, &TColorSwatch::DoubleClicked, this, [this] { ChooseSwatchColor(true); });
  connect(swatchBG_, &TColorSwatch::DoubleClicked, this, [this] { ChooseSwatchColor(false); });
  connect(grdColors_, &TColorGrid::DoubleClicked, this,
          [this] { ChooseSwatchColor(swatchFG_->Selected() && swatchFG_->isEnabled()); });
  connect(grdColors_, &TColorGrid::CellReleased, this, [this](TColor c, Qt::MouseButton b) {
    TColorSwatch* selected =
        swatchFG_->Selected() && swatchFG_->isEnabled() ? swatchFG_ : swatchBG_;
    TColorSwatch* other = selected == swatchFG_ ? swatchBG_ : swatchFG_;
    TColorSwatch* target = b == Qt::RightButton ? other : b == Qt::LeftButton ? selected : nullptr;
    if (!target || !target->isEnabled()) return;
    target->SetColor(c);
    SwatchColorChanged();
  });
  auto style = [this](QCheckBox* box, bool THighlightAttribute::*field) {
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
      if (refreshing_) return;
      CurrentAttribute().*field = on;
      UpdateSample();
      Modificado();
    });
  };
  style(chkBold_, &THighlightAttribute::Bold);
  style(chkItalic_, &THighlightAttribute::Italic);
  style(chkUnderline_, &THighlightAttribute::Underline);
  auto useDefault = [this](QCheckBox* box, std::optional<TColor> THighlightAttribute::*field) {
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
      if (refreshing_) return;
      if (on) CurrentAttribute().*field = std::nullopt;
      UpdateSample();
      Modificado();
      RefreshColorPage();
    });
  };
  useDefault(chkForeground_, &THighlightAttribute::Foreground);
  useDefault(chkBackground_, &THighlightAttribute::Background);
}

void TfrmOptions::BuildRun() {
  QWidget* page = Page(pgcOptions_, "tabRun");
  auto* col = new QVBoxLayout(page);
  auto* checks = new QGridLayout;
  const char* names[] = {"chkAutoShowOutput", "chkAutoShowMessages", "chkMinimizeOnRun",
                         "chkMinimizeOnDebug", "chkIgnoreAnalyzer"};
  for (int i = 0; i < 5; ++i) checks->addWidget(Named(new QCheckBox(page), names[i]), i % 3, i / 3);
  col->addLayout(checks);

  auto* lblPriority = Named(new QLabel(page), "lblProcessPriority", "Label:ProcessPriority");
  trackBar_ = Named(new QSlider(Qt::Horizontal, page), "TrackBar1", "");
  trackBar_->setRange(0, 6);
  trackBar_->setPageStep(1);
  trackBar_->setTickPosition(QSlider::TicksBelow);
  trackBar_->setFixedWidth(220);
  lblPriority->setBuddy(trackBar_);
  lblSelectedPriority_ = Named(new QLabel(page), "lblSelectedPriority", "");
  lblSelectedPriority_->setMinimumWidth(90);
  auto* ends = new QHBoxLayout;
  ends->setContentsMargins(0, 0, 0, 0);
  for (auto [name, align] :
       {std::pair{"lblIdle", Qt::AlignLeft}, std::pair{"lblNormal", Qt::AlignHCenter},
        std::pair{"lblTimeCritical", Qt::AlignRight}}) {
    auto* l = Named(new QLabel(page), name, "");
    l->setAlignment(align);
    ends->addWidget(l, 1);
  }
  auto* track = new QGridLayout;
  track->setHorizontalSpacing(LabelGap);
  track->addWidget(lblPriority, 0, 0, 1, 3);
  track->addWidget(trackBar_, 1, 0);
  track->addWidget(lblSelectedPriority_, 1, 1);
  track->addLayout(ends, 2, 0);
  track->setColumnStretch(2, 1);
  col->addLayout(track);
  connect(trackBar_, &QSlider::valueChanged, this, &TfrmOptions::UpdatePriorityLabel);

  auto* params = Named(new QGroupBox(page), "grpParameters");
  auto* p = new QVBoxLayout(params);
  auto* compiler = Named(new QGroupBox(params), "grpCompiler");
  auto* c = new QVBoxLayout(compiler);
  auto list = [](QWidget* parent, const char* name, const char* key) {
    auto* box = Named(new QComboBox(parent), name, key, "Hint");
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
  };
  // Labels of one group share the widest width so their boxes line up.
  c->addLayout(LabelledRow(Named(new QLabel(compiler), "lblCompilerOptions", "Label:Options"),
                           list(compiler, "cbxCompilerOptions", "ComboBox:Options"), true));
  c->addLayout(LabelledRow(Named(new QLabel(compiler), "lblCompilerLibraries", "Label:Libraries"),
                           list(compiler, "cbxCompilerLibraries", "ComboBox:Libraries"), true));
  p->addWidget(compiler);
  p->addLayout(LabelledRow(Named(new QLabel(params), "lblAnalyzer"),
                           list(params, "cbxAnalyzerParameters", nullptr), true));
  p->addLayout(LabelledRow(Named(new QLabel(params), "lblDebugger"),
                           list(params, "cbxDebuggerParameters", nullptr), true));
  col->addWidget(params);

  auto* live = Named(new QGroupBox(page), "grpLiveCheck");
  auto* l = new QGridLayout(live);
  l->addWidget(Named(new QCheckBox(live), "chkLiveCheck"), 0, 0, 1, 2);
  auto* delay = Named(new QComboBox(live), "cbxLiveDelay");
  delay->setEditable(true);
  delay->addItems({QStringLiteral("500"), QStringLiteral("800"), QStringLiteral("1500")});
  l->addLayout(LabelledRow(Named(new QLabel(live), "lblLiveDelay"), delay, false), 0, 2);
  const char* liveChecks[] = {"chkLiveCompiler", "chkLiveAnalyzer", "chkLiveAnalyzeAll"};
  for (int i = 0; i < 3; ++i) l->addWidget(Named(new QCheckBox(live), liveChecks[i]), 1, i);
  col->addWidget(live);

  auto* runWith = Named(new QGroupBox(page), "grpRunWith");
  const char* radios[] = {"rdbPIF", "rdbBAT", "rdbEXE", "rdbConsole"};
  QList<QWidget*> buttons;
  for (int i = 0; i < 4; ++i)
    buttons << (runWith_[std::size_t(i)] = Named(new QRadioButton(runWith), radios[i]));
  SpreadGroup(runWith, buttons, 4);
  col->addWidget(runWith);
  col->addStretch(1);
}

void TfrmOptions::BuildPrintMargins() {
  QWidget* page = Page(pgcPrint_, "tabPrintMarginOptions", "Tab:MarginOptions");
  cbxMarginUnits_ = Named(new QComboBox(page), "cbxMarginUnits", "ComboBox:Units", "Hint,Items");
  auto* lblUnits = Named(new QLabel(page), "lblUnits");
  const char* boxes[][3] = {{"edtMarginLeft", "Edit:Left", "Label:Left"},
                            {"edtMarginRight", "Edit:Right", "Label:Right"},
                            {"edtMarginTop", "Edit:Top", "Label:Top"},
                            {"edtMarginBottom", "Edit:Bottom", "Label:Bottom"},
                            {"edtMarginGutter", "Edit:Gutter", "Label:Gutter"},
                            {"edtMarginHeader", "Edit:Header", "Label:Header"},
                            {"edtMarginFooter", "Edit:Footer", "Label:Footer"},
                            {"edtMarginHFInternal", "Edit:InternalMargin", "Label:InternalMargin"},
                            {"edtMarginHFLeft", "Edit:LeftTextIndent", "Label:LeftTextIndent"},
                            {"edtMarginHFRight", "Edit:RightTextIndent", "Label:RightTextIndent"}};
  auto* hf = Named(new QGroupBox(page), "grpHeaderFooter");
  auto* outer = new QGridLayout;
  auto* inner = new QGridLayout(hf);
  for (int i = 0; i < 10; ++i) {
    QWidget* parent = i < 7 ? page : hf;
    auto* e = Named(new QLineEdit(parent), boxes[i][0], boxes[i][1], "Hint");
    e->setFixedWidth(80);
    e->setProperty(kFilter, int(TInputFilter::Decimal));
    auto* l =
        Named(new QLabel(parent), (std::string("lbl") + (boxes[i][0] + 3)).c_str(), boxes[i][2]);
    l->setBuddy(e);
    margins_[std::size_t(i)] = e;
    QGridLayout* grid = i < 7 ? outer : inner;
    const int row = i < 7 ? 1 + i : i - 7;
    grid->addWidget(l, row, 0);
    grid->addWidget(e, row, 1);
  }
  lblUnits->setBuddy(cbxMarginUnits_);
  outer->addWidget(lblUnits, 0, 0);
  outer->addWidget(cbxMarginUnits_, 0, 1, 1, 2);
  outer->setColumnStretch(2, 1);
  outer->setRowStretch(8, 1);
  auto* right = new QVBoxLayout;
  right->addWidget(hf);
  const char* flags[] = {"chkMirrorMargins", "chkLineNumbers", "chkLineNumbersInMargin",
                         "chkSyntaxPrint",   "chkUseColors",   "chkWrapLines"};
  for (int i = 0; i < 6; ++i)
    right->addWidget(printFlags_[std::size_t(i)] = Named(new QCheckBox(page), flags[i]));
  right->addStretch(1);
  auto* row = new QHBoxLayout(page);
  row->addLayout(outer, 1);
  row->addLayout(right, 1);
  connect(cbxMarginUnits_, &QComboBox::currentIndexChanged, this, [this](int unit) {
    if (!loading_ && unit >= 0) MarginUnitChanged(unit);
  });
}

QWidget* TfrmOptions::BuildHFGroup(bool header) {
  const char* word = header ? "Header" : "Footer";
  const std::string g = std::string("grp") + word;
  QWidget* page = pgcPrint_->widget(1);
  auto* group = Named(new QGroupBox(page), g.c_str());
  auto& editors = header ? rchHeader_ : rchFooter_;
  auto& radios = header ? rdbHeader_ : rdbFooter_;
  auto* stack = new QStackedWidget(group);
  (header ? stkHeader_ : stkFooter_) = stack;
  const char* sides[] = {"Left", "Center", "Right"};
  auto* radioRow = new QHBoxLayout;
  for (int i = 0; i < 3; ++i) {
    const std::string rch = std::string("rch") + word + sides[i];
    // The footer's right radio button carries its historical name.
    const std::string rdb =
        !header && i == 2 ? "rdbFotterRight" : std::string("rdb") + word + sides[i];
    const std::string key = std::string("RadioButton:") + sides[i];
    auto* e =
        Named(new QTextEdit(stack), rch.c_str(), header ? "Edit:Header" : "Edit:Footer", "Hint");
    e->setAcceptRichText(false);
    e->setContextMenuPolicy(Qt::CustomContextMenu);
    e->setLineWrapMode(QTextEdit::NoWrap);
    e->installEventFilter(this);
    stack->addWidget(e);
    editors[std::size_t(i)] = e;
    auto* r = Named(new QRadioButton(group), rdb.c_str(), key.c_str());
    radios[std::size_t(i)] = r;
    radioRow->addWidget(r);
    connect(r, &QRadioButton::toggled, this, [this, stack, e](bool on) {
      if (!on) return;
      stack->setCurrentWidget(e);
      currentHF_ = e;
    });
    connect(e, &QTextEdit::textChanged, this, [this, e] { currentHF_ = e; });
    connect(e, &QWidget::customContextMenuRequested, this, [this, e](const QPoint& pos) {
      currentHF_ = e;
      popHeaderFooter_->popup(e->viewport()->mapToGlobal(pos));
    });
  }
  radios[0]->setChecked(true);
  radioRow->addStretch(1);
  auto* mirror = Named(new QCheckBox(group), (std::string("chk") + word + "Mirror").c_str(),
                       "CheckBox:Mirror");
  (header ? chkHeaderMirror_ : chkFooterMirror_) = mirror;
  radioRow->addWidget(mirror);

  auto* appearance = Named(new QGroupBox(group), (std::string("grp") + word + "Appearance").c_str(),
                           "GroupBox:Appearance");
  auto& frame = header ? headerFrame_ : footerFrame_;
  const char* lineName = header ? "chkHeaderLineUnder" : "chkFooterLineAbove";
  frame[0] = Named(new QCheckBox(appearance), lineName,
                   header ? "CheckBox:LineUnder" : "CheckBox:LineAbove");
  frame[1] =
      Named(new QCheckBox(appearance), (std::string("chk") + word + "Box").c_str(), "CheckBox:Box");
  frame[2] = Named(new QCheckBox(appearance), (std::string("chk") + word + "Shadow").c_str(),
                   "CheckBox:Shadow");
  auto* lineColor =
      Named(new TColorButton(appearance), (std::string("btn") + word + "LineColor").c_str(),
            header ? "Button:LineUnderColor" : "Button:LineAboveColor", "Hint");
  auto* shadowColor =
      Named(new TColorButton(appearance), (std::string("btn") + word + "ShadowColor").c_str(),
            "Button:ShadowColor", "Hint");
  (header ? btnHeaderLineColor_ : btnFooterLineColor_) = lineColor;
  (header ? btnHeaderShadowColor_ : btnFooterShadowColor_) = shadowColor;
  // Line check box, 4, its colour, 8, box, 4, shadow, 4, shadow colour.
  auto* a = new QHBoxLayout(appearance);
  a->setSpacing(0);
  a->addWidget(frame[0]);
  a->addSpacing(4);
  a->addWidget(lineColor);
  a->addSpacing(8);
  a->addWidget(frame[1]);
  a->addSpacing(4);
  a->addWidget(frame[2]);
  a->addSpacing(4);
  a->addWidget(shadowColor);
  a->addStretch(1);

  auto* v = new QVBoxLayout(group);
  v->addLayout(radioRow);
  v->addWidget(stack, 1);
  v->addWidget(appearance);
  return group;
}

void TfrmOptions::BuildPrintHeaderFooter() {
  QWidget* page = Page(pgcPrint_, "tabPrintHeaderFooter", "Tab:HeaderFooter");
  popHeaderFooter_ = new QMenu(this);
  popHeaderFooter_->setObjectName(QStringLiteral("popHeaderFooter"));
  auto add = [this](const std::string& name) {
    auto* a = new QAction(popHeaderFooter_);
    a->setObjectName(QString::fromStdString(name));
    a->setProperty(kLangKey, QString::fromStdString("Action:" + name.substr(3)));
    a->setProperty(kLangWords, QStringLiteral("Caption,Hint,Shortcut"));
    popHeaderFooter_->addAction(a);
    connect(a, &QAction::triggered, this, [this, name] {
      if (currentHF_) RunHeaderFooterCommand(currentHF_, name.c_str());
    });
  };
  add("actLineAttributes");
  popHeaderFooter_->addSeparator();
  for (const char* m : kMacros) add(std::string("act") + m);
  auto* col = new QVBoxLayout(page);
  col->addWidget(BuildHFGroup(true), 1);
  col->addWidget(BuildHFGroup(false), 1);
  currentHF_ = rchHeader_[0];
}

void TfrmOptions::BuildPageSample() {
  QWidget* page = Page(pgcPrint_, "tabPrintPageSample", "Tab:PageSample");
  pageSample_ = new TPageSample(page);
  (new QVBoxLayout(page))->addWidget(pageSample_);
  connect(pgcPrint_, &QTabWidget::currentChanged, this, [this](int) { UpdatePageSample(); });
}

void TfrmOptions::BuildOthers() {
  QWidget* page = Page(pgcOptions_, "tabOthers");
  auto* col = new QVBoxLayout(page);
  const char* names[] = {"btnAssociateFiles", "btnDesktopShortcut", "btnStartMenuShortcut",
                         "btnProgramsGroup"};
  for (int i = 0; i < 4; ++i) {
    auto* b = Named(new QPushButton(page), names[i]);
    othersButtons_[std::size_t(i)] = b;
    col->addWidget(b);
  }
  connect(othersButtons_[0], &QPushButton::clicked, this, [] { btnAssociateFilesClick(); });
  connect(othersButtons_[1], &QPushButton::clicked, this, [] { btnDesktopShortcutClick(0); });
  connect(othersButtons_[2], &QPushButton::clicked, this, [] { btnDesktopShortcutClick(1); });
  connect(othersButtons_[3], &QPushButton::clicked, this, [] { btnProgramsGroupClick(); });
  auto* messages = Named(new QGroupBox(page), "grpMessages");
  QList<QWidget*> checks;
  for (const char* name : {"chkHidingMenuBar", "chkMenuBarIsHidden", "chkClearHistoryList",
                           "chkAssociateFiles", "chkInstallFileMissing", "chkSaveBeforeContinue"})
    checks << Named(new QCheckBox(messages), name);
  SpreadGroup(messages, checks, 2);
  col->addSpacing(8);
  col->addWidget(messages);
  col->addStretch(1);
}

// --- values -----------------------------------------------------------------------------

std::string TfrmOptions::ControlText(const TOptionBinding& b) const {
  QWidget* w = Control(std::string(b.Control).c_str());
  switch (b.Kind) {
    case TBindKind::Check:
      return static_cast<QCheckBox*>(w)->isChecked() ? "1" : "0";
    case TBindKind::Number:
    case TBindKind::Text:
    case TBindKind::Columns:
    case TBindKind::FontName:
      return LatinBytes(static_cast<QComboBox*>(w)->currentText());
    case TBindKind::Caret:
      return std::to_string(3 - std::max(0, static_cast<QComboBox*>(w)->currentIndex()));
    case TBindKind::Choice:
      for (int i = 0; i < 4; ++i)
        if (runWith_[std::size_t(i)]->isChecked()) return std::to_string(i);
      return {};
    case TBindKind::Track:
      return std::to_string(static_cast<QSlider*>(w)->value());
    case TBindKind::Color:
      return std::to_string(int32_t(static_cast<TColorButton*>(w)->Color()));
  }
  return {};
}

void TfrmOptions::SetControlText(const TOptionBinding& b, const std::string& text) {
  QWidget* w = Control(std::string(b.Control).c_str());
  int n = 0;
  TextToInteger(text, n);
  switch (b.Kind) {
    case TBindKind::Check:
      static_cast<QCheckBox*>(w)->setChecked(TextToBool(text));
      return;
    case TBindKind::Number:
    case TBindKind::Text:
    case TBindKind::Columns:
      static_cast<QComboBox*>(w)->setEditText(Latin(text));
      return;
    case TBindKind::FontName: {
      // The stored name stays as the user chose it, installed or not.
      auto* c = static_cast<QComboBox*>(w);
      if (c->findText(Latin(text)) < 0) c->insertItem(0, Latin(text));
      c->setCurrentIndex(c->findText(Latin(text)));
      return;
    }
    case TBindKind::Caret:
      static_cast<QComboBox*>(w)->setCurrentIndex(std::clamp(3 - n, 0, 3));
      return;
    case TBindKind::Choice:
      for (int i = 0; i < 4; ++i) runWith_[std::size_t(i)]->setChecked(i == n);
      return;
    case TBindKind::Track:
      static_cast<QSlider*>(w)->setValue(n);
      return;
    case TBindKind::Color:
      static_cast<TColorButton*>(w)->SetColor(TColor(n));
      return;
  }
}

void TfrmOptions::LoadValues() {
  // Highlighter and error-line copies; "Comment" shown first.
  for (int i = 0; i < FortranAttributeCount; ++i)
    elements_[std::size_t(i)] = host_.Highlighter().Attribute(i);
  elements_[ErrorLineElement] = host_.UserErrorLine();
  elements_[IgnoredElement] = host_.Highlighter().IgnoredAttribute();
  UpdateSample();
  swatchFG_->SetSelected(true);
  lstElements_->setCurrentRow(0);
  currentElement_ = 0;
  RefreshColorPage();

  cbxTheme_->addItems(host_.ThemeNames());
  cbxTheme_->setCurrentText(host_.Theme());

  const bool paths = VortanPath() != nullptr;
  othersButtons_[1]->setEnabled(paths && !VortanPath()->GetPath(sidDesktopPath).empty());
  othersButtons_[2]->setEnabled(paths && !VortanPath()->GetPath(sidStartMenuPath).empty());
  othersButtons_[3]->setEnabled(paths && !VortanPath()->GetPath(sidProgramsGroupPath).empty());

  TSettingsStore& store = Store();
  for (const TOptionBinding& b : OptionBindings()) {
    if (b.History < 0) continue;
    std::vector<std::string> items;
    store.ReadObject(b.History, items);
    auto* c = static_cast<QComboBox*>(Control(std::string(b.Control).c_str()));
    for (const std::string& item : items) c->addItem(Latin(item));
  }
  for (const TOptionBinding& b : OptionBindings()) SetControlText(b, ReadBindingText(store, b));
  storedGuideText_ = store.ReadString(sidVerticalLineColumn);
  gutterFont_ = FontFromStored(store.ReadString(sidGutterFont),
                               SettingsTable[std::size_t(sidGutterFont)].DefaultText);

  // An open editor shows its own state on the Editor pages.
  if (TfrmEditor* e = host_.ActiveEditor()) {
    TStreakSynEdit* s = e->SynEdit();
    const TEditorSettings& o = s->Options().Settings;
    const std::pair<const char*, bool> flags[] = {
        {"chkANSIText", s->CodePage() == platform::TCodePage::Ansi},
        {"chkAltSetsColumnMode", o.AltSetsColumnMode},
        {"chkWantTabs", o.WantTabs},
        {"chkTabsToSpaces", o.TabsToSpaces},
        {"chkSmartTabs", o.SmartTabs},
        {"chkSmartTabDelete", o.SmartTabDelete},
        {"chkShowScrollHint", o.ShowScrollHint},
        {"chkScrollHintFollows", o.ScrollHintFollowsMouse},
        {"chkDisableScrollArrows", o.DisableScrollArrows},
        {"chkHalfPageScroll", o.HalfPageScroll},
        {"chkShowSpecialChars", o.ShowSpecialChars},
        {"chkNoCaret", o.NoCaret},
        {"chkNoSelection", o.NoSelection},
        {"chkAutoIndent", o.AutoIndent},
        {"chkGroupUndo", o.GroupUndo},
        {"chkDragDropEditing", o.DragAndDropEditing},
        {"chkTrimTrailingSpaces", o.TrimTrailingSpaces},
        {"chkInsertMode", s->InsertMode()},
        {"chkHideSelection", o.HideSelection},
        {"chkEnhanceHomeKey", o.EnhanceHomeKey},
        {"chkHideShowScrollbars", o.HideScrollbarsAsNecessary},
        {"chkScrollByOneLess", o.ScrollByOneLess},
        {"chkScrollPastEOF", o.ScrollPastEndOfFile},
        {"chkScrollPastEOL", o.ScrollPastEndOfLine},
        {"chkMaintainCaretCol", o.MaintainCaretColumn},
        {"chkRightMouseMovesCursor", o.RightMouseMovesCursor},
        {"chkAutoSizeMaxLeftChars", o.AutoSizeMaxLeftChars},
        {"chkGutterVisible", o.GutterVisible},
        {"chkGutterAutosize", o.GutterAutosize},
        {"chkGutterShowLineNumbers", o.GutterShowLineNumbers},
        {"chkGutterStartAtZero", o.GutterStartAtZero},
        {"chkUseGutterFont", o.UseGutterFont},
        {"chkGutterLeadingZeros", o.GutterShowLeadingZeros},
        {"chkShowVerticalLine", s->Streaks().Count() > 0}};
    for (const auto& [name, on] : flags)
      if (auto* c = qobject_cast<QCheckBox*>(Control(name))) c->setChecked(on);
    const std::pair<const char*, int> numbers[] = {{"cbxMaxLeftChars", o.MaxLeftChars},
                                                   {"cbxUndoLimit", o.UndoLimit},
                                                   {"cbxTabStops", o.TabStops},
                                                   {"cbxGutterWidth", o.GutterWidth}};
    for (const auto& [name, n] : numbers)
      static_cast<QComboBox*>(Control(name))->setEditText(QString::number(n));
    std::vector<int> cols;
    for (int i = 0; i < s->Streaks().Count(); ++i) cols.push_back(s->Streaks().Item(i)->Column());
    std::string text = storedGuideText_;
    ColumnsToText(cols, text);
    static_cast<QComboBox*>(Control("cbxVLine"))->setEditText(Latin(text));
    // The gutter font was applied from setting 88: reading it back from the control would
    // replace a stored face by its substitute, so the setting stays the source.
  }
  initialAnsi_ = ControlText(*FindBinding("chkANSIText"));
  UpdateMaintainCaret();
  UpdatePriorityLabel();
  UpdateFontSample();
  LoadPrint();
}

void TfrmOptions::LoadPrint() {
  print_ = host_.PrintSettings();
  {
    const QSignalBlocker block(cbxMarginUnits_);
    cbxMarginUnits_->setCurrentIndex(int(print_.Unit));
  }
  FillMarginBoxes();
  const bool flags[] = {print_.MirrorMargins, print_.LineNumbers, print_.LineNumbersInMargin,
                        print_.SyntaxPrint,   print_.UseColors,   print_.WrapLines};
  for (int i = 0; i < 6; ++i) printFlags_[std::size_t(i)]->setChecked(flags[i]);
  LoadHeaderFooter(print_.PageHeader, true);
  LoadHeaderFooter(print_.PageFooter, false);
}

void TfrmOptions::LoadHeaderFooter(const THeaderFooter& hf, bool header) {
  const THFColumns cols = HeaderFooterLines(hf);
  auto& editors = header ? rchHeader_ : rchFooter_;
  for (int c = 0; c < 3; ++c) {
    QTextEdit* e = editors[std::size_t(c)];
    const QSignalBlocker block(e);
    e->clear();
    e->setCurrentFont(FontFromSpec(hf.DefaultFont));
    e->document()->setDefaultFont(FontFromSpec(hf.DefaultFont));
    QTextCursor cur(e->document());
    const std::vector<THFLine>& lines = cols[std::size_t(c)];
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (i > 0) cur.insertBlock();
      QTextCharFormat fmt;
      fmt.setFont(FontFromSpec(lines[i].Font));
      fmt.setForeground(ToQColor(lines[i].Font.Color));
      cur.setBlockCharFormat(fmt);
      // Header texts are stored in the Windows page, as the print engine reads them.
      cur.insertText(LanguageText(lines[i].Text), fmt);
    }
    e->moveCursor(QTextCursor::Start);
    // Each line keeps its stored font, names included, until the user changes it.
    e->setProperty("storedFonts", QVariant());
    std::vector<TFontSpec> fonts;
    for (const THFLine& l : lines) fonts.push_back(l.Font);
    e->setProperty("fontCount", int(fonts.size()));
    for (std::size_t i = 0; i < fonts.size(); ++i)
      e->setProperty(("font" + std::to_string(i)).c_str(), Latin(FontToText(fonts[i])));
  }
  (header ? chkHeaderMirror_ : chkFooterMirror_)->setChecked(hf.MirrorPosition);
  auto& frame = header ? headerFrame_ : footerFrame_;
  for (int i = 0; i < 3; ++i) frame[std::size_t(i)]->setChecked(hf.FrameKinds & (1 << i));
  (header ? btnHeaderLineColor_ : btnFooterLineColor_)->SetColor(hf.LineColor);
  (header ? btnHeaderShadowColor_ : btnFooterShadowColor_)->SetColor(hf.ShadedColor);
}

void TfrmOptions::SaveHeaderFooter(THeaderFooter& hf, bool header) const {
  const auto& editors = header ? rchHeader_ : rchFooter_;
  THFColumns cols;
  for (int c = 0; c < 3; ++c) {
    QTextEdit* e = editors[std::size_t(c)];
    const int stored = e->property("fontCount").toInt();
    int i = 0;
    for (QTextBlock b = e->document()->begin(); b.isValid(); b = b.next(), ++i) {
      THFLine line;
      line.Text = platform::Utf8ToBytes(platform::TCodePage::Ansi, b.text().toStdString());
      line.Font = hf.DefaultFont;
      // A line whose font nobody changed keeps its stored font, name as written.
      const QVariant saved =
          i < stored ? e->property(("font" + std::to_string(i)).c_str()) : QVariant();
      TFontSpec spec = hf.DefaultFont;
      if (saved.isValid()) TextToFont(LatinBytes(saved.toString()), spec);
      const QFont shown = LineFont(b);
      if (!saved.isValid() || !(FontFromSpec(spec) == shown)) FontToSpec(shown, spec);
      line.Font = spec;
      cols[std::size_t(c)].push_back(std::move(line));
    }
  }
  SetHeaderFooterLines(hf, cols);
  hf.MirrorPosition = (header ? chkHeaderMirror_ : chkFooterMirror_)->isChecked();
  const auto& frame = header ? headerFrame_ : footerFrame_;
  hf.FrameKinds = uint8_t((frame[0]->isChecked() ? 1 : 0) | (frame[1]->isChecked() ? 2 : 0) |
                          (frame[2]->isChecked() ? 4 : 0));
  hf.LineColor = (header ? btnHeaderLineColor_ : btnFooterLineColor_)->Color();
  hf.ShadedColor = (header ? btnHeaderShadowColor_ : btnFooterShadowColor_)->Color();
}

void TfrmOptions::FillMarginBoxes() {
  const double values[10] = {
      print_.Left,   print_.Right,  print_.Top,        print_.Bottom,       print_.Gutter,
      print_.Header, print_.Footer, print_.HFInternal, print_.HFLeftIndent, print_.HFRightIndent};
  const char sep = DecimalSeparator();
  for (int i = 0; i < 10; ++i)
    margins_[std::size_t(i)]->setText(Latin(DecimalText(values[i], sep)));
}

void TfrmOptions::MarginUnitChanged(int unit) {
  // Values typed and not applied are replaced by the converted copy.
  print_.SetUnit(TMarginUnit(unit));
  const bool was = loading_;
  loading_ = true;
  FillMarginBoxes();
  loading_ = was;
  UpdatePageSample();
  Modificado();
}

bool TfrmOptions::ReadMargins(TPrintSettings& into, bool report) {
  double* fields[10] = {&into.Left,         &into.Right,        &into.Top,    &into.Bottom,
                        &into.Gutter,       &into.Header,       &into.Footer, &into.HFInternal,
                        &into.HFLeftIndent, &into.HFRightIndent};
  const char sep = DecimalSeparator();
  for (int i = 0; i < 10; ++i) {
    const std::string text = LatinBytes(margins_[std::size_t(i)]->text());
    const std::optional<double> v = ParseDecimalText(text, sep);
    if (!v) {
      if (report) {
        MessageDlgDef(FormatStr(Str(TStr::strMsgInvalidValue),
                                {text, LatinBytes(CaptionOfLabelFor(margins_[std::size_t(i)]))}),
                      TMsgDlgType::Warning, {TMsgDlgBtn::OK});
        FocusControl(margins_[std::size_t(i)]);
      }
      return false;
    }
    *fields[i] = *v;
  }
  into.Unit = TMarginUnit(std::clamp(cbxMarginUnits_->currentIndex(), 0, 3));
  const double width = into.ToMillimeters(into.Left) + into.ToMillimeters(into.Right) +
                       into.ToMillimeters(into.Gutter);
  const double height = into.ToMillimeters(into.Top) + into.ToMillimeters(into.Bottom);
  if (width >= kPaperWidthMm || height >= kPaperHeightMm) {
    if (report) {
      MessageDlgDef(Str(TStr::strMsgMarginsTooLarge), TMsgDlgType::Warning, {TMsgDlgBtn::OK});
      FocusControl(margins_[width >= kPaperWidthMm ? 0 : 2]);
    }
    return false;
  }
  return true;
}

// --- change tracking and input rules ----------------------------------------------------

void TfrmOptions::Modificado() {
  if (!loading_ && !refreshing_) btnApply_->setEnabled(true);
}

bool TfrmOptions::ApplyEnabled() const { return btnApply_->isEnabled(); }

void TfrmOptions::WatchChanges() {
  for (QCheckBox* c : findChildren<QCheckBox*>()) {
    // The Color page's boxes edit the copy; their handlers report the change themselves.
    if (c->parentWidget() == grpTextAttributes_ || c == chkForeground_ || c == chkBackground_)
      continue;
    connect(c, &QCheckBox::toggled, this, &TfrmOptions::Modificado);
  }
  for (QRadioButton* r : runWith_)
    connect(r, &QRadioButton::toggled, this, &TfrmOptions::Modificado);
  for (QComboBox* c : findChildren<QComboBox*>()) {
    connect(c, &QComboBox::currentIndexChanged, this, &TfrmOptions::Modificado);
    if (c->isEditable()) {
      connect(c, &QComboBox::editTextChanged, this, &TfrmOptions::Modificado);
      const TOptionBinding* b = FindBinding(LatinBytes(c->objectName()));
      if (b && FilterOf(b->Kind) != TInputFilter::None) {
        // The list keeps the focus and hands keys and focus changes to its text box by a
        // direct call that passes that box's filters by, so the list itself is watched too.
        for (QWidget* w : {static_cast<QWidget*>(c), static_cast<QWidget*>(c->lineEdit())}) {
          w->setProperty(kFilter, int(FilterOf(b->Kind)));
          w->installEventFilter(this);
        }
      }
    }
  }
  for (QLineEdit* e : margins_) {
    e->installEventFilter(this);
    connect(e, &QLineEdit::textEdited, this, &TfrmOptions::Modificado);
  }
  for (QTextEdit* e : rchHeader_)
    connect(e, &QTextEdit::textChanged, this, &TfrmOptions::Modificado);
  for (QTextEdit* e : rchFooter_)
    connect(e, &QTextEdit::textChanged, this, &TfrmOptions::Modificado);
  for (TColorButton* b : findChildren<TColorButton*>())
    connect(b, &TColorButton::ColorChosen, this, &TfrmOptions::Modificado);
  connect(trackBar_, &QSlider::valueChanged, this, &TfrmOptions::Modificado);
  connect(static_cast<QCheckBox*>(Control("chkScrollPastEOL")), &QCheckBox::toggled, this,
          &TfrmOptions::UpdateMaintainCaret);
  connect(cbxFont_, &QComboBox::currentTextChanged, this, &TfrmOptions::UpdateFontSample);
  connect(cbxSize_, &QComboBox::editTextChanged, this, &TfrmOptions::UpdateFontSample);
}

bool TfrmOptions::eventFilter(QObject* watched, QEvent* e) {
  // The viewport is compared as remembered: events also come while the editor is destroyed,
  // when asking it for its viewport is no longer allowed.
  if (watched == sampleViewport_ && e->type() == QEvent::MouseButtonRelease) {
    QTimer::singleShot(0, this, &TfrmOptions::SampleClicked);
    return false;
  }
  if (watched == sampleViewport_ && e->type() == QEvent::MouseButtonDblClick) {
    ChooseSwatchColor(swatchFG_->Selected() && swatchFG_->isEnabled());
    return true;
  }
  if (auto* rch = qobject_cast<QTextEdit*>(watched); rch && e->type() == QEvent::FocusIn) {
    currentHF_ = rch;
    return false;
  }
  const QVariant filter = watched->property(kFilter);
  if (filter.isValid() && e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    const QString text = k->text();
    if (!text.isEmpty()) {
      const bool ctrl = k->modifiers() & Qt::ControlModifier;
      const char32_t sep = char32_t(DecimalSeparator());
      for (QChar ch : text)
        if (!AcceptsTyped(TInputFilter(filter.toInt()), ch.unicode(), sep, ctrl)) return true;
    }
  }
  if (filter.isValid() && e->type() == QEvent::FocusOut) RefillFromStore(watched);
  return QDialog::eventFilter(watched, e);
}

void TfrmOptions::RefillFromStore(QObject* box) {
  if (auto* edit = qobject_cast<QLineEdit*>(box); edit && edit->text().isEmpty()) {
    for (int i = 0; i < 10; ++i) {
      if (margins_[std::size_t(i)] != edit) continue;
      // The stored margin, in the unit shown now.
      const double v =
          ConvertMargin(ReadFloat(kMarginSettings[i]),
                        TMarginUnit(std::clamp(int(ReadInteger(sidMarginUnits)), 0, 3)),
                        TMarginUnit(std::clamp(cbxMarginUnits_->currentIndex(), 0, 3)));
      edit->setText(Latin(DecimalText(v, DecimalSeparator())));
      return;
    }
    // A list's own text box: the list is refilled.
    box = edit->parent();
  }
  auto* list = qobject_cast<QComboBox*>(box);
  if (!list || !list->currentText().isEmpty()) return;
  if (const TOptionBinding* b = FindBinding(LatinBytes(list->objectName())))
    list->setEditText(Latin(ReadBindingText(Store(), *b)));
}

void TfrmOptions::RefillEmptyBoxes() {
  for (QLineEdit* e : margins_) RefillFromStore(e);
  for (const TOptionBinding& b : OptionBindings())
    if (FilterOf(b.Kind) != TInputFilter::None)
      RefillFromStore(Control(std::string(b.Control).c_str()));
}

void TfrmOptions::UpdateMaintainCaret() {
  Control("chkMaintainCaretCol")
      ->setEnabled(!static_cast<QCheckBox*>(Control("chkScrollPastEOL"))->isChecked());
}

void TfrmOptions::UpdatePriorityLabel() {
  lblSelectedPriority_->setText(
      LanguageText(Str(TStr(int(TStr::PriorityIdle) + std::clamp(trackBar_->value(), 0, 6)))));
}

void TfrmOptions::SetFontSampleText(const QString& text) { lblFontDisplay_->setText(text); }

void TfrmOptions::UpdateFontSample() {
  TFontSpec f;
  f.Name = LatinBytes(cbxFont_->currentText());
  bool ok = false;
  const int size = cbxSize_->currentText().toInt(&ok);
  if (!ok || size < 1 || size > 200) return;
  f.Size = size;
  lblFontDisplay_->setFont(ToQFont(f));
}

void TfrmOptions::FocusControl(QWidget* w) {
  // Show every page on the way to the control, then give it the focus.
  for (QWidget* p = w; p; p = p->parentWidget()) {
    int index = -1;
    if (auto* stack = qobject_cast<QStackedWidget*>(p->parentWidget()))
      if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
        if ((index = tabs->indexOf(p)) >= 0) tabs->setCurrentIndex(index);
  }
  w->setFocus();
  if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit()) c->lineEdit()->selectAll();
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->selectAll();
}

// --- apply ------------------------------------------------------------------------------

bool TfrmOptions::CheckValues() {
  for (const TOptionBinding& b : OptionBindings()) {
    const TValueCheck check = CheckBindingText(b, ControlText(b));
    if (check) continue;
    QWidget* w = Control(std::string(b.Control).c_str());
    MessageDlgDef(
        FormatStr(Str(TStr::strMsgInvalidValue), {check.Field, LatinBytes(CaptionOfLabelFor(w))}),
        TMsgDlgType::Warning, {TMsgDlgBtn::OK});
    FocusControl(w);
    return false;
  }
  TPrintSettings probe = print_;
  return ReadMargins(probe, true);
}

bool TfrmOptions::ConfirmCharsetChange() {
  if (ControlText(*FindBinding("chkANSIText")) == initialAnsi_ || !host_.AnyEditorCanUndo())
    return true;
  return MessageDlgDef(Str(TStr::strMsgCharsetClearsUndo), TMsgDlgType::Confirmation,
                       {TMsgDlgBtn::Yes, TMsgDlgBtn::No}, {TMsgDlgBtn::No}) == TModalResult::Yes;
}

bool TfrmOptions::Apply() {
  // OK or Enter pressed in a box the user emptied: the box was never left, so refill it now.
  RefillEmptyBoxes();
  if (!CheckValues() || !ConfirmCharsetChange()) return false;
  TSettingsStore& store = Store();
  // 1, 2, 6, 7: every control bound to a setting, in the table's order.
  for (const TOptionBinding& b : OptionBindings()) WriteBindingText(store, b, ControlText(b));
  store.WriteString(sidGutterFont, FontToText(gutterFont_));
  initialAnsi_ = ControlText(*FindBinding("chkANSIText"));
  storedGuideText_ = store.ReadString(sidVerticalLineColumn);
  host_.ApplyTheme(cbxTheme_->currentText());
  // 3.
  TSynFortranSyn::TAttributes attrs;
  for (int i = 0; i < FortranAttributeCount; ++i) attrs[std::size_t(i)] = elements_[std::size_t(i)];
  host_.Highlighter().SetAttributes(attrs);
  host_.Highlighter().SetIgnoredAttribute(elements_[IgnoredElement]);
  host_.SetUserErrorLine(elements_[ErrorLineElement]);
  // 4, 5.
  ReadMargins(print_, false);
  QCheckBox* const* f = printFlags_.data();
  print_.MirrorMargins = f[0]->isChecked();
  print_.LineNumbers = f[1]->isChecked();
  print_.LineNumbersInMargin = f[2]->isChecked();
  print_.SyntaxPrint = f[3]->isChecked();
  print_.UseColors = f[4]->isChecked();
  print_.WrapLines = f[5]->isChecked();
  SaveHeaderFooter(print_.PageHeader, true);
  SaveHeaderFooter(print_.PageFooter, false);
  host_.PrintSettings() = print_;
  // 8.
  host_.ApplySettingsToEditors();
  // 9.
  btnApply_->setEnabled(false);
  // 10.
  PushHistories();
  // 11.
  host_.PrintSettingsChanged();
  return true;
}

void TfrmOptions::PushHistories() {
  const bool was = loading_;
  loading_ = true;
  for (const TOptionBinding& b : OptionBindings()) {
    if (b.History < 0) continue;
    auto* c = static_cast<QComboBox*>(Control(std::string(b.Control).c_str()));
    const std::string text = LatinBytes(c->currentText());
    std::vector<std::string> items;
    for (int i = 0; i < c->count(); ++i) items.push_back(LatinBytes(c->itemText(i)));
    AddToHistory(items, text);
    const QSignalBlocker block(c);
    c->clear();
    for (const std::string& item : items) c->addItem(Latin(item));
    if (c->count() > 0) c->setCurrentIndex(0);
    // The oldest entries give way rather than the whole history going unsaved.
    Store().WriteObject(b.History, HistoryThatFits(items, MaxObjectSize));
  }
  loading_ = was;
}

// --- Color page -------------------------------------------------------------------------

void TfrmOptions::SelectElement(int element) { lstElements_->setCurrentRow(element); }

void TfrmOptions::SelectSwatch(TColorSwatch* s) {
  if (!s->isEnabled()) return;
  swatchFG_->SetSelected(s == swatchFG_);
  swatchBG_->SetSelected(s == swatchBG_);
}

void TfrmOptions::RefreshColorPage() {
  refreshing_ = true;
  const bool errorLine = currentElement_ == ErrorLineElement;
  const bool space = currentElement_ == faSpace;
  grpTextAttributes_->setEnabled(!errorLine && !space);
  chkForeground_->setEnabled(!space);
  chkBackground_->setEnabled(true);
  swatchFG_->setEnabled(chkForeground_->isEnabled());
  if (!swatchFG_->isEnabled()) SelectSwatch(swatchBG_);
  const THighlightAttribute& a = CurrentAttribute();
  chkForeground_->setChecked(!a.Foreground);
  chkBackground_->setChecked(!a.Background);
  swatchFG_->SetColor(a.Foreground);
  swatchBG_->SetColor(a.Background);
  chkBold_->setChecked(a.Bold);
  chkItalic_->setChecked(a.Italic);
  chkUnderline_->setChecked(a.Underline);
  if (errorLine) UpdateSample();
  refreshing_ = false;
}

void TfrmOptions::SwatchColorChanged() {
  if (refreshing_) return;
  THighlightAttribute& a = CurrentAttribute();
  if (swatchFG_->Color() && swatchFG_->isEnabled()) a.Foreground = swatchFG_->Color();
  if (swatchBG_->Color()) a.Background = swatchBG_->Color();
  UpdateSample();
  Modificado();
  RefreshColorPage();
}

void TfrmOptions::ChooseSwatchColor(bool foreground) {
  TColorSwatch* s = foreground && swatchFG_->isEnabled() ? swatchFG_ : swatchBG_;
  TColor c = s->Color().value_or(0);
  if (!Prompts() || !Prompts()->ColorDialog(c)) return;
  s->SetColor(c);
  SwatchColorChanged();
}

void TfrmOptions::UpdateSample() {
  TSynFortranSyn::TAttributes attrs;
  for (int i = 0; i < FortranAttributeCount; ++i) attrs[std::size_t(i)] = elements_[std::size_t(i)];
  highlighter_->SetAttributes(attrs);
  highlighter_->SetIgnoredAttribute(elements_[IgnoredElement]);
  if (!sampleEditor_) return;
  const THighlightAttribute& e = elements_[ErrorLineElement];
  const THighlightAttribute d = host_.DefaultErrorLine();
  const TColor fore = e.Foreground.value_or(d.Foreground.value_or(0x00FFFFFF));
  const TColor back = e.Background.value_or(d.Background.value_or(0x00000080));
  sampleEditor_->SetSpecialLines({errorLineNumber_}, ToQColor(fore), ToQColor(back));
}

int TfrmOptions::ElementAt(int line, int column) const {
  if (line == errorLineNumber_) return ErrorLineElement;
  TSynFortranSyn& h = *highlighter_;
  h.ResetRange();
  int element = faSpace;
  for (int l = 1; l <= line; ++l) {
    const std::string text = sampleEditor_->LineBytes(l);
    h.SetLine(text, l - 1);
    while (!h.GetEol()) {
      if (l == line && column - 1 >= h.GetTokenPos() &&
          column - 1 < h.GetTokenPos() + h.GetTokenLen()) {
        const int index = TSynFortranSyn::AttributeIndexOf(h.GetTokenKind());
        element = index < 0 ? int(faSpace) : index;
      }
      h.Next();
    }
  }
  if (column - 1 >= TFixedFormLine::kLastColumn &&
      TFixedFormLine::Of(sampleEditor_->LineBytes(line)).IsCode())
    return IgnoredElement;
  return element;
}

void TfrmOptions::SampleClicked() {
  if (!sampleEditor_) return;
  SelectElement(ElementAt(sampleEditor_->CaretLine(), sampleEditor_->CaretColumn()));
}

// --- Header/Footer and Page Sample ------------------------------------------------------

void TfrmOptions::RunHeaderFooterCommand(QTextEdit* editor, const char* action) {
  currentHF_ = editor;
  const std::string name(action);
  if (name == "actLineAttributes") {
    LineAttributes(editor);
    return;
  }
  for (const char* m : kMacros) {
    if (name == std::string("act") + m) {
      editor->textCursor().insertText(QStringLiteral("$%1$").arg(QLatin1String(m)));
      return;
    }
  }
}

void TfrmOptions::LineAttributes(QTextEdit* editor) {
  QTextCursor cur = editor->textCursor();
  const bool header = std::find(rchHeader_.begin(), rchHeader_.end(), editor) != rchHeader_.end();
  TFontSpec spec = (header ? print_.PageHeader : print_.PageFooter).DefaultFont;
  if (cur.hasSelection()) {
    QTextCursor start(editor->document());
    start.setPosition(cur.selectionStart() + 1);
    FontToSpec(start.charFormat().font(), spec);
  }
  if (!Prompts() || !Prompts()->FontDialog(spec)) return;
  const int anchor = cur.anchor(), position = cur.position();
  QTextCursor line(editor->document()->findBlock(cur.selectionStart()));
  line.movePosition(QTextCursor::StartOfBlock);
  line.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  QTextCharFormat fmt;
  fmt.setFont(FontFromSpec(spec));
  line.mergeCharFormat(fmt);
  line.mergeBlockCharFormat(fmt);
  // The line's font is now the user's: forget the stored one.
  const int index = line.block().blockNumber();
  if (index < editor->property("fontCount").toInt())
    editor->setProperty(("font" + std::to_string(index)).c_str(), Latin(FontToText(spec)));
  cur.setPosition(anchor);
  cur.setPosition(position, QTextCursor::KeepAnchor);
  editor->setTextCursor(cur);
  Modificado();
}

void TfrmOptions::UpdatePageSample() {
  TPrintSettings shown = print_;
  ReadMargins(shown, false);
  pageSample_->SetSettings(shown, kPaperWidthMm, kPaperHeightMm);
}

// --- language ---------------------------------------------------------------------------

void TfrmOptions::TranslateChildren(const TParlaxItem& block, QObject* owner) {
  for (QObject* child : owner->children()) {
    const QVariant key = child->property(kLangKey);
    if (!key.isValid() || key.toString().isEmpty()) {
      if (child->isWidgetType() || qobject_cast<QMenu*>(child)) TranslateChildren(block, child);
      continue;
    }
    const TParlaxItem& item = Block(block, LatinBytes(key.toString()));
    const QString words = child->property(kLangWords).isValid()
                              ? child->property(kLangWords).toString()
                              : QStringLiteral("Caption,Hint");
    for (const QString& w : words.split(QLatin1Char(',')))
      ApplyProperty(item, LatinBytes(w), child);
    TranslateChildren(item, child);
  }
}

void TfrmOptions::ApplyLanguage(TParlax& language) {
  const TParlaxItem& form = FormBlock(language, "Options");
  ApplyProperties(form, {"Caption", "Hint"}, this);
  const int caret[2] = {static_cast<QComboBox*>(Control("cbxInsertCaret"))->currentIndex(),
                        static_cast<QComboBox*>(Control("cbxOverwriteCaret"))->currentIndex()};
  const int element = currentElement_;
  const bool was = loading_;
  loading_ = true;
  TranslateChildren(form, this);
  // The context menu's actions are the form's own blocks.
  for (QAction* a : popHeaderFooter_->actions())
    if (!a->isSeparator())
      ApplyProperties(Block(form, LatinBytes(a->property(kLangKey).toString())),
                      {"Caption", "Hint", "Shortcut"}, a);
  const TParlaxItem& sample = Block(Block(Block(form, "Tab:Editor"), "Tab:Color"), "Edit:Sample");
  int errorLine = errorLineNumber_;
  if (sample.GetInteger("ErrorLine", errorLine)) errorLineNumber_ = errorLine;
  static_cast<QComboBox*>(Control("cbxInsertCaret"))->setCurrentIndex(std::max(0, caret[0]));
  static_cast<QComboBox*>(Control("cbxOverwriteCaret"))->setCurrentIndex(std::max(0, caret[1]));
  if (lstElements_->count() > element) lstElements_->setCurrentRow(element);
  swatchFG_->SetText(LanguageText(Str(TStr::ColorFG)));
  swatchBG_->SetText(LanguageText(Str(TStr::ColorBG)));
  const char* ends[][2] = {
      {"lblIdle", nullptr}, {"lblNormal", nullptr}, {"lblTimeCritical", nullptr}};
  const TStr names[] = {TStr::PriorityIdle, TStr::PriorityNormal, TStr::PriorityTimeCritical};
  for (int i = 0; i < 3; ++i)
    static_cast<QLabel*>(Control(ends[i][0]))->setText(LanguageText(Str(names[i])));
  UpdatePriorityLabel();
  UpdateSample();
  // No text of the parameter lists stays selected after the captions moved them.
  for (const char* name : {"cbxCompilerOptions", "cbxCompilerLibraries", "cbxAnalyzerParameters",
                           "cbxDebuggerParameters"})
    if (auto* c = qobject_cast<QComboBox*>(Control(name)); c && c->lineEdit())
      c->lineEdit()->deselect();
  loading_ = was;
}

void TfrmOptions::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  for (const char* name : {"cbxCompilerOptions", "cbxCompilerLibraries", "cbxAnalyzerParameters",
                           "cbxDebuggerParameters"})
    if (auto* c = qobject_cast<QComboBox*>(Control(name)); c && c->lineEdit())
      c->lineEdit()->deselect();
}

}  // namespace vortan
