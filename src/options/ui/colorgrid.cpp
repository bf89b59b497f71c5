#include "options/ui/colorgrid.h"

#include <QMouseEvent>
#include <QPainter>

#include "widgets/qtconvert.h"

namespace vortan {

TColorGrid::TColorGrid(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

const std::array<TColor, 16>& TColorGrid::Colors() {
  // 0x00BBGGRR: black, maroon, green, olive, navy, purple, teal, silver, then grey, red,
  // lime, yellow, blue, fuchsia, aqua, white.
  static const std::array<TColor, 16> colors = {
      0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
      0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
  return colors;
}

QRect TColorGrid::CellRect(int index) const {
  const int w = (width() - 1) / 8, h = (height() - 1) / 2;
  return {(index % 8) * w, (index / 8) * h, w, h};
}

int TColorGrid::CellAt(const QPoint& pos) const {
  for (int i = 0; i < 16; ++i)
    if (CellRect(i).contains(pos)) return i;
  return -1;
}

void TColorGrid::paintEvent(QPaintEvent*) {
  QPainter p(this);
  for (int i = 0; i < 16; ++i) {
    const QRect r = CellRect(i);
    p.fillRect(r.adjusted(2, 2, -1, -1), ToQColor(Colors()[std::size_t(i)]));
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(r.adjusted(1, 1, -1, -1));
  }
}

void TColorGrid::mouseReleaseEvent(QMouseEvent* e) {
  const int cell = CellAt(e->position().toPoint());
  if (cell >= 0) emit CellReleased(Colors()[std::size_t(cell)], e->button());
}

void TColorGrid::mouseDoubleClickEvent(QMouseEvent*) { emit DoubleClicked(); }

}  // namespace vortan
