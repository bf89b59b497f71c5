// Fixed-form editing in the text control with real key events: Return, the continuation key,
// the wrap at column 72, the label field and Tab, matching marks, the text past column 72,
// and folding from the margin and with Fold All / Unfold All.

#include <QMouseEvent>

#include "config/settingids.h"
#include "editor/reindenter.h"
#include "editor/ui/editormarks.h"
#include "editor/ui/fortranlexer.h"
#include "editor/ui/reindentcommand.h"
#include "editorfixture.h"

namespace vortan::test {
namespace {

using B = QsciScintillaBase;

long Sci(TStreakSynEdit* s, unsigned msg, long w = 0, long l = 0) {
  return s->SendScintilla(msg, static_cast<unsigned long>(w), l);
}

class TFixedFormEditing : public EditorFixture {
 protected:
  TStreakSynEdit* Editor(const std::string& text, int line, int column) {
    TStreakSynEdit* s = ShownEditor()->SynEdit();
    s->SetBytes(text, false);
    s->SetCaret(line, column);
    return s;
  }
  TfrmEditor* EditorOf(TStreakSynEdit* s) {
    for (auto& e : editors)
      if (e->SynEdit() == s) return e.get();
    return nullptr;
  }
};

TEST_F(TFixedFormEditing, ReturnIndentsToTheBlockAndDedentsItsEnd) {
  TStreakSynEdit* s = Editor("      DO 10 I = 1, N", 1, 21);
  TfrmEditor* e = EditorOf(s);
  Key(e, Qt::Key_Return);
  EXPECT_EQ(s->CaretLine(), 2);
  EXPECT_EQ(s->CaretColumn(), 10);  // column 7 plus the block's 3
  Type(e, "X = 1");
  Key(e, Qt::Key_Return);
  EXPECT_EQ(s->CaretColumn(), 10);
  Type(e, "IF (X .GT. 0) THEN");
  Key(e, Qt::Key_Return);
  Type(e, "X = 0");
  Key(e, Qt::Key_Return);
  Type(e, "END IF");
  Key(e, Qt::Key_Return);
  EXPECT_EQ(s->LineBytes(5), "         END IF");
  EXPECT_EQ(s->CaretColumn(), 10);
  // Return in the middle of a line moves the rest to the new line, at the block's column.
  s->SetCaret(3, 24);
  Key(e, Qt::Key_Return);
  EXPECT_EQ(s->LineBytes(3), "         IF (X .GT. 0)");
  EXPECT_EQ(s->LineBytes(4), "         THEN");
  Sci(s, B::SCI_UNDO);
  EXPECT_EQ(s->LineBytes(3), "         IF (X .GT. 0) THEN");
  EXPECT_EQ(s->LineBytes(4), "            X = 0");
}

TEST_F(TFixedFormEditing, TheTerminalStatementMovesBackToItsDo) {
  TStreakSynEdit* s = Editor("      DO 10 I = 1, N\n         X = 1\n   10    CONTINUE", 3, 18);
  Key(EditorOf(s), Qt::Key_Return);
  EXPECT_EQ(s->LineBytes(3), "   10 CONTINUE");
  EXPECT_EQ(s->CaretLine(), 4);
  EXPECT_EQ(s->CaretColumn(), 7);
}

TEST_F(TFixedFormEditing, ContinuationKeyBreaksTheStatement) {
  TStreakSynEdit* s = Editor("         X = A + B", 1, 18);
  Key(EditorOf(s), Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(s->LineBytes(1), "         X = A +");
  EXPECT_EQ(s->LineBytes(2), "     &   B");
  EXPECT_EQ(s->CaretLine(), 2);
  EXPECT_EQ(s->CaretColumn(), 10);
  // One undo step puts it back.
  Sci(s, B::SCI_UNDO);
  EXPECT_EQ(s->Bytes(), "         X = A + B");
}

TEST_F(TFixedFormEditing, ContinuationMarkFollowsTheSetting) {
  Store().WriteString(sidFixedFormContinuationMark, "+");
  TStreakSynEdit* s = Editor("      X = A + B", 1, 15);
  Key(EditorOf(s), Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(s->LineBytes(2), "     +B");
}

TEST_F(TFixedFormEditing, TypingPastColumn72WrapsWhenAsked) {
  const std::string line = "      X = " + std::string(60, 'A') + " +";  // 72 columns
  {
    TStreakSynEdit* s = Editor(line, 1, 73);
    Type(EditorOf(s), " BC");
    EXPECT_EQ(s->Bytes(), line + " BC") << "off by default: text past 72 stays";
  }
  Store().WriteBool(sidFixedFormWrapAt72, true);
  TStreakSynEdit* s = Editor(line, 1, 73);
  Type(EditorOf(s), " BC");
  EXPECT_EQ(s->LineBytes(1), line);
  EXPECT_EQ(s->LineBytes(2), "     &BC");
  EXPECT_EQ(s->CaretLine(), 2);
  EXPECT_EQ(s->CaretColumn(), 9);
}

TEST_F(TFixedFormEditing, LabelFieldTakesDigitsAndTabGoesToColumn7) {
  TStreakSynEdit* s = Editor("      X = 1\n", 2, 1);
  TfrmEditor* e = EditorOf(s);
  Type(e, "20");
  Key(e, Qt::Key_Tab);
  EXPECT_EQ(s->CaretColumn(), 7);
  Type(e, "CONTINUE");
  EXPECT_EQ(s->LineBytes(2), "20    CONTINUE");
  s->SetCaret(1, 4);
  Type(e, "5");
  EXPECT_EQ(s->LineBytes(1), "   5  X = 1") << "the statement stays in its columns";
}

TEST_F(TFixedFormEditing, MatchingStatementsAreMarked) {
  TStreakSynEdit* s =
      Editor("      IF (X) THEN\n         Y = 1\n      ELSE\n         Y = 2\n      END IF", 1, 8);
  s->Blocks().Refresh();
  EXPECT_EQ(s->Blocks().MarkedLines(), (std::vector<int>{0, 2, 4}));
  const long end = Sci(s, B::SCI_POSITIONFROMLINE, 4) + 7;
  EXPECT_NE(Sci(s, B::SCI_INDICATORVALUEAT, marks::kMatchIndicator, end), 0);
  s->SetCaret(2, 10);
  EXPECT_TRUE(s->Blocks().MarkedLines().empty());
  EXPECT_EQ(Sci(s, B::SCI_INDICATORVALUEAT, marks::kMatchIndicator, end), 0);
}

// After a pause the blocks are read in a worker and shown; an edit made while a read is under
// way drops its result, and what is shown follows the newest text.
TEST_F(TFixedFormEditing, BlocksReadAfterThePauseFollowTheNewestText) {
  std::string big = "      SUBROUTINE S(N)\n      DO 10 I = 1, N\n";
  for (int i = 0; i < 20000; ++i) big += "         CALL F(I)\n";
  big += "   10 CONTINUE\n      END";
  TStreakSynEdit* s = Editor(big, 3, 10);
  TBlockMarks& blocks = s->Blocks();
  auto header = [s](long line) {
    return (Sci(s, B::SCI_GETFOLDLEVEL, line) & B::SC_FOLDLEVELHEADERFLAG) != 0;
  };
  // The text was set: after the pause its read starts. The DO becomes a comment before the
  // result is taken, which must not bring the old fold point in.
  ASSERT_TRUE(QTest::qWaitFor([&] { return blocks.Reading(); }, 10000));
  Sci(s, B::SCI_SETTARGETRANGE, Sci(s, B::SCI_POSITIONFROMLINE, 1),
      Sci(s, B::SCI_POSITIONFROMLINE, 1) + 1);
  Sci(s, B::SCI_REPLACETARGET, 1, reinterpret_cast<long>("C"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !blocks.Reading(); }, 10000));
  EXPECT_FALSE(header(1)) << "the result of the older text was shown";
  ASSERT_TRUE(QTest::qWaitFor([&] { return !blocks.RefreshPending(); }, 10000));
  EXPECT_TRUE(header(0));
  EXPECT_FALSE(header(1));
  EXPECT_EQ(blocks.MarkedLines(), std::vector<int>{});
}

TEST_F(TFixedFormEditing, TextPastColumn72HasItsOwnStyle) {
  const std::string code = "      X = 1" + std::string(61, ' ') + "SEQ00010";
  const std::string comment = "C" + std::string(75, 'x');
  TStreakSynEdit* s = Editor(code + "\n" + comment, 1, 1);
  Sci(s, B::SCI_COLOURISE, 0, -1);
  const long second = Sci(s, B::SCI_POSITIONFROMLINE, 1);
  EXPECT_EQ(Sci(s, B::SCI_GETSTYLEAT, 72), TFortranLexer::StyleIgnored);
  EXPECT_NE(Sci(s, B::SCI_GETSTYLEAT, 71), TFortranLexer::StyleIgnored);
  EXPECT_NE(Sci(s, B::SCI_GETSTYLEAT, second + 74), TFortranLexer::StyleIgnored);
}

TEST_F(TFixedFormEditing, FoldsFromTheMarginAndAllAtOnce) {
  TStreakSynEdit* s = Editor(
      "      SUBROUTINE S(N)\n"
      "      DO 10 I = 1, N\n"
      "         CALL F(I)\n"
      "   10 CONTINUE\n"
      "      END\n"
      "      SUBROUTINE T\n"
      "      END",
      1, 1);
  s->Blocks().Refresh();
  EXPECT_TRUE(Sci(s, B::SCI_GETFOLDLEVEL, 1) & B::SC_FOLDLEVELHEADERFLAG);
  // A click on the fold margin beside the DO folds its loop.
  const int y =
      static_cast<int>(Sci(s, B::SCI_POINTYFROMPOSITION, 0, Sci(s, B::SCI_POSITIONFROMLINE, 1))) +
      static_cast<int>(Sci(s, B::SCI_TEXTHEIGHT, 1)) / 2;
  const int x = static_cast<int>(Sci(s, B::SCI_GETMARGINWIDTHN, 0)) + 5;
  QTest::mouseClick(s->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(x, y));
  EXPECT_FALSE(Sci(s, B::SCI_GETLINEVISIBLE, 2));
  EXPECT_TRUE(Sci(s, B::SCI_GETLINEVISIBLE, 4));
  s->Blocks().FoldAll(false);
  EXPECT_TRUE(Sci(s, B::SCI_GETLINEVISIBLE, 2));
  s->Blocks().FoldAll(true);
  EXPECT_FALSE(Sci(s, B::SCI_GETLINEVISIBLE, 1));
  EXPECT_TRUE(Sci(s, B::SCI_GETLINEVISIBLE, 5));
  EXPECT_FALSE(Sci(s, B::SCI_GETLINEVISIBLE, 6));
}

TEST_F(TFixedFormEditing, ReindentIsOneUndoStepAndEveryLineKeepsItsMarks) {
  if (TReindenter::FindTool("").empty()) GTEST_SKIP() << "findent is not installed";
  const std::string text =
      "      SUBROUTINE S(N)\n"
      "      DO 10 I = 1, N\n"
      "      IF (I .GT. 1) THEN\n"
      "      CALL F(I)\n"
      "      END IF\n"
      "   10 CONTINUE\n"
      "      END";
  TStreakSynEdit* s = Editor(text, 1, 1);
  // Each line keeps its marks: a bookmark, a breakpoint and the debugger's current line.
  const std::pair<long, int> marks[] = {{3, 2},
                                        {3, marks::kBreakpointMarker},
                                        {5, marks::kBreakpointMarker},
                                        {4, marks::kDebugLineMarker}};
  for (const auto& [line, marker] : marks) Sci(s, B::SCI_MARKERADD, line, marker);
  ASSERT_TRUE(ReindentSource(*s));
  for (const auto& [line, marker] : marks)
    EXPECT_TRUE(Sci(s, B::SCI_MARKERGET, line) & (1L << marker)) << line << " " << marker;
  for (long line : {0L, 1L, 2L, 6L})
    EXPECT_EQ(Sci(s, B::SCI_MARKERGET, line) & marks::kKeptMarks, 0) << line;
  EXPECT_EQ(s->LineBytes(3), "         IF (I .GT. 1) THEN");
  EXPECT_EQ(s->LineBytes(4), "            CALL F(I)");
  EXPECT_EQ(s->LineBytes(6), "   10 CONTINUE");
  Sci(s, B::SCI_UNDO);
  EXPECT_EQ(s->Bytes(), text);
}

}  // namespace
}  // namespace vortan::test
