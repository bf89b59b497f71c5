#pragma once
// Arranging the child windows of a multiple-document frame.

class QMdiArea;

namespace vortan {

/// Side by side, in creation order, over the whole area (minimised ones stay as they are).
void TileVertically(QMdiArea& area);
/// One above the other.
void TileHorizontally(QMdiArea& area);
/// Minimised windows in rows along the bottom edge.
void ArrangeIcons(QMdiArea& area);
/// Every window minimised, the background ones included.
void MinimizeAll(QMdiArea& area);

}  // namespace vortan
