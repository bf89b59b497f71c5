#pragma once
// A window's picture with a title bar of its own, as a window manager would frame it; the
// screenshots are taken where no window manager runs.
#include <QImage>
#include <QPainter>
#include <QWidget>

namespace vortan::test {

inline QImage Framed(const QImage& inside, const QString& title) {
  QImage framed(inside.width() + 2, inside.height() + 24, QImage::Format_RGB32);
  framed.fill(QColor(96, 96, 96));
  QPainter p(&framed);
  p.fillRect(1, 1, inside.width(), 22, QColor(10, 36, 106));
  p.setPen(Qt::white);
  p.drawText(QRect(8, 1, inside.width() - 8, 22), Qt::AlignVCenter, title);
  p.drawImage(1, 23, inside);
  p.end();
  return framed;
}

inline QImage Framed(QWidget* w) { return Framed(w->grab().toImage(), w->windowTitle()); }

}  // namespace vortan::test
