#include "shell/splash.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QUrl>

#include "platform/platform.h"
#include "system/product.h"

namespace vortan {

namespace {
constexpr int kWidth = 400;
constexpr int kHeight = 200;
}  // namespace

TfrmSplash::TfrmSplash(int userLanguageId, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("frmSplash"));
  setWindowTitle(QStringLiteral("Vortan"));
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(kWidth, kHeight);

  status_ = new QLabel(this);
  status_->setGeometry(6, 120, kWidth - 12, 18);
  status_->setStyleSheet(QStringLiteral("color: #e8eef8;"));

  auto* notice = new QLabel(this);
  notice->setText(platform::IsBrazilianPortuguese(userLanguageId)
                      ? QStringLiteral("Software livre para FORTRAN 77")
                      : QStringLiteral("Free software for FORTRAN 77"));
  notice->setGeometry(6, kHeight - 22, 200, 16);
  notice->setStyleSheet(QStringLiteral("color: #c8d4e8; font-size: 8pt;"));

  auto* link = new QLabel(this);
  const QString site = QString::fromLatin1(ProjectWebsite);
  link->setText(QStringLiteral("<a style=\"color:#ffffff\" href=\"%1\">%1</a>").arg(site));
  link->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  link->setGeometry(kWidth - 206, kHeight - 22, 200, 16);
  link->setStyleSheet(QStringLiteral("font-size: 8pt;"));
  link->setOpenExternalLinks(true);

  timer_.setSingleShot(true);
  timer_.setInterval(1000);
  connect(&timer_, &QTimer::timeout, this, &QWidget::close);

  if (QScreen* s = QApplication::primaryScreen())
    move(s->availableGeometry().center() - QPoint(kWidth / 2, kHeight / 2));
}

void TfrmSplash::SetStatus(const QString& text) {
  status_->setText(text);
  status_->repaint();
}

QString TfrmSplash::Status() const { return status_->text(); }

void TfrmSplash::Arm() {
  armed_ = true;
  timer_.start();
}

void TfrmSplash::paintEvent(QPaintEvent*) {
  QPainter p(this);
  // The picture: a deep blue field with the product name, above a two-pixel accent strip.
  QLinearGradient g(0, 0, 0, kHeight - 2);
  g.setColorAt(0, QColor(0x1b, 0x3a, 0x6b));
  g.setColorAt(1, QColor(0x0b, 0x1a, 0x33));
  p.fillRect(0, 0, kWidth, kHeight - 2, g);
  p.setPen(QColor(255, 255, 255, 28));
  for (int x = 38; x < kWidth; x += 44) p.drawLine(x, 0, x, kHeight - 2);
  p.setPen(QColor(0xf0, 0xb4, 0x29, 140));
  p.drawLine(60, 0, 60, kHeight - 2);  // the column-6 guide line, the IDE's signature
  QFont f = font();
  f.setPointSize(30);
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRect(72, 28, kWidth - 80, 50), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Vortan 2.0"));
  f.setPointSize(10);
  f.setBold(false);
  p.setFont(f);
  p.setPen(QColor(0xc8, 0xd4, 0xe8));
  p.drawText(QRect(74, 78, kWidth - 80, 20), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("FORTRAN 77 development environment"));
  p.fillRect(0, kHeight - 2, kWidth, 2, QColor(0xf0, 0xb4, 0x29));
}

void TfrmSplash::mousePressEvent(QMouseEvent* e) {
  if (armed_) close();
  QWidget::mousePressEvent(e);
}

}  // namespace vortan
