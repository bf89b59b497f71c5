#include "widgets/formrows.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <algorithm>

namespace vortan {

QHBoxLayout* LabelledRow(QLabel* label, QWidget* box, bool stretch) {
  auto* row = new QHBoxLayout;
  row->setSpacing(LabelGap);
  row->addWidget(label);
  row->addWidget(box, stretch ? 1 : 0);
  if (stretch)
    row->addSpacing(StretchedBoxRightGap - LabelGap);
  else
    row->addStretch(1);
  label->setBuddy(box);
  return row;
}

void SpreadGroup(QGroupBox* group, const QList<QWidget*>& buttons, int columns) {
  delete group->layout();
  auto* grid = new QGridLayout(group);
  grid->setContentsMargins(8, 4, 2, 4);
  columns = std::max(1, columns);
  const int rows = (int(buttons.size()) - 1 + columns) / columns;
  for (int i = 0; i < buttons.size(); ++i)
    grid->addWidget(buttons[i], i % std::max(1, rows), i / std::max(1, rows));
  for (int c = 0; c < columns; ++c) grid->setColumnStretch(c, 1);
  for (int r = 0; r < rows; ++r) grid->setRowStretch(r, 1);
}

}  // namespace vortan
