#pragma once
// Layout rules of the dialogs that must still hold after a translation changed the length of
// every caption: a box right after its label, and a group whose buttons are spread over
// columns and over the group's height.

#include <QList>

class QBoxLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QWidget;

namespace vortan {

/// Gap between a label and the box that follows it, and between a stretched box and the
/// right edge of its parent.
constexpr int LabelGap = 4;
constexpr int StretchedBoxRightGap = 8;

/// A row holding the label and, `LabelGap` pixels after its end, the box. A stretched box
/// takes the rest of the row and ends `StretchedBoxRightGap` before the row's right edge;
/// otherwise the rest of the row stays empty. The label becomes the box's buddy.
QHBoxLayout* LabelledRow(QLabel* label, QWidget* box, bool stretch);

/// Lays the buttons of a group out in `columns` equal columns filled top to bottom
/// ((count - 1 + columns) / columns rows per column), the rows spread evenly over the
/// group's height. Replaces any layout the group had.
void SpreadGroup(QGroupBox* group, const QList<QWidget*>& buttons, int columns);

}  // namespace vortan
