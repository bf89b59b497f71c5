// The debugger inside the main window, with the real gdb and gfortran: the commands,
// breakpoints in the gutter, the current line and the panels.
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/documents.h"
#include "editor/ui/editormarks.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "jobs/ui/callstackpanel.h"
#include "jobs/ui/debugcontroller.h"
#include "jobs/ui/variablespanel.h"
#include "jobs/ui/watchpanel.h"
#include "platform/pseudoterminal.h"
#include "platform/terminal.h"
#include "support/framedshot.h"
#include "support/mainwindowfixture.h"

namespace vortan {
namespace {

const char* const kMain =
    "      PROGRAM MAIN\n"
    "      REAL A(3,4)\n"
    "      CHARACTER*20 NAME\n"
    "      LOGICAL OK\n"
    "      INTEGER I, J, N, ISUM\n"
    "      COMMON /BLK/ X, K\n"
    "      X = 2.5\n"
    "      K = 7\n"
    "      NAME = 'HELLO WORLD'\n"
    "      OK = .TRUE.\n"
    "      ISUM = 0\n"
    "      DO 20 J = 1, 4\n"
    "        DO 10 I = 1, 3\n"
    "          A(I,J) = I + 10*J\n"
    "   10   CONTINUE\n"
    "   20 CONTINUE\n"
    "      DO 30 N = 1, 10\n"
    "C       the sum of the first N\n"  // 18
    "        ISUM = ISUM + N\n"         // 19
    "   30 CONTINUE\n"
    "      CALL SUB(ISUM)\n"
    "      PRINT *, ISUM, NAME, OK\n"
    "      END\n";

const char* const kSub =
    "      SUBROUTINE SUB(M)\n"
    "      INTEGER M\n"
    "      COMMON /BLK/ X, K\n"
    "      M = M + K\n"
    "      END\n";

class DebuggerTest : public test::MainWindowFixture {
 protected:
  void SetUp() override {
    if (platform::FindExecutable("gdb").empty() || platform::FindExecutable("gfortran").empty())
      GTEST_SKIP() << "gdb and gfortran are needed";
    MainWindowFixture::SetUp();
    ASSERT_TRUE(terminal_.Open());
    debugger().Compiler = "gfortran";
    debugger().Gdb = "gdb";
    debugger().OpenTerminal = [this](std::string& tty) {
      tty = terminal_.SlaveName();
      return true;
    };
    main_->Documents().Open(dir_.Write("sub.f", kSub));
    editor_ = main_->Documents().Open(dir_.Write("main.f", kMain));
    ASSERT_TRUE(editor_);
  }

  TDebugController& debugger() { return main_->Debugger(); }
  void Trigger(const char* action) {
    main_->UpdateActions();
    QAction* a = main_->Action(action);
    ASSERT_TRUE(a->isEnabled()) << action;
    a->trigger();
  }
  bool Marked(TfrmEditor* editor, int line, int marker) {
    return editor->SynEdit()->SendScintilla(QsciScintilla::SCI_MARKERGET, line - 1) &
           (1L << marker);
  }
  void ClickGutter(TfrmEditor* editor, int line) {
    TStreakSynEdit* edit = editor->SynEdit();
    const long pos = edit->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, line - 1);
    const int y =
        static_cast<int>(edit->SendScintilla(QsciScintilla::SCI_POINTYFROMPOSITION, 0L, pos));
    QTest::mouseClick(edit->viewport(), Qt::LeftButton, {}, QPoint(3, y + 3));
  }
  QTreeWidgetItem* Item(QTreeWidget* tree, const QString& name) {
    const auto found = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.front();
  }

  TPseudoTerminal terminal_;
  TfrmEditor* editor_ = nullptr;
};

TEST_F(DebuggerTest, StopsAtAConditionalBreakpointMovedWithTheTextAndShowsThePanels) {
  // A breakpoint by key on the comment line, with a condition and no ignore count.
  editor_->SetCaret(18, 1);
  Trigger("actToggleBreakpoint");
  prompts_.inputs = {std::string("N .EQ. 5"), std::string("0")};
  Trigger("actBreakpointCondition");
  EXPECT_NE(ReadString(sidBreakpoints).find("N .EQ. 5"), std::string::npos);
  // Two lines typed above it: the breakpoint moves with its line.
  editor_->SynEdit()->insertAt(QStringLiteral("C     two\nC     more\n"), 0, 0);
  EXPECT_TRUE(Marked(editor_, 20, marks::kBreakpointMarker));

  QSignalSpy updated(&debugger(), &TDebugController::PanelsUpdated);
  Trigger("actDebugStart");
  ASSERT_TRUE(updated.wait(60000));
  // Landed on the statement below the comment, and the program stands there.
  EXPECT_FALSE(Marked(editor_, 20, marks::kBreakpointMarker));
  EXPECT_TRUE(Marked(editor_, 21, marks::kBreakpointMarker));
  EXPECT_TRUE(Marked(editor_, 21, marks::kDebugLineMarker));
  EXPECT_EQ(editor_->CaretLine(), 21);
  EXPECT_TRUE(debugger().Stopped());

  TCallStackPanel* stack = debugger().CallStack();
  ASSERT_EQ(stack->topLevelItemCount(), 1);
  EXPECT_EQ(stack->topLevelItem(0)->text(0), "MAIN");
  EXPECT_EQ(stack->topLevelItem(0)->text(1), "main.f:21");

  TVariablesPanel* vars = debugger().Variables();
  ASSERT_TRUE(Item(vars, "N"));
  EXPECT_EQ(Item(vars, "N")->text(1), "5");
  ASSERT_TRUE(Item(vars, "COMMON /BLK/"));
  EXPECT_EQ(Item(vars, "K")->parent(), Item(vars, "COMMON /BLK/"));
  QTreeWidgetItem* a = Item(vars, "A");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->text(2), "REAL*4 (3,4)");
  a->setExpanded(true);
  ASSERT_EQ(a->childCount(), 4);
  a->child(2)->setExpanded(true);
  ASSERT_TRUE(Item(vars, "A(2,3)"));
  EXPECT_EQ(Item(vars, "A(2,3)")->text(1), "32");

  debugger().Watch()->AddExpression("A(2,:)");
  debugger().Watch()->AddExpression("N*2");
  EXPECT_EQ(debugger().Watch()->topLevelItem(0)->text(1), "(12, 22, 32, 42)");
  EXPECT_EQ(debugger().Watch()->topLevelItem(1)->text(1), "10");
  EXPECT_EQ(debugger().ValueTip("ISUM"), "ISUM = 10");
  // The tip over the name in the text: line 21 is "        ISUM = ISUM + N".
  TStreakSynEdit* edit = editor_->SynEdit();
  const long lineStart = edit->SendScintilla(QsciScintilla::SCI_POSITIONFROMLINE, 20L);
  ASSERT_TRUE(edit->HoverTip);
  EXPECT_EQ(edit->HoverTip(lineStart + 16), "ISUM = 10");
  EXPECT_EQ(edit->HoverTip(lineStart + 22), "N = 5");

  if (const char* shots = std::getenv("VORTAN_SCREENSHOT_DIR")) {
    main_->resize(1200, 800);
    QCoreApplication::processEvents();
    test::Framed(main_.get()).save(QString::fromLocal8Bit(shots) + "/debugger.png");
  }

  // Into the subroutine of the other file and out again.
  Trigger("actStepOver");
  ASSERT_TRUE(updated.wait(30000));
  Trigger("actDebugContinue");  // the condition holds no more: on to the CALL
  QSignalSpy ended(&debugger(), &TDebugController::Ended);
  prompts_.Answer(TModalResult::OK);
  ASSERT_TRUE(ended.wait(30000));
  EXPECT_NE(ended.front().front().toString().toStdString().find("exit code 0"), std::string::npos);
  // Back to normal: no current line, empty panels, the commands of a stopped program off.
  EXPECT_FALSE(Marked(editor_, 21, marks::kDebugLineMarker));
  EXPECT_TRUE(Marked(editor_, 21, marks::kBreakpointMarker));
  EXPECT_EQ(vars->topLevelItemCount(), 0);
  EXPECT_EQ(stack->topLevelItemCount(), 0);
  main_->UpdateActions();
  EXPECT_FALSE(main_->Action("actStepOver")->isEnabled());
  EXPECT_TRUE(main_->Action("actDebugStart")->isEnabled());
}

TEST_F(DebuggerTest, StepsIntoTheOtherFileOpensItAndStopEndsQuietly) {
  ClickGutter(editor_, 21);
  ASSERT_TRUE(Marked(editor_, 21, marks::kBreakpointMarker));
  QSignalSpy updated(&debugger(), &TDebugController::PanelsUpdated);
  Trigger("actDebugStart");
  ASSERT_TRUE(updated.wait(60000));
  Trigger("actStepInto");
  ASSERT_TRUE(updated.wait(30000));
  TfrmEditor* sub = main_->Documents().Active();
  ASSERT_TRUE(sub);
  EXPECT_NE(sub->FileName().find("sub.f"), std::string::npos);
  EXPECT_TRUE(Marked(sub, 4, marks::kDebugLineMarker));
  ASSERT_EQ(debugger().CallStack()->topLevelItemCount(), 2);
  // The caller's frame: its line is shown and its variables.
  emit debugger().CallStack()->FrameChosen(1);
  EXPECT_TRUE(Marked(editor_, 21, marks::kDebugLineMarker));
  EXPECT_TRUE(Item(debugger().Variables(), "ISUM"));
  Trigger("actStepOut");
  ASSERT_TRUE(updated.wait(30000));
  EXPECT_EQ(debugger().CallStack()->topLevelItemCount(), 1);

  QSignalSpy ended(&debugger(), &TDebugController::Ended);
  const std::size_t asked = prompts_.asked.size();
  Trigger("actDebugStop");
  ASSERT_TRUE(ended.wait(30000));
  EXPECT_FALSE(debugger().Active());
  // A stop by the user asks nothing.
  EXPECT_EQ(prompts_.asked.size(), asked);
  EXPECT_FALSE(Marked(sub, 4, marks::kDebugLineMarker));
  // After a session a click still clears the breakpoint, once.
  ClickGutter(editor_, 21);
  EXPECT_FALSE(Marked(editor_, 21, marks::kBreakpointMarker));
  EXPECT_EQ(ReadString(sidBreakpoints).find("main.f"), std::string::npos);
}

TEST_F(DebuggerTest, AnOutOfBoundsSubscriptStopsAtItsLineAndSaysSo) {
  WriteString(sidAdditionalCompilerOptionsParameters, "-fcheck=bounds");
  TfrmEditor* crash = main_->Documents().Open(dir_.Write("crash.f",
                                                         "      PROGRAM OOB\n"
                                                         "      INTEGER A(3), I\n"
                                                         "      I = 4\n"
                                                         "      A(I) = 1\n"
                                                         "      PRINT *, A(1)\n"
                                                         "      END\n"));
  ASSERT_TRUE(crash);
  QSignalSpy updated(&debugger(), &TDebugController::PanelsUpdated);
  prompts_.Answer(TModalResult::OK);
  Trigger("actDebugStart");
  ASSERT_TRUE(updated.wait(60000));
  ASSERT_FALSE(prompts_.asked.empty());
  EXPECT_NE(prompts_.asked.back().Text.find("crash.f, line 4"), std::string::npos)
      << prompts_.asked.back().Text;
  EXPECT_TRUE(Marked(crash, 4, marks::kDebugLineMarker));
  EXPECT_EQ(Item(debugger().Variables(), "I")->text(1), "4");
}

TEST_F(DebuggerTest, AMissingDebuggerSaysSo) {
  debugger().Gdb = dir_ / "no-gdb";
  prompts_.Answer(TModalResult::OK);
  Trigger("actDebugStart");
  QTRY_VERIFY_WITH_TIMEOUT(!prompts_.asked.empty(), 60000);
  EXPECT_NE(prompts_.asked.back().Text.find("no-gdb"), std::string::npos);
  EXPECT_FALSE(debugger().Active());
  main_->UpdateActions();
  EXPECT_TRUE(main_->Action("actDebugStart")->isEnabled());
}

}  // namespace
}  // namespace vortan
