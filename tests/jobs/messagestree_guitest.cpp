// The Messages tree in the main window: order across windows, opening a message of another
// window, auto-expand, and messages going with their window.
#include <QMdiSubWindow>

#include "pipelinefixture.h"

namespace vortan::test {
namespace {

TMessageNode Entry(const std::string& text, TfrmEditor* editor, int line, int column,
                   TMessageKind kind, std::vector<TMessageNode> children = {}) {
  TMessageNode n;
  n.Data = {text, editor, line, column, kind};
  n.Children = std::move(children);
  return n;
}

using MessagesTree = PipelineFixture;

TEST_F(MessagesTree, OpensAMessageOfABackgroundWindowAndDropsAClosedWindowsMessages) {
  std::string text;
  for (int i = 1; i <= 30; ++i) text += "      X = " + std::to_string(i) + "\n";
  TfrmEditor* other = main_->OpenSourceFile(dir_.Write("other.f", text), true);
  TfrmEditor* active = Open(dir_.Write("active.f", text));
  ASSERT_EQ(main_->ActiveEditor(), active);
  TMessagesView& view = Pipeline().Messages();
  view.BeginUpdate();
  view.Add({Entry("w other 3", other, 3, 5, mkWarning, {Entry("detail b", other, 3, 5, mkDetail),
                                                         Entry("detail a", other, 3, 5, mkDetail)}),
            Entry("w active 9", active, 9, 0, mkWarning),
            Entry("e other 20", other, 20, 1, mkError),
            Entry("w active none", active, -1, 0, mkWarning),
            Entry("m active 1", active, 1, 0, mkMaybe)});
  view.EndUpdate();
  EXPECT_EQ(TopLevelTexts(), (std::vector<std::string>{"e other 20", "w active none", "w active 9",
                                                       "w other 3", "m active 1"}));

  QTreeWidget* tree = main_->MessagesTree();
  QTreeWidgetItem* item = tree->topLevelItem(3);
  EXPECT_EQ(item->child(0)->text(0), QStringLiteral("detail b"));
  tree->setCurrentItem(item);
  EXPECT_TRUE(item->isExpanded()) << "auto expand";
  emit tree->itemDoubleClicked(item, 0);
  EXPECT_EQ(main_->ActiveEditor(), other);
  EXPECT_TRUE(main_->SubWindowOf(other)->isVisible());
  EXPECT_EQ(other->ErrorLines(), std::vector<int>{3});
  EXPECT_EQ(other->CaretLine(), 3);
  EXPECT_EQ(other->CaretColumn(), 5);

  tree->setCurrentItem(tree->topLevelItem(0));
  EXPECT_FALSE(item->isExpanded()) << "the sibling that had the focus collapses";

  main_->SubWindowOf(other)->close();
  SettleDeletes();
  EXPECT_EQ(TopLevelTexts(),
            (std::vector<std::string>{"w active none", "w active 9", "m active 1"}));
}

}  // namespace
}  // namespace vortan::test
