#pragma once
// The Color page's grid of the sixteen colours of the standard palette (its first eight and
// last eight entries), two rows of eight cells.

#include <QWidget>
#include <array>

#include "config/headerfooter.h"

namespace vortan {

class TColorGrid : public QWidget {
  Q_OBJECT
 public:
  explicit TColorGrid(QWidget* parent = nullptr);
  static const std::array<TColor, 16>& Colors();
  /// The cell under a point, -1 when none.
  int CellAt(const QPoint& pos) const;
  QRect CellRect(int index) const;
  QSize sizeHint() const override { return {8 * 22 + 1, 2 * 22 + 1}; }
  QSize minimumSizeHint() const override { return sizeHint(); }

 signals:
  /// A mouse button was released over a cell.
  void CellReleased(TColor color, Qt::MouseButton button);
  void DoubleClicked();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
};

}  // namespace vortan
