// The Messages tree in the main window: order across windows, opening a message of another
// window, auto-expand, and messages going with their window.
#include <QClipboard>
#include <QMdiSubWindow>
#include <QMenu>

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
  view.Add(
      {Entry("w other 3", other, 3, 5, mkWarning,
             {Entry("detail b", other, 3, 5, mkDetail), Entry("detail a", other, 3, 5, mkDetail)}),
       Entry("w active 9", active, 9, 0, mkWarning), Entry("e other 20", other, 20, 1, mkError),
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

// Opening a message, by double click or by Enter, brings its window back from an icon and
// shows the line, whether the window was the active one or not.
TEST_F(MessagesTree, OpeningAMessageRestoresItsMinimisedWindowByMouseOrKeyboard) {
  enum TState { MinimisedBehind, MinimisedActive, Background };
  struct Case {
    const char* what;
    TState state;
    bool byEnter;
  };
  std::string text;
  for (int i = 1; i <= 60; ++i) text += "      X = " + std::to_string(i) + "\n";
  int n = 0;
  for (const Case c : {Case{"minimised behind another, double click", MinimisedBehind, false},
                       Case{"minimised behind another, Enter", MinimisedBehind, true},
                       Case{"minimised and active, double click", MinimisedActive, false},
                       Case{"minimised and active, Enter", MinimisedActive, true},
                       Case{"opened in the background, Enter", Background, true}}) {
    SCOPED_TRACE(c.what);
    const std::string suffix = std::to_string(++n) + ".f";
    TfrmEditor* target =
        main_->OpenSourceFile(dir_.Write("target" + suffix, text), c.state == Background);
    if (c.state != Background) main_->SubWindowOf(target)->showMinimized();
    TfrmEditor* other =
        c.state == MinimisedActive ? nullptr : Open(dir_.Write("other" + suffix, text));
    QCoreApplication::processEvents();
    ASSERT_TRUE(main_->SubWindowOf(target)->isMinimized());
    ASSERT_EQ(main_->ActiveEditor(), c.state == MinimisedActive ? target : other);

    TMessagesView& view = Pipeline().Messages();
    view.BeginUpdate();
    view.Add({Entry("w target 40", target, 40, 7, mkWarning)});
    view.EndUpdate();
    QTreeWidget* tree = main_->MessagesTree();
    QTreeWidgetItem* item = tree->topLevelItem(0);
    tree->setCurrentItem(item);
    if (c.byEnter)
      QTest::keyClick(tree, Qt::Key_Return);
    else
      emit tree->itemDoubleClicked(item, 0);
    QCoreApplication::processEvents();

    QMdiSubWindow* sub = main_->SubWindowOf(target);
    EXPECT_EQ(main_->ActiveEditor(), target);
    EXPECT_FALSE(sub->isMinimized());
    EXPECT_TRUE(sub->isVisible());
    EXPECT_EQ(target->ErrorLines(), std::vector<int>{40});
    EXPECT_EQ(target->CaretLine(), 40);
    EXPECT_EQ(target->CaretColumn(), 7);

    view.Clear();
    prompts_.AnswerAlways(TModalResult::No);
    main_->CloseAll();
    SettleDeletes();
    ASSERT_TRUE(main_->Editors().empty());
  }
}

// Copy to Clipboard sits in both panels' menus and copies from the panel whose menu it was
// chosen in: the selected message with its detail lines, or the Output panel's selection.
TEST_F(MessagesTree, CopyToClipboardCopiesFromThePanelItsMenuBelongsTo) {
  TfrmEditor* editor = Open(dir_.Write("copy.f", "      X = 1\n      Y = 2\n"));
  TMessagesView& view = Pipeline().Messages();
  view.BeginUpdate();
  view.Add({Entry("w copy 1", editor, 1, 1, mkWarning,
                  {Entry("detail one", editor, 1, 1, mkDetail),
                   Entry("detail two", editor, 1, 1, mkDetail)}),
            Entry("w copy 2", editor, 2, 1, mkWarning)});
  view.EndUpdate();
  QPlainTextEdit* output = main_->OutputMemo();
  output->setPlainText(QStringLiteral("compiler said this"));
  output->selectAll();
  QTreeWidget* tree = main_->MessagesTree();
  QAction* copy = main_->Action("actCopyToClipboard");
  QClipboard* clipboard = QGuiApplication::clipboard();

  auto menuOn = [&](QWidget* panel, QPoint pos) {
    emit panel->customContextMenuRequested(pos);
    for (QMenu* m : main_->findChildren<QMenu*>()) m->hide();
  };
  auto rowPos = [&](QTreeWidgetItem* item) { return tree->visualItemRect(item).center(); };

  struct Case {
    const char* what;
    QTreeWidgetItem* item;  // null: the Output panel's menu
    QString copied;
  };
  QTreeWidgetItem* first = tree->topLevelItem(0);
  for (const Case& c :
       {Case{"a message with its details", first,
             QStringLiteral("w copy 1\n  detail one\n  detail two\n")},
        Case{"the output's selection", nullptr, QStringLiteral("compiler said this")},
        Case{"one detail line", first->child(1), QStringLiteral("detail two\n")}}) {
    SCOPED_TRACE(c.what);
    if (c.item) {
      tree->expandAll();
      menuOn(tree, rowPos(c.item));
    } else {
      menuOn(output, QPoint(2, 2));
    }
    clipboard->setText(QStringLiteral("before"));
    ASSERT_TRUE(copy->isEnabled());
    copy->trigger();
    EXPECT_EQ(clipboard->text(), c.copied);
  }

  // Nothing to copy: no message selected, or an empty Output panel.
  tree->clearSelection();
  menuOn(tree, QPoint(-5, -5));
  EXPECT_FALSE(copy->isEnabled()) << "no message selected";
  output->clear();
  view.Clear();
  menuOn(output, QPoint(2, 2));
  EXPECT_FALSE(copy->isEnabled()) << "empty output";
}

}  // namespace
}  // namespace vortan::test
