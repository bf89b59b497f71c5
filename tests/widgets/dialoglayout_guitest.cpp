// The layout rules for translated dialogs: option groups spread over their height, boxes
// right after their labels and lined up.
#include "widgets/dialoglayout.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>

namespace vortan {
namespace {

TEST(DialogLayout, GroupCells) {
  struct TCase {
    const char* name;
    int width, height, textHeight, count, columns;
    bool rtl;
    std::vector<QRect> cells;
  };
  const TCase cases[] = {
      // Below the caption line (13 + 5): 62 pixels, 31 per row, nothing left over.
      {"two rows", 160, 80, 13, 2, 1, false, {{8, 14, 150, 31}, {8, 45, 150, 31}}},
      // 61 pixels for 3 rows: 20 each, 1 left over, none of it (1 / 2) above the first row.
      {"three rows",
       160,
       79,
       13,
       3,
       1,
       false,
       {{8, 14, 150, 20}, {8, 34, 150, 20}, {8, 54, 150, 20}}},
      // 62 pixels for 4 rows: 15 each, 2 left over, 1 above the first row.
      {"four rows",
       110,
       80,
       13,
       4,
       1,
       false,
       {{8, 15, 100, 15}, {8, 30, 100, 15}, {8, 45, 100, 15}, {8, 60, 100, 15}}},
      // Three buttons in two columns: two rows, filled column by column.
      {"two columns",
       210,
       80,
       13,
       3,
       2,
       false,
       {{8, 14, 100, 31}, {8, 45, 100, 31}, {108, 14, 100, 31}}},
      {"right to left",
       210,
       80,
       13,
       3,
       2,
       true,
       {{102, 14, 100, 31}, {102, 45, 100, 31}, {2, 14, 100, 31}}},
      {"no buttons", 160, 80, 13, 0, 1, false, {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(GroupCells(c.width, c.height, c.textHeight, c.count, c.columns, c.rtl), c.cells);
  }
}

TEST(DialogLayout, ButtonsFillTheirCellsInOrder) {
  QGroupBox group;
  group.setGeometry(0, 0, 200, 120);
  auto* a = new QCheckBox(QStringLiteral("First"), &group);
  auto* b = new QCheckBox(QStringLiteral("Second, a much longer caption"), &group);
  auto* c = new QCheckBox(QStringLiteral("Third"), &group);
  SpreadOverGroup(&group);
  EXPECT_LT(a->y(), b->y());
  EXPECT_LT(b->y(), c->y());
  for (QCheckBox* box : {a, b, c}) {
    EXPECT_EQ(box->x(), 8);
    EXPECT_EQ(box->width(), 190);
    EXPECT_LE(box->geometry().bottom(), group.height());
  }
  EXPECT_EQ(b->y() - a->y(), c->y() - b->y()) << "spread evenly";
}

TEST(DialogLayout, BoxesAfterTheirLabelsLineUp) {
  QWidget form;
  form.resize(300, 100);
  auto* shortLabel = new QLabel(QStringLiteral("Find:"), &form);
  auto* longLabel = new QLabel(QStringLiteral("Replace with this text:"), &form);
  auto* first = new QComboBox(&form);
  auto* second = new QComboBox(&form);
  shortLabel->move(8, 10);
  longLabel->move(8, 40);
  first->setGeometry(0, 8, 50, 22);
  second->setGeometry(0, 38, 50, 22);
  PlaceAfterLabel(shortLabel, first, true);
  PlaceAfterLabel(longLabel, second, true);
  EXPECT_EQ(first->x(), 8 + shortLabel->sizeHint().width() + 4);
  EXPECT_EQ(first->x() + first->width(), 300 - 8);
  EXPECT_EQ(second->x(), 8 + longLabel->sizeHint().width() + 4);
  LineUp({first, second});
  EXPECT_EQ(first->x(), second->x());
  EXPECT_EQ(first->width(), second->width());
  EXPECT_EQ(first->x() + first->width(), 300 - 8);
  EXPECT_EQ(first->y(), 8) << "boxes keep their tops";
}

}  // namespace
}  // namespace vortan
