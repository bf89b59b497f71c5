// The compiler's findings in the Messages tree, the marked lines and the double clicks that
// lead to them, after each command that compiles: the real ftnchek and gfortran, offscreen.
#include <QTextBlock>

#include "pipelinefixture.h"

namespace vortan::test {
namespace {

// The analyzer passes it (one warning of its own); the compiler fails at line 4, column 18
// (and stops there, before it would warn of J).
const char* const kOverflow =
    "      PROGRAM OVER\n"
    "      INTEGER J\n"
    "      REAL X\n"
    "      X = 1.0E999\n"
    "      PRINT *, X\n"
    "      END\n";

class CompilerFindings : public PipelineFixture {
 protected:
  // The compiler's groups and everything below them, one line per entry with its place.
  std::vector<std::string> CompilerEntries() {
    std::vector<std::string> out;
    std::function<void(QTreeWidgetItem*, int)> walk = [&](QTreeWidgetItem* item, int depth) {
      const auto d = Pipeline().Messages().DataOf(item);
      out.push_back(std::string(depth * 2, ' ') + item->text(0).toStdString() + " @" +
                    std::to_string(d ? d->Line : -9) + ":" + std::to_string(d ? d->Column : -9));
      for (int i = 0; i < item->childCount(); ++i) walk(item->child(i), depth + 1);
    };
    QTreeWidget* tree = main_->MessagesTree();
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
      if (tree->topLevelItem(i)->text(0).startsWith(QStringLiteral("gfortran")))
        walk(tree->topLevelItem(i), 0);
    return out;
  }

  void CloseProcessForm() {
    QPointer<TfrmProcess> form = Pipeline().ProcessForm();
    if (form) form->CancelButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form; }, 5000));
  }

  // As a user does it: a click, then the second press of the double click.
  void DoubleClick(QWidget* viewport, QPoint at) {
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, at);
  }
};

TEST_F(CompilerFindings, CompileBuildAndCompileAllGiveTheSameEntriesAndMarksAndLandOnTheError) {
  WriteString(sidAdditionalCompilerOptionsParameters, "-g -Wall");
  const std::string source = dir_.Write("p/over.f", kOverflow);
  TfrmEditor* e = Open(source);
  const std::vector<std::string> expected = {
      "gfortran: over.f @-1:0",
      "  [Error] over.f(4:18): Real constant overflows its kind at (1) @4:18",
      "        4 |       X = 1.0E999 @4:18",
      "          |                  1 @4:18",
  };
  for (const char* action : {"actCompile", "actCompileandRun", "actCompileAll"}) {
    SCOPED_TRACE(action);
    e->ClearErrorLines();
    e->SetCaret(1, 1);
    EXPECT_EQ(WaitOutcome(Trigger(action)), Str(TStr::strErrorsEncountered));
    EXPECT_EQ(CompilerEntries(), expected);
    EXPECT_EQ(e->ErrorLines(), std::vector<int>{4});
    EXPECT_EQ(e->CaretLine(), 4) << "the user lands on the line";
    EXPECT_EQ(e->CaretColumn(), 18);
    const auto selected = main_->MessagesTree()->selectedItems();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected[0]->text(0).toStdString(),
              expected[1].substr(2, expected[1].find(" @") - 2));
    CloseProcessForm();
  }
}

TEST_F(CompilerFindings, DoubleClickOnACompilerEntryOrAnOutputLineOpensLineAndColumn) {
  WriteString(sidAdditionalCompilerOptionsParameters, "-g -Wall");
  // Two warnings of the compiler: J at line 2, column 15; K at line 3, column 12.
  const std::string source = dir_.Write("p/unused.f",
                                        "      PROGRAM UNUSED\n      INTEGER J\n      REAL K\n"
                                        "      PRINT *, 'x'\n      END\n");
  TfrmEditor* e = Open(source);
  EXPECT_EQ(WaitOutcome(Trigger("actCompile")), Str(TStr::strCompiled));
  CloseProcessForm();
  ASSERT_TRUE(main_->MessagesWindow()->isVisible());
  ASSERT_TRUE(main_->OutputWindow()->isVisible());

  // The warning entry, below its group.
  QTreeWidget* tree = main_->MessagesTree();
  QTreeWidgetItem* warning = nullptr;
  for (int i = 0; i < tree->topLevelItemCount() && !warning; ++i)
    for (int c = 0; c < tree->topLevelItem(i)->childCount(); ++c)
      if (tree->topLevelItem(i)->child(c)->text(0).startsWith(
              QStringLiteral("[Warning] unused.f(3")))
        warning = tree->topLevelItem(i)->child(c);
  ASSERT_NE(warning, nullptr);
  tree->scrollToItem(warning);
  tree->setCurrentItem(warning);
  DoubleClick(tree->viewport(), tree->visualItemRect(warning).center());
  EXPECT_TRUE(QTest::qWaitFor([&] { return e->CaretLine() == 3; }, 5000));
  EXPECT_EQ(e->CaretColumn(), 12);
  EXPECT_EQ(e->ErrorLines(), std::vector<int>{3});

  // The Output line that names the other warning's place.
  QPlainTextEdit* memo = main_->OutputMemo();
  const QString head = QString::fromStdString(source + ":2:15:");
  QTextBlock block = memo->document()->firstBlock();
  while (block.isValid() && block.text() != head) block = block.next();
  ASSERT_TRUE(block.isValid()) << Pipeline().Output().Text();
  QTextCursor at(block);
  memo->setTextCursor(at);
  memo->ensureCursorVisible();
  DoubleClick(memo->viewport(), memo->cursorRect(at).center() + QPoint(4, 0));
  EXPECT_TRUE(QTest::qWaitFor([&] { return e->CaretLine() == 2; }, 5000));
  EXPECT_EQ(e->CaretColumn(), 15);
  EXPECT_EQ(e->ErrorLines(), std::vector<int>{2});

  // A line that names no place selects a word, as before.
  QTextBlock caret = block.next().next();
  ASSERT_TRUE(caret.isValid());
  QTextCursor there(caret);
  DoubleClick(memo->viewport(), memo->cursorRect(there).center() + QPoint(40, 0));
  EXPECT_EQ(e->CaretLine(), 2);
}

}  // namespace
}  // namespace vortan::test
