#include "shell/aboutbox.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QUrl>
#include <QWheelEvent>

#include "i18n/parlax.h"
#include "i18n/ui/translator.h"
#include "platform/platform.h"
#include "shell/splash.h"
#include "system/product.h"

namespace vortan {

namespace {
constexpr int kWidth = 400;
constexpr int kHeight = 260;
constexpr int kPictureHeight = 104;
constexpr int kAreaWidth = 391;
constexpr int kAreaHeight = 96;
constexpr int kTextWidth = 369;
constexpr int kPageStep = 94;
constexpr int kLineStep = 10;

QString CreditsText(int languageId) {
  const QString head = QStringLiteral("<b>%1</b> %2<br>")
                           .arg(QLatin1String(ApplicationTitle), QLatin1String(ProductVersion));
  if (platform::IsBrazilianPortuguese(languageId))
    return head +
           QStringLiteral(
               "Ambiente de desenvolvimento para FORTRAN 77.<br><br>"
               "Edite, analise, compile, execute e depure programas FORTRAN 77 num s\u00f3 lugar, "
               "com o analisador ftnchek, o compilador GNU Fortran e o depurador GDB.<br><br>"
               "<b>Agradecimentos</b><br>"
               "Aos autores do ftnchek, do GNU Fortran e do GDB, cujas ferramentas fazem o "
               "trabalho "
               "pesado; aos tradutores, que levam o Vortan a outras l\u00ednguas; e a todos que "
               "enviaram sugest\u00f5es e relatos de erros.<br><br>"
               "Este programa \u00e9 software livre. Use, estude, compartilhe e melhore.");
  return head +
         QStringLiteral(
             "A development environment for FORTRAN 77.<br><br>"
             "Edit, analyze, compile, run and debug FORTRAN 77 programs in one place, with the "
             "ftnchek analyzer, the GNU Fortran compiler and the GDB debugger.<br><br>"
             "<b>Thanks</b><br>"
             "To the authors of ftnchek, GNU Fortran and GDB, whose tools do the heavy lifting; to "
             "the "
             "translators, who carry Vortan into other languages; and to everyone who sent ideas "
             "and "
             "bug reports.<br><br>"
             "This program is free software. Use it, study it, share it and improve it.");
}

QString TemplateText(const char* block, const char* key, const char* fallback) {
  std::string text = fallback;
  if (const TParlaxItem* about =
          MainLanguage().Active ? MainLanguage().Root().FindChild("OBJECTS") : nullptr) {
    if (const TParlaxItem* form = about->FindChild("Form:About")) {
      const TParlaxItem* item = *block ? form->FindChild(block) : form;
      if (item) item->GetString(key, text);
    }
  }
  return LanguageText(text);
}
}  // namespace

TfrmAbout::TfrmAbout(int userLanguageId, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmAbout"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(kWidth, kHeight);
  setWindowTitle(TemplateText("", "Caption", "About Vortan"));

  {
    // The picture is the splash window's own, so the two always match.
    TfrmSplash splash(userLanguageId);
    splash.setAttribute(Qt::WA_DeleteOnClose, false);
    picture_ = splash.grab(QRect(0, 0, kWidth, kPictureHeight));
  }

  frame_ = new QFrame(this);
  frame_->setObjectName(QStringLiteral("pnlCredits"));
  frame_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  frame_->setGeometry((kWidth - kAreaWidth) / 2, kPictureHeight + 4, kAreaWidth, kAreaHeight);
  frame_->setAutoFillBackground(true);
  frame_->installEventFilter(this);

  auto* viewport = new QWidget(frame_);
  viewport->setGeometry(2, 2, kAreaWidth - 4, kAreaHeight - 4);
  viewport->installEventFilter(this);

  credits_ = new QLabel(viewport);
  credits_->setObjectName(QStringLiteral("lblCredits"));
  credits_->setWordWrap(true);
  credits_->setTextFormat(Qt::RichText);
  credits_->setText(CreditsText(userLanguageId));
  credits_->setFixedWidth(kTextWidth);
  credits_->setFixedHeight(credits_->heightForWidth(kTextWidth));
  credits_->move(4, 0);
  credits_->installEventFilter(this);

  scroll_ = new QScrollBar(Qt::Vertical, frame_);
  scroll_->setObjectName(QStringLiteral("sbrCredits"));
  const int scrollWidth = kAreaWidth - 4 - kTextWidth - 4;
  scroll_->setGeometry(kAreaWidth - 2 - scrollWidth, 2, scrollWidth, kAreaHeight - 4);
  const int visible = kAreaHeight - 4;
  const int overflow = credits_->height() - visible;
  scroll_->setRange(0, std::max(0, overflow));
  scroll_->setPageStep(kPageStep);
  scroll_->setSingleStep(kLineStep);
  scroll_->setVisible(overflow > 0);
  scroll_->installEventFilter(this);
  connect(scroll_, &QScrollBar::valueChanged, this, &TfrmAbout::ScrollTo);

  auto* link = new QLabel(this);
  link->setObjectName(QStringLiteral("lblWebsite"));
  const QString site = QString::fromLatin1(ProjectWebsite);
  link->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(site));
  link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
  link->setOpenExternalLinks(false);
  connect(link, &QLabel::linkActivated, this,
          [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });
  link->setGeometry(frame_->x() + 2, kHeight - 36, 260, 24);

  btnOK_ = new QPushButton(TemplateText("Button:OK", "Caption", "OK"), this);
  btnOK_->setObjectName(QStringLiteral("btnOK"));
  btnOK_->setDefault(true);
  btnOK_->setGeometry(kWidth - 8 - 80, kHeight - 38, 80, 28);
  connect(btnOK_, &QPushButton::clicked, this, &QDialog::accept);

  AttachLanguageHandler(this, [this](TParlax& language) {
    const TParlaxItem& form = FormBlock(language, "About");
    ApplyProperties(form, {"Caption", "Hint"}, this);
    ApplyTo(form, "Button:OK", btnOK_);
  });
  Translate(MainLanguage(), this);

  const QScreen* screen = parent ? parent->screen() : QApplication::primaryScreen();
  if (screen) move(screen->availableGeometry().center() - QPoint(kWidth / 2, kHeight / 2));
}

void TfrmAbout::ScrollTo(int value) { credits_->move(credits_->x(), -value); }

void TfrmAbout::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().window());
  p.drawPixmap(0, 0, picture_);
  p.setPen(palette().color(QPalette::Dark));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TfrmAbout::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) {
    dragging_ = true;
    dragOffset_ = e->globalPosition().toPoint() - frameGeometry().topLeft();
  }
  QDialog::mousePressEvent(e);
}

void TfrmAbout::mouseMoveEvent(QMouseEvent* e) {
  if (dragging_ && (e->buttons() & Qt::LeftButton))
    move(e->globalPosition().toPoint() - dragOffset_);
  QDialog::mouseMoveEvent(e);
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::Wheel) {
    const auto* w = static_cast<QWheelEvent*>(e);
    const int notches = w->angleDelta().y() / 120;
    if (notches != 0) scroll_->setValue(scroll_->value() - notches * kLineStep);
    return true;
  }
  return QDialog::eventFilter(watched, e);
}

}  // namespace vortan
