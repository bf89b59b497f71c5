#include "print/ui/previewpane.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "print/ui/printengine.h"

namespace vortan {

namespace {
constexpr int Desk = 12;  // grey border around the page, pixels
}

TPreviewPane::TPreviewPane(TPrintEngine& engine, QWidget* parent)
    : QWidget(parent), engine_(engine) {
  setObjectName(QStringLiteral("PreviewPane"));
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(128, 128, 128));
  setPalette(p);
}

void TPreviewPane::SetScale(double scale) {
  if (scale <= 0 || scale == scale_) return;
  scale_ = scale;
  Invalidate();
  updateGeometry();
  resize(sizeHint().expandedTo(parentWidget() ? parentWidget()->size() : QSize()));
}

void TPreviewPane::SetPage(int page) {
  page = std::clamp(page, 1, std::max(1, engine_.PageCount()));
  if (page != page_) {
    page_ = page;
    Invalidate();
  }
  emit PageChanged(page_);
}

void TPreviewPane::Invalidate() {
  image_ = QImage();
  update();
}

const QImage& TPreviewPane::PageImage() {
  if (image_.isNull() && engine_.PageCount() > 0) {
    const QSizeF size = engine_.PageSize() * scale_;
    image_ = QImage(std::max(1, int(std::lround(size.width()))),
                    std::max(1, int(std::lround(size.height()))), QImage::Format_RGB32);
    image_.fill(Qt::white);
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(scale_, scale_);
    engine_.PaintPage(p, page_);
  }
  return image_;
}

QSize TPreviewPane::sizeHint() const {
  const QSizeF size = engine_.PageSize() * scale_;
  return QSize(int(size.width()) + 2 * Desk, int(size.height()) + 2 * Desk);
}

void TPreviewPane::paintEvent(QPaintEvent*) {
  const QImage& img = PageImage();
  if (img.isNull()) return;
  QPainter p(this);
  const int x = std::max(Desk, (width() - img.width()) / 2);
  const int y = std::max(Desk, (height() - img.height()) / 2);
  p.fillRect(x + 3, y + 3, img.width(), img.height(), QColor(64, 64, 64));  // shadow
  p.drawImage(x, y, img);
  p.setPen(Qt::black);
  p.drawRect(x - 1, y - 1, img.width() + 1, img.height() + 1);
}

void TPreviewPane::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton)
    emit ZoomInRequested();
  else if (e->button() == Qt::RightButton)
    emit ZoomOutRequested();
}

}  // namespace vortan
