#pragma once
// Layout rules for dialogs whose captions change length with the language. A dialog places
// its controls once; after each translation (or whenever it is shown) it calls these so
// that translated captions still fit:
//
//   - SpreadOverGroup: the check boxes or radio buttons of a group box are spread evenly
//     over the group's height, in one or more columns (the find, replace and options
//     dialogs' option groups);
//   - PlaceAfterLabel: a box that follows a label on the same line starts 4 pixels after
//     the label's text, and may be stretched to end a margin before its parent's right edge;
//   - LineUp: boxes placed after labels of different lengths are given the largest left
//     edge and the smallest width among them, so that they line up.
//
// GroupCells is the arithmetic behind SpreadOverGroup, kept free of widgets so it can be
// checked on its own.

#include <QRect>
#include <initializer_list>
#include <vector>

class QGroupBox;
class QLabel;
class QWidget;

namespace vortan {

/// The cells of `count` buttons in a group `groupWidth` by `groupHeight` pixels whose caption
/// text is `textHeight` high, filled column by column. Rows per column: (count - 1 +
/// columns) / columns; each column is (groupWidth - 10) / columns wide and starts 8 pixels
/// from the left edge (the right edge when `rightToLeft`) plus its offset; the height below
/// the caption line (textHeight + 5) is divided evenly between the rows, and half of what
/// is left over, plus textHeight + 1, goes above the first row.
std::vector<QRect> GroupCells(int groupWidth, int groupHeight, int textHeight, int count,
                              int columns, bool rightToLeft = false);

/// Places the group's buttons (its check boxes and radio buttons, direct children, in
/// creation order) in GroupCells, each as high as it wants to be and centred in its cell.
void SpreadOverGroup(QGroupBox* group, int columns = 1);

/// Moves `box` to start 4 pixels after the end of the label's text; with `stretch` its right
/// edge comes `rightMargin` pixels before its parent's right edge. The box keeps its top.
void PlaceAfterLabel(const QLabel* label, QWidget* box, bool stretch, int rightMargin = 8);

/// Every box gets the largest left edge and the smallest width among them.
void LineUp(std::initializer_list<QWidget*> boxes);

}  // namespace vortan
