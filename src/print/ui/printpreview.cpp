#include "print/ui/printpreview.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "config/storedformats.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "i18n/ui/translator.h"
#include "print/ui/previewpane.h"
#include "print/ui/printengine.h"
#include "print/zoomsteps.h"
#include "system/promptservice.h"
#include "widgets/qtconvert.h"

namespace vortan {

namespace {

Qt::ToolBarArea AreaOf(const std::string& dock) {
  if (dock == "BottomDock") return Qt::BottomToolBarArea;
  if (dock == "LeftDock") return Qt::LeftToolBarArea;
  if (dock == "RightDock") return Qt::RightToolBarArea;
  return Qt::TopToolBarArea;
}

std::string DockOf(Qt::ToolBarArea area) {
  switch (area) {
    case Qt::BottomToolBarArea:
      return "BottomDock";
    case Qt::LeftToolBarArea:
      return "LeftDock";
    case Qt::RightToolBarArea:
      return "RightDock";
    default:
      return "TopDock";
  }
}

const char* const DefaultBar = "1,TopDock,TopDock,0,0,0,0,0,0";

}  // namespace

TfrmPrintPreview::TfrmPrintPreview(TPrintEngine& engine, TPreviewCommands commands, QWidget* parent)
    : QMainWindow(parent), engine_(engine), commands_(std::move(commands)) {
  setObjectName(QStringLiteral("frmPrintPreview"));
  setWindowFlag(Qt::FramelessWindowHint);
  setWindowModality(Qt::ApplicationModal);
  setAttribute(Qt::WA_DeleteOnClose, false);

  auto action = [this](const char* name, auto slot) {
    auto* a = new QAction(this);
    a->setObjectName(QString::fromLatin1(name));
    if (commands_.Icon) a->setIcon(commands_.Icon(name));
    connect(a, &QAction::triggered, this, slot);
    addAction(a);
    actions_[name] = a;
    return a;
  };
  action("actFirst", [this] { ShowPage(1); });
  action("actPrevious", [this] { ShowPage(pane_->Page() - 1); });
  action("actNext", [this] { ShowPage(pane_->Page() + 1); });
  action("actLast", [this] { ShowPage(engine_.PageCount()); });
  action("actZoomIn", [this] { ZoomIn(); });
  action("actZoomOut", [this] { ZoomOut(); });
  action("actClose", [this] { close(); });

  toolBar_ = new QToolBar(this);
  toolBar_->setObjectName(QStringLiteral("tbrPrintPreview"));
  toolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  auto withText = [this](QAction* a) {
    toolBar_->addAction(a);
    if (auto* b = qobject_cast<QToolButton*>(toolBar_->widgetForAction(a)))
      b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  };
  auto iconOnly = [this](QAction* a) {
    toolBar_->addAction(a);
    if (auto* b = qobject_cast<QToolButton*>(toolBar_->widgetForAction(a)))
      b->setToolButtonStyle(a->icon().isNull() ? Qt::ToolButtonTextOnly : Qt::ToolButtonIconOnly);
  };
  auto gap = [this] {
    auto* w = new QWidget(toolBar_);
    w->setFixedWidth(6);
    toolBar_->addWidget(w);
  };
  if (commands_.Print) withText(commands_.Print);
  if (commands_.PageSetup) iconOnly(commands_.PageSetup);
  if (commands_.PrintOptions) iconOnly(commands_.PrintOptions);
  toolBar_->addSeparator();
  iconOnly(actions_["actFirst"]);
  iconOnly(actions_["actPrevious"]);
  gap();
  lblPage_ = new QLabel(toolBar_);
  lblPage_->setObjectName(QStringLiteral("lblPage"));
  toolBar_->addWidget(lblPage_);
  gap();
  edtPage_ = new QLineEdit(QStringLiteral("1"), toolBar_);
  edtPage_->setObjectName(QStringLiteral("edtPage"));
  edtPage_->setFixedWidth(29);
  edtPage_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), edtPage_));
  connect(edtPage_, &QLineEdit::returnPressed, this, [this] { PageEntered(); });
  toolBar_->addWidget(edtPage_);
  gap();
  lblOf_ = new QLabel(toolBar_);
  lblOf_->setObjectName(QStringLiteral("lblOf"));
  toolBar_->addWidget(lblOf_);
  gap();
  lblTotal_ = new QLabel(QStringLiteral("1"), toolBar_);
  lblTotal_->setObjectName(QStringLiteral("lblTotal"));
  toolBar_->addWidget(lblTotal_);
  gap();
  iconOnly(actions_["actNext"]);
  iconOnly(actions_["actLast"]);
  toolBar_->addSeparator();
  iconOnly(actions_["actZoomIn"]);
  iconOnly(actions_["actZoomOut"]);
  gap();
  cbxZoom_ = new QComboBox(toolBar_);
  cbxZoom_->setObjectName(QStringLiteral("cbxZoom"));
  cbxZoom_->setEditable(true);
  cbxZoom_->setInsertPolicy(QComboBox::NoInsert);
  cbxZoom_->setFixedWidth(96);
  cbxZoom_->lineEdit()->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*%?")), cbxZoom_));
  connect(cbxZoom_->lineEdit(), &QLineEdit::returnPressed, this, [this] { ZoomEntered(); });
  connect(cbxZoom_, qOverload<int>(&QComboBox::activated), this, [this](int index) {
    if (index >= 0 && index < ZoomEntryCount) SetZoom(ZoomEntries[index]);
  });
  toolBar_->addWidget(cbxZoom_);
  toolBar_->addSeparator();
  withText(actions_["actClose"]);

  const TBarLayout bar = BarLayoutFromStored(ReadString(sidPrintPreviewToolbar), DefaultBar);
  addToolBar(AreaOf(bar.CurrentDock), toolBar_);
  toolBar_->setVisible(bar.Visible);

  pane_ = new TPreviewPane(engine_, this);
  scroll_ = new QScrollArea(this);
  scroll_->setObjectName(QStringLiteral("scrPreview"));
  scroll_->setAlignment(Qt::AlignCenter);
  scroll_->setBackgroundRole(QPalette::Dark);
  scroll_->setWidget(pane_);
  setCentralWidget(scroll_);
  connect(pane_, &TPreviewPane::PageChanged, this, [this](int page) {
    edtPage_->setText(QString::number(page));
    UpdateActions();
  });
  connect(pane_, &TPreviewPane::ZoomInRequested, this, [this] { ZoomIn(); });
  connect(pane_, &TPreviewPane::ZoomOutRequested, this, [this] { ZoomOut(); });

  ApplyLanguage(BuiltInLanguage());
  AttachLanguageHandler(this, [this](TParlax& l) { ApplyLanguage(l); });
  Translate(MainLanguage(), this);

  const int zoom = ReadInteger(sidZoom);
  if (!SetZoom(zoom)) {
    cbxZoom_->setCurrentIndex(-1);
    cbxZoom_->setEditText(QString::number(zoom) + "%");
  }
}

void TfrmPrintPreview::ApplyLanguage(TParlax& language) {
  const TParlaxItem& form = FormBlock(language, "PrintPreview");
  ApplyProperties(form, {"Caption", "Hint"}, this);
  for (const char* name : {"First", "Previous", "Next", "Last", "ZoomIn", "ZoomOut", "Close"}) {
    QAction* a = actions_.at(std::string("act") + name);
    ApplyTo(form, std::string("Action:") + name, a, {"Caption", "Hint", "Shortcut"});
  }
  const TParlaxItem& bar = Block(form, "Toolbar:PrintPreview");
  ApplyProperties(bar, {"Caption", "Hint"}, toolBar_);
  toolBar_->setWindowTitle(windowTitle());
  ApplyTo(bar, "Label:Page", lblPage_, {"Caption"});
  ApplyTo(bar, "Label:Of", lblOf_, {"Caption"});
  ApplyTo(bar, "Edit:Page", edtPage_, {"Hint"});
  const int selected = cbxZoom_->currentIndex();
  const QString typed = cbxZoom_->currentText();
  ApplyTo(bar, "ComboBox:Zoom", cbxZoom_, {"Strings", "Hint"});
  if (selected >= 0)
    cbxZoom_->setCurrentIndex(selected);
  else
    cbxZoom_->setEditText(typed);
  if (auto* more = toolBar_->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
    more->setToolTip(LanguageText(Str(TStr::strMoreButtons)));
}

void TfrmPrintPreview::Execute() {
  QEventLoop loop;
  connect(this, &TfrmPrintPreview::Closed, &loop, &QEventLoop::quit);
  showMaximized();
  loop.exec();
}

void TfrmPrintPreview::RefreshPreview() {
  if (!engine_.Layout())
    MessageDlgDef(Str(TStr::strMsgNoPrintableArea), TMsgDlgType::Error, {TMsgDlgBtn::OK});
  lblTotal_->setText(QString::number(std::max(1, engine_.PageCount())));
  pane_->Invalidate();
  ApplyScale();
  pane_->SetPage(pane_->Page());
}

void TfrmPrintPreview::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  RefreshPreview();
  ShowPage(1);
}

void TfrmPrintPreview::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (zoom_ < 0) ApplyScale();
}

void TfrmPrintPreview::ShowPage(int page) { pane_->SetPage(page); }

void TfrmPrintPreview::UpdateActions() {
  const int page = pane_->Page(), count = engine_.PageCount();
  actions_["actFirst"]->setEnabled(page > 1);
  actions_["actPrevious"]->setEnabled(page > 1);
  actions_["actNext"]->setEnabled(page < count);
  actions_["actLast"]->setEnabled(page < count);
}

void TfrmPrintPreview::ApplyScale() {
  const QSizeF page = engine_.PageSize();
  if (page.isEmpty()) return;
  const double dpi = screen() ? screen()->logicalDotsPerInchX() : 96.0;
  double scale;
  if (zoom_ > 0) {
    scale = zoom_ / 100.0 * dpi / engine_.Resolution();
  } else {
    const QSize view = scroll_->viewport()->size() - QSize(24, 24);
    const double byWidth = view.width() / page.width();
    scale = zoom_ == ZoomPageWidth ? byWidth : std::min(byWidth, view.height() / page.height());
  }
  pane_->SetScale(std::max(scale, 0.001));
}

int TfrmPrintPreview::CurrentPercent() const {
  const double dpi = screen() ? screen()->logicalDotsPerInchX() : 96.0;
  return static_cast<int>(pane_->Scale() * engine_.Resolution() / dpi * 100.0 + 0.5);
}

bool TfrmPrintPreview::SetZoom(int value) {
  if (value > 0 || value == ZoomPageWidth || value == ZoomFitToPage) {
    zoom_ = value;
    ApplyScale();
  }
  const int index = ZoomEntryIndex(value);
  if (index < 0) return false;
  cbxZoom_->setCurrentIndex(index);
  cbxZoom_->lineEdit()->setCursorPosition(0);  // long entries show their start in the narrow box
  return true;
}

int TfrmPrintPreview::CurrentZoom() const {
  const int index = cbxZoom_->currentIndex();
  if (index >= 0 && index < ZoomEntryCount && cbxZoom_->currentText() == cbxZoom_->itemText(index))
    return ZoomEntries[index];
  if (const auto n = LeadingNumber(cbxZoom_->currentText().toStdString())) return *n;
  return CurrentPercent();
}

void TfrmPrintPreview::StepZoom(int percent) {
  if (!SetZoom(percent)) {
    cbxZoom_->setCurrentIndex(-1);
    cbxZoom_->setEditText(QString::number(percent) + "%");
  }
}

void TfrmPrintPreview::ZoomIn() {
  int z = CurrentZoom();
  if (z < 0) z = CurrentPercent();
  if (ZoomInStep(z) != z) StepZoom(ZoomInStep(z));
}

void TfrmPrintPreview::ZoomOut() {
  int z = CurrentZoom();
  if (z < 0) z = CurrentPercent();
  if (ZoomOutStep(z) != z) StepZoom(ZoomOutStep(z));
}

void TfrmPrintPreview::PageEntered() {
  const auto n = LeadingNumber(edtPage_->text().toStdString());
  if (!n || edtPage_->text().toStdString() != std::to_string(*n)) {
    edtPage_->setText(QString::number(pane_->Page()));
    return;
  }
  ShowPage(*n);
  edtPage_->setText(QString::number(pane_->Page()));
}

void TfrmPrintPreview::ZoomEntered() {
  const std::string text = cbxZoom_->currentText().toStdString();
  const auto n = LeadingNumber(text);
  if (!n || *n <= 0) return;
  StepZoom(*n);
}

void TfrmPrintPreview::closeEvent(QCloseEvent* e) {
  TBarLayout bar = BarLayoutFromStored(ReadString(sidPrintPreviewToolbar), DefaultBar);
  bar.Visible = toolBar_->isVisible();
  bar.CurrentDock = bar.LastDock = DockOf(toolBarArea(toolBar_));
  WriteString(sidPrintPreviewToolbar, BarLayoutToText(bar));
  WriteInteger(sidZoom, CurrentZoom());
  QMainWindow::closeEvent(e);
  emit Closed();
}

}  // namespace vortan
