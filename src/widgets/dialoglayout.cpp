#include "widgets/dialoglayout.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <algorithm>
#include <climits>

namespace vortan {

std::vector<QRect> GroupCells(int groupWidth, int groupHeight, int textHeight, int count,
                              int columns, bool rightToLeft) {
  std::vector<QRect> cells;
  if (count <= 0) return cells;
  columns = std::max(columns, 1);
  const int rows = (count - 1 + columns) / columns;
  const int columnWidth = (groupWidth - 10) / columns;
  const int below = groupHeight - (textHeight + 5);
  const int rowHeight = std::max(below / rows, 0);
  const int top = textHeight + 1 + (below - rowHeight * rows) / 2;
  for (int i = 0; i < count; ++i) {
    const int column = i / rows, row = i % rows;
    const int x =
        rightToLeft ? groupWidth - 8 - (column + 1) * columnWidth : 8 + column * columnWidth;
    cells.emplace_back(x, top + row * rowHeight, columnWidth, rowHeight);
  }
  return cells;
}

void SpreadOverGroup(QGroupBox* group, int columns) {
  std::vector<QAbstractButton*> buttons;
  for (QObject* child : group->children())
    if (auto* b = qobject_cast<QAbstractButton*>(child)) buttons.push_back(b);
  const int textHeight = QFontMetrics(group->font()).height();
  const std::vector<QRect> cells =
      GroupCells(group->width(), group->height(), textHeight, static_cast<int>(buttons.size()),
                 columns, group->layoutDirection() == Qt::RightToLeft);
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const QRect& cell = cells[i];
    const int h = buttons[i]->sizeHint().height();
    buttons[i]->setGeometry(cell.x(), cell.y() + (cell.height() - h) / 2, cell.width(), h);
  }
}

void PlaceAfterLabel(const QLabel* label, QWidget* box, bool stretch, int rightMargin) {
  const int textWidth = label->sizeHint().width();
  const int left = label->x() + textWidth + 4;
  int width = box->width();
  if (stretch && box->parentWidget()) width = box->parentWidget()->width() - rightMargin - left;
  box->setGeometry(left, box->y(), std::max(width, 1), box->height());
}

void LineUp(std::initializer_list<QWidget*> boxes) {
  int left = INT_MIN, right = INT_MAX;
  for (const QWidget* b : boxes) {
    left = std::max(left, b->x());
    right = std::min(right, b->x() + b->width());
  }
  // The smallest width, from the largest left edge: every box keeps within its own space.
  int width = INT_MAX;
  for (const QWidget* b : boxes) width = std::min(width, b->width());
  width = std::min(width, right - left);
  for (QWidget* b : boxes) b->setGeometry(left, b->y(), std::max(width, 1), b->height());
}

}  // namespace vortan
