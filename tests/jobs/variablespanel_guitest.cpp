#include "jobs/ui/variablespanel.h"

#include <gtest/gtest.h>

namespace vortan {
namespace {

// An array of 250 elements read a page at a time: the first page on opening, then one per
// click on the last row, which goes once everything is there.
TEST(VariablesPanelTest, LargeArraysOpenAPageAtATime) {
  TVariablesPanel panel;
  TDebugVariable big;
  big.Name = "BIG";
  big.Expression = "big";
  big.Type = ParseFortranType("integer(kind=4) (0:249)");
  big.Children = 250;
  std::vector<std::pair<long, long>> asked;
  panel.ShowVariables({big}, [&](TDebugVariable& parent, long from, long count) {
    asked.emplace_back(from, count);
    std::vector<TDebugVariable> page;
    for (long i = from; i < std::min(from + count, parent.Children); ++i) {
      TDebugVariable e;
      e.Fixed = {i};
      e.Name = SubscriptText("BIG", 1, e.Fixed);
      e.Value = std::to_string(i * 2);
      page.push_back(e);
    }
    return page;
  });
  QTreeWidgetItem* item = panel.topLevelItem(0);
  ASSERT_TRUE(item);
  EXPECT_EQ(item->text(2), "INTEGER*4 (0:249)");
  EXPECT_EQ(item->childCount(), 0);  // nothing read before it opens
  item->setExpanded(true);
  ASSERT_EQ(item->childCount(), TVariablesPanel::PageSize + 1);
  panel.LoadMore(item->child(item->childCount() - 1));
  ASSERT_EQ(item->childCount(), 2 * TVariablesPanel::PageSize + 1);
  EXPECT_EQ(item->child(150)->text(1), "300");
  panel.LoadMore(item->child(item->childCount() - 1));
  ASSERT_EQ(item->childCount(), 250);
  EXPECT_EQ(item->child(249)->text(1), "498");
  EXPECT_EQ(asked, (std::vector<std::pair<long, long>>{{0, 100}, {100, 100}, {200, 100}}));
  // Collapsed and opened again, nothing is read twice.
  item->setExpanded(false);
  item->setExpanded(true);
  EXPECT_EQ(asked.size(), 3u);
}

}  // namespace
}  // namespace vortan
