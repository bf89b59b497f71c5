#include "widgets/mdiarrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

namespace vortan {

namespace {
QList<QMdiSubWindow*> Tiled(QMdiArea& area) {
  QList<QMdiSubWindow*> subs;
  for (QMdiSubWindow* s : area.subWindowList(QMdiArea::CreationOrder))
    if (s->isVisible() && !s->isMinimized()) subs << s;
  return subs;
}
}  // namespace

void TileVertically(QMdiArea& area) {
  const QList<QMdiSubWindow*> subs = Tiled(area);
  if (subs.isEmpty()) return;
  const QRect r = area.viewport()->rect();
  const int w = r.width() / int(subs.size());
  for (int i = 0; i < subs.size(); ++i) {
    subs[i]->showNormal();
    const int width = i == subs.size() - 1 ? r.width() - w * i : w;
    subs[i]->setGeometry(w * i, 0, width, r.height());
  }
}

void TileHorizontally(QMdiArea& area) {
  const QList<QMdiSubWindow*> subs = Tiled(area);
  if (subs.isEmpty()) return;
  const QRect r = area.viewport()->rect();
  const int h = r.height() / int(subs.size());
  for (int i = 0; i < subs.size(); ++i) {
    subs[i]->showNormal();
    const int height = i == subs.size() - 1 ? r.height() - h * i : h;
    subs[i]->setGeometry(0, h * i, r.width(), height);
  }
}

void ArrangeIcons(QMdiArea& area) {
  const QRect r = area.viewport()->rect();
  int x = 0, y = r.height();
  int rowHeight = 0;
  for (QMdiSubWindow* s : area.subWindowList(QMdiArea::CreationOrder)) {
    if (!s->isVisible() || !s->isMinimized()) continue;
    const QSize size = s->size();
    if (x > 0 && x + size.width() > r.width()) {
      x = 0;
      y -= rowHeight;
      rowHeight = 0;
    }
    rowHeight = std::max(rowHeight, size.height());
    s->move(x, y - size.height());
    x += size.width();
  }
}

void MinimizeAll(QMdiArea& area) {
  const QList<QMdiSubWindow*> subs = area.subWindowList(QMdiArea::CreationOrder);
  for (QMdiSubWindow* s : subs) s->showMinimized();
}

}  // namespace vortan
