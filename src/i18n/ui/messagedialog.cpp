#include "i18n/ui/messagedialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <cmath>

#include "i18n/stringtable.h"
#include "i18n/ui/translator.h"

namespace vortan {

namespace {
constexpr int kMargin = 12;  // left position of the icon
constexpr int kIconSize = 32;
constexpr int kButtonHeight = 25;
constexpr int kCheckTaller = 12;  // the check box makes the dialog this much taller

const TStr kCaptions[MsgDlgBtnCount] = {
    TStr::MsgDlgYes,     TStr::MsgDlgNo,       TStr::MsgDlgOK,     TStr::MsgDlgCancel,
    TStr::MsgDlgAbort,   TStr::MsgDlgRetry,    TStr::MsgDlgIgnore, TStr::MsgDlgAll,
    TStr::MsgDlgNoToAll, TStr::MsgDlgYesToAll, TStr::MsgDlgHelp};

int RoundDiv(int a, int b) { return int(std::lround(double(a) / double(b))); }
}  // namespace

QString MessageDlgTitle(TMsgDlgType kind) {
  switch (kind) {
    case TMsgDlgType::Warning:
      return LanguageText(Str(TStr::MsgDlgWarning));
    case TMsgDlgType::Error:
      return LanguageText(Str(TStr::MsgDlgError));
    case TMsgDlgType::Information:
      return LanguageText(Str(TStr::MsgDlgInformation));
    case TMsgDlgType::Confirmation:
      return LanguageText(Str(TStr::MsgDlgConfirm));
    case TMsgDlgType::Custom:
      break;
  }
  return LanguageText(Str(TStr::MsgDlgCustom));
}

TMessageDlg::TMetrics TMessageDlg::MetricsFor(int margin) {
  TMetrics m{};
  m.Margin = margin;
  m.Unit = RoundDiv(margin * 4, 8);
  m.ButtonWidth = RoundDiv(50 * m.Unit, 4);
  m.Spacing = RoundDiv(4 * m.Unit, 4);
  return m;
}

TMessageDlg::TMessageDlg(const TMessageRequest& request, QWidget* parent)
    : QDialog(parent), request_(request) {
  setObjectName(QStringLiteral("MessageDlg"));
  setWindowTitle(MessageDlgTitle(request.Kind));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setModal(true);

  QStyle::StandardPixmap pix = QStyle::SP_MessageBoxInformation;
  bool hasIcon = true;
  switch (request.Kind) {
    case TMsgDlgType::Warning:
      pix = QStyle::SP_MessageBoxWarning;
      break;
    case TMsgDlgType::Error:
      pix = QStyle::SP_MessageBoxCritical;
      break;
    case TMsgDlgType::Information:
      pix = QStyle::SP_MessageBoxInformation;
      break;
    case TMsgDlgType::Confirmation:
      pix = QStyle::SP_MessageBoxQuestion;
      break;
    case TMsgDlgType::Custom:
      hasIcon = false;
      break;
  }
  if (hasIcon) {
    icon_ = new QLabel(this);
    icon_->setPixmap(style()->standardIcon(pix).pixmap(kIconSize, kIconSize));
  }
  // The request's text is UTF-8, made of decoded parts (language texts, file names).
  QString message = QString::fromUtf8(request.Text.data(), qsizetype(request.Text.size()));
  message.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text_ = new QLabel(message, this);
  text_->setTextFormat(Qt::PlainText);
  text_->setWordWrap(false);
  text_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  for (int i = 0; i < MsgDlgBtnCount; ++i) {
    auto kind = static_cast<TMsgDlgBtn>(i);
    if (!request.Buttons.Has(kind)) continue;
    auto* b = new QPushButton(LanguageText(Str(kCaptions[i])), this);
    b->setAutoDefault(false);
    connect(b, &QPushButton::clicked, this, [this, kind] { Finish(ResultOf(kind)); });
    buttons_[i] = b;
  }
  if (request.HasCheckBox) {
    check_ = new QCheckBox(LanguageText(Str(TStr::strDoNotShowThisMessageAgain)), this);
    check_->setChecked(request.Checked);
  }
  TMsgDlgButtons defaults = EffectiveDefaults(request.Buttons, request.Defaults);
  QPushButton* focus = nullptr;
  for (int i = 0; i < MsgDlgBtnCount; ++i) {
    if (!buttons_[i]) continue;
    bool isDefault = defaults.Has(static_cast<TMsgDlgBtn>(i));
    buttons_[i]->setDefault(isDefault);
    if (isDefault && !focus) focus = buttons_[i];
  }
  if (focus) focus->setFocus();
  LayOut();
}

bool TMessageDlg::Checked() const { return check_ && check_->isChecked(); }

void TMessageDlg::LayOut() {
  const TMetrics m = MetricsFor(kMargin);
  const QFontMetrics fm(font());
  int n = 0;
  int w = m.ButtonWidth;
  for (QPushButton* b : buttons_) {
    if (!b) continue;
    ++n;
    // The caption plus 8 pixels, and never less than the style needs to draw it unclipped.
    w = std::max({w, fm.horizontalAdvance(QString(b->text()).remove(QLatin1Char('&'))) + 8,
                  b->sizeHint().width()});
  }
  const int total = n * w + std::max(0, n - 1) * m.Spacing;

  const int textLeft = icon_ ? m.Margin + kIconSize + m.Margin : m.Margin;
  const QSize textSize = text_->sizeHint();
  if (icon_) icon_->setGeometry(m.Margin, m.Margin, kIconSize, kIconSize);
  const int contentHeight = std::max(icon_ ? kIconSize : 0, textSize.height());
  int clientWidth = std::max(textLeft + textSize.width() + m.Margin, 2 * m.Margin + 200);
  if (check_) clientWidth = std::max(clientWidth, 8 + check_->sizeHint().width() + m.Margin);
  clientWidth = std::max(clientWidth, total + 2 * m.Margin);
  text_->setGeometry(textLeft, m.Margin + std::max(0, (kIconSize - textSize.height()) / 2),
                     textSize.width(), textSize.height());

  const int buttonsTop = m.Margin + contentHeight + m.Margin + 4;
  int x = (clientWidth - total) / 2;
  for (QPushButton* b : buttons_) {
    if (!b) continue;
    b->setGeometry(x, buttonsTop, w, kButtonHeight);
    x += w + m.Spacing;
  }
  int clientHeight = buttonsTop + kButtonHeight + m.Margin;
  if (check_) {
    // 16 pixels high where the font allows; a taller font grows the dialog instead of clipping.
    const int h = std::max(16, check_->sizeHint().height());
    clientHeight += kCheckTaller + (h - 16);
    check_->setGeometry(8, clientHeight - 20 - (h - 16), clientWidth - 8, h);
  }
  setFixedSize(clientWidth, clientHeight);
}

void TMessageDlg::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (QScreen* s = screen()) {
    QRect r = s->availableGeometry();
    move(r.center() - QPoint(width() / 2, height() / 2));
  }
}

void TMessageDlg::Finish(TModalResult r) {
  if (finished_) return;
  finished_ = true;
  answer_ = r;
  done(r == TModalResult::Cancel ? QDialog::Rejected : QDialog::Accepted);
}

void TMessageDlg::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) {
    TModalResult r = EscapeResult(request_.Buttons);
    if (r != TModalResult::None) Finish(r);
    e->accept();
    return;
  }
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    if (auto* b = qobject_cast<QPushButton*>(focusWidget())) {
      b->click();
      e->accept();
      return;
    }
  }
  QDialog::keyPressEvent(e);
}

void TMessageDlg::closeEvent(QCloseEvent* e) {
  // Closing through the window frame answers Cancel.
  if (!finished_) {
    finished_ = true;
    answer_ = TModalResult::Cancel;
  }
  QDialog::closeEvent(e);
}

}  // namespace vortan
