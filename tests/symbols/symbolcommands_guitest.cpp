// The commands that know the code, on the main window with their keys: Go to Definition and
// Back/Forward, Find References, the Symbols panel, the call trees, completion; the indexer
// following edits, the disk and its cache. Prompts are scripted; waits are on conditions.
#include <gtest/gtest.h>

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>

#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "shell/mainwindow.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"
#include "symbols/ui/symbolcommands.h"
#include "symbols/ui/symbolindexer.h"
#include "symbols/ui/symbolspanel.h"

namespace vortan {
namespace {

constexpr int kIndexWaitMs = 60000;  // a cold index of LAPACK on a busy machine

const char* kMain =
    "      PROGRAM MAIN\n"
    "      COMMON /STATE/ K\n"
    "      CALL WORK(1)\n"
    "      CALL WORK(2)\n"
    "   10 CONTINUE\n"
    "      GO TO 10\n"
    "      END\n";
const char* kWork =
    "C     Does the work, and calls itself.\n"
    "      SUBROUTINE WORK(N)\n"
    "      COMMON /STATE/ K\n"
    "      IF (N .GT. 0) CALL WORK(N - 1)\n"
    "      END\n";

class SymbolCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The symbol cache goes to the user's cache folder: here, one of the test's own.
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(dir_ / "cache"));
    ASSERT_TRUE(OpenStore(dir_ / "store.sqlite").Ok);
    Start();
  }
  void TearDown() override {
    prompts_.AnswerAlways(TModalResult::No);
    main_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    CloseStore();
    qunsetenv("XDG_CACHE_HOME");
  }
  void Start() {
    main_ = std::make_unique<TfrmMain>();
    main_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
  }
  bool Activate() {
    main_->activateWindow();
    return QTest::qWaitForWindowActive(main_.get());
  }
  // Opens the file and waits for the index that holds it.
  TfrmEditor* Open(const std::string& file) {
    TfrmEditor* e = main_->OpenSourceFile(file);
    if (!e) return nullptr;
    WaitIndexed(file);
    return e;
  }
  void WaitIndexed(const std::string& file) {
    TSymbolIndexer& ix = main_->SymbolIndexer();
    QTRY_VERIFY_WITH_TIMEOUT(!ix.Busy() && ix.Index().Symbols(file) != nullptr, kIndexWaitMs);
  }
  // Puts the caret on `word` in line `line` (1-based) and runs the key there.
  void KeyOn(TfrmEditor* e, int line, const std::string& word, Qt::Key key,
             Qt::KeyboardModifiers mods) {
    const std::string text = e->Line(line);
    const auto col = text.find(word);
    ASSERT_NE(col, std::string::npos) << word << " in " << text;
    e->SynEdit()->setCursorPosition(line - 1, static_cast<int>(col) + 1);
    e->SynEdit()->setFocus();
    ASSERT_TRUE(Activate());
    main_->UpdateActions();
    QTest::keyClick(e->SynEdit(), key, mods);
  }
  TfrmEditor* Active() const { return main_->ActiveEditor(); }
  int CaretLine() const { return Active()->CaretLine(); }

  test::TTempDir dir_;
  test::TScriptedPrompts prompts_;
  std::unique_ptr<TfrmMain> main_;
};

TEST_F(SymbolCommandsTest, GoToDefinitionBackAndForwardByTheirKeysAndCtrlClick) {
  const std::string main = dir_.Write("src/main.f", kMain);
  const std::string work = dir_.Write("src/work.f", kWork);
  // Nothing to ask yet, and nowhere to go back to: the commands are off.
  main_->UpdateActions();
  EXPECT_FALSE(main_->Action("actGoToDefinition")->isEnabled());
  TfrmEditor* m = Open(main);
  ASSERT_NE(m, nullptr);
  main_->UpdateActions();
  EXPECT_TRUE(main_->Action("actGoToDefinition")->isEnabled());
  EXPECT_FALSE(main_->Action("actGoBack")->isEnabled());
  // The other source of the folder is indexed too, without being opened.
  ASSERT_NE(main_->SymbolIndexer().Index().Symbols(work), nullptr);

  KeyOn(m, 3, "WORK", Qt::Key_F12, Qt::ControlModifier);
  ASSERT_EQ(Active()->FileName(), work);
  EXPECT_EQ(CaretLine(), 2);
  ASSERT_TRUE(Activate());
  main_->UpdateActions();
  QTest::keyClick(Active()->SynEdit(), Qt::Key_Left, Qt::AltModifier);  // Back
  EXPECT_EQ(Active()->FileName(), main);
  EXPECT_EQ(CaretLine(), 3);
  ASSERT_TRUE(Activate());
  main_->UpdateActions();
  QTest::keyClick(m->SynEdit(), Qt::Key_Right, Qt::AltModifier);  // Forward
  EXPECT_EQ(Active()->FileName(), work);
  EXPECT_EQ(CaretLine(), 2);

  // A word with no definition says so and stays.
  main_->ActivateEditor(m);
  KeyOn(m, 5, "CONTINUE", Qt::Key_F12, Qt::ControlModifier);
  EXPECT_EQ(Active(), m);
  EXPECT_EQ(main_->statusBar()->currentMessage(), "No definition found for 'CONTINUE'");

  // A label goes to its statement in the unit; a COMMON name written twice offers a list.
  main_->ActivateEditor(m);
  KeyOn(m, 6, "10", Qt::Key_F12, Qt::ControlModifier);
  EXPECT_EQ(Active(), m);
  EXPECT_EQ(CaretLine(), 5);
  KeyOn(m, 2, "STATE", Qt::Key_F12, Qt::ControlModifier);
  QMenu* choices = main_->SymbolCommands().Choices();
  ASSERT_NE(choices, nullptr);
  QTRY_VERIFY(choices->isVisible());
  ASSERT_EQ(choices->actions().size(), 2);
  choices->actions().at(1)->trigger();
  EXPECT_EQ(Active()->FileName(), work);
  EXPECT_EQ(CaretLine(), 3);

  // Ctrl+click on a name.
  main_->ActivateEditor(m);
  TStreakSynEdit* s = m->SynEdit();
  const long pos = s->SendScintilla(QsciScintillaBase::SCI_FINDCOLUMN, 3, 13);  // line 4, "WORK"
  const QPoint at(
      static_cast<int>(s->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, pos)) + 2,
      static_cast<int>(s->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, pos)) + 2);
  QTest::mouseClick(s->viewport(), Qt::LeftButton, Qt::ControlModifier, at);
  EXPECT_EQ(Active()->FileName(), work);
  EXPECT_EQ(CaretLine(), 2);
}

TEST_F(SymbolCommandsTest, ThePanelListsTheUnitsFiltersAndGoesToTheLine) {
  const std::string main = dir_.Write("src/main.f", kMain);
  dir_.Write("src/work.f", kWork);
  TfrmEditor* m = Open(main);
  ASSERT_NE(m, nullptr);
  ASSERT_TRUE(Activate());
  main_->UpdateActions();
  QTest::keyClick(m->SynEdit(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(main_->SymbolsWindow()->isVisible());
  TSymbolsPanel& panel = main_->SymbolsPanel();
  QTreeWidget* tree = panel.Tree();
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  EXPECT_EQ(tree->topLevelItem(0)->text(0), "PROGRAM MAIN");
  ASSERT_EQ(tree->topLevelItem(0)->childCount(), 2);  // COMMON /STATE/ and label 10

  panel.ModeBox()->setCurrentIndex(TSymbolsPanel::AllFiles);
  ASSERT_EQ(tree->topLevelItemCount(), 2);  // main.f and work.f
  QTest::keyClicks(panel.FilterBox(), "wor");
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  QTreeWidgetItem* unit = tree->topLevelItem(0)->child(0);
  EXPECT_EQ(unit->text(0), "SUBROUTINE WORK(N)");
  tree->scrollToItem(unit);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(unit).center());
  ASSERT_NE(Active(), m);
  EXPECT_EQ(Active()->FileName(), dir_ / "src/work.f");
  EXPECT_EQ(CaretLine(), 2);
}

TEST_F(SymbolCommandsTest, CallTreeAndCalledByTreeShowRecursionOnce) {
  const std::string main = dir_.Write("src/main.f", kMain);
  dir_.Write("src/work.f", kWork);
  TfrmEditor* m = Open(main);
  ASSERT_NE(m, nullptr);
  m->SynEdit()->setCursorPosition(0, 0);
  ASSERT_TRUE(Activate());
  main_->UpdateActions();
  main_->Action("actCallTree")->trigger();
  QTreeWidget* tree = main_->SymbolsPanel().Tree();
  ASSERT_TRUE(main_->SymbolsWindow()->isVisible());
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  QTreeWidgetItem* root = tree->topLevelItem(0);
  EXPECT_EQ(root->text(0), "MAIN");
  ASSERT_EQ(root->childCount(), 1);
  QTreeWidgetItem* work = root->child(0);
  work->setExpanded(true);
  ASSERT_EQ(work->childCount(), 1);
  EXPECT_TRUE(work->child(0)->text(0).endsWith("(recursive)"))
      << work->child(0)->text(0).toStdString();
  EXPECT_EQ(work->child(0)->childIndicatorPolicy(),
            QTreeWidgetItem::DontShowIndicatorWhenChildless);

  main_->Action("actCalledByTree")->trigger();  // the unit holding the caret: MAIN
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  EXPECT_EQ(tree->topLevelItem(0)->childCount(), 0);
}

TEST_F(SymbolCommandsTest, FindReferencesListsUsesAndADoubleClickGoesThere) {
  const std::string main = dir_.Write("src/main.f", kMain);
  const std::string work = dir_.Write("src/work.f", kWork);
  TfrmEditor* m = Open(main);
  ASSERT_NE(m, nullptr);
  KeyOn(m, 3, "WORK", Qt::Key_F12, Qt::ShiftModifier);
  QTreeWidget* tree = main_->SymbolsPanel().Tree();
  ASSERT_TRUE(main_->SymbolsWindow()->isVisible());
  ASSERT_EQ(tree->topLevelItemCount(), 3);  // two in main.f, one in work.f
  QTreeWidgetItem* last = tree->topLevelItem(2);
  EXPECT_EQ(last->text(0), "work.f");
  EXPECT_EQ(last->text(1), "4");
  EXPECT_EQ(last->text(2), "IF (N .GT. 0) CALL WORK(N - 1)");
  tree->scrollToItem(last);
  // A single click leaves the list as it is: the results can be read through.
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(last).center());
  EXPECT_EQ(Active(), m);
  QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(last).center());
  EXPECT_EQ(Active()->FileName(), work);
  EXPECT_EQ(CaretLine(), 4);
}

TEST_F(SymbolCommandsTest, CompletionTipsAndTheIndexFollowTheTyping) {
  const std::string main = dir_.Write("src/main.f", kMain);
  dir_.Write("src/work.f", kWork);
  TfrmEditor* m = Open(main);
  ASSERT_NE(m, nullptr);
  TStreakSynEdit* s = m->SynEdit();
  // A new line typed before END: "      CALL WO", Ctrl+Space, Enter.
  s->setCursorPosition(6, 0);
  s->setFocus();
  ASSERT_TRUE(Activate());
  QTest::keyClick(s, Qt::Key_Return);
  QTest::keyClick(s, Qt::Key_Up);
  QTest::keyClicks(s, "      CALL WO");
  main_->UpdateActions();
  QTest::keyClick(s, Qt::Key_Space, Qt::ControlModifier);
  ASSERT_TRUE(s->SendScintilla(QsciScintillaBase::SCI_AUTOCACTIVE));
  QTest::keyClick(s, Qt::Key_Return);
  EXPECT_EQ(m->Line(7), "      CALL WORK");
  // The argument tip opens with the parenthesis.
  QTest::keyClicks(s, "(");
  EXPECT_TRUE(s->SendScintilla(QsciScintillaBase::SCI_CALLTIPACTIVE));

  // The index reads the editor's text by itself once typing stops: no call to Index() here,
  // which would read it at once.
  QSignalSpy changed(&main_->SymbolIndexer(), &TSymbolIndexer::Changed);
  QTest::keyClicks(s, "3)");
  QTest::keyClick(s, Qt::Key_Return);
  QTest::keyClicks(s, "      CALL NEWONE");
  ASSERT_TRUE(changed.wait(5000));
  EXPECT_EQ(main_->SymbolIndexer().Index().UnitReferences("NEWONE").size(), 1u);

  // Completion opens by itself after three letters only when the user turned it on.
  for (bool on : {false, true}) {
    main_->SymbolCommands().SetAutoComplete(on);
    QTest::keyClick(s, Qt::Key_Return);
    QTest::keyClicks(s, "      X = WOR");
    EXPECT_EQ(s->SendScintilla(QsciScintillaBase::SCI_AUTOCACTIVE) != 0, on);
    QTest::keyClick(s, Qt::Key_Escape);
  }

  // The tip over a unit's name: its header and its comment.
  EXPECT_EQ(main_->SymbolCommands().TipAt(m, 3, 12),
            "<pre>SUBROUTINE WORK(N)\n\nDoes the work, and calls itself.</pre>");
  EXPECT_TRUE(main_->SymbolCommands().TipAt(m, 2, 8).isEmpty());  // COMMON is no unit
}

TEST_F(SymbolCommandsTest, WhatTheIndexSkipsIsSaidOnceAndTheRestIsIndexed) {
  const std::string main = dir_.Write("src/main.f", kMain);
  const std::string junk = dir_.Write("src/junk.f", std::string("\x7f"
                                                                "ELF\0\0\x01",
                                                                7));
  QSignalSpy said(&main_->SymbolIndexer(), &TSymbolIndexer::Problems);
  ASSERT_NE(Open(main), nullptr);
  ASSERT_EQ(said.size(), 1);
  const QStringList first = said.front().front().toStringList();
  ASSERT_EQ(first.size(), 1);
  EXPECT_TRUE(first.front().contains("junk.f")) << first.front().toStdString();
  EXPECT_EQ(main_->SymbolsStatus()->toolTip(), first.front());
  // The next index of the same folder skips it again, silently.
  main_->SymbolIndexer().Refresh();
  QSignalSpy replaced(&main_->SymbolIndexer(), &TSymbolIndexer::Replaced);
  ASSERT_TRUE(replaced.wait(10000));
  EXPECT_EQ(said.size(), 1);
  EXPECT_EQ(main_->SymbolIndexer().Index().Symbols(junk), nullptr);
  EXPECT_NE(main_->SymbolIndexer().Index().Symbols(main), nullptr);
}

TEST_F(SymbolCommandsTest, AFileAddedOnDiskIsIndexedAndASecondStartReadsTheCache) {
  const std::string main = dir_.Write("src/main.f", kMain);
  ASSERT_NE(Open(main), nullptr);
  dir_.Write("src/later.f", "      SUBROUTINE LATER\n      END\n");
  TSymbolIndexer& ix = main_->SymbolIndexer();
  QTRY_VERIFY_WITH_TIMEOUT(!ix.Index().UnitDefinitions("LATER").empty(), 10000);
  EXPECT_TRUE(main_->SymbolsStatus()->text().contains("2"));

  prompts_.AnswerAlways(TModalResult::No);
  main_.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  Start();
  ASSERT_NE(Open(main), nullptr);
  EXPECT_EQ(main_->SymbolIndexer().Index().CachedCount(), 2u);
}

// The reference LAPACK sources, read in place.
class SymbolCommandsLapack : public SymbolCommandsTest {
 protected:
  void SetUp() override {
    if (!std::filesystem::exists(root_ + "/SRC/dgesv.f"))
      GTEST_SKIP() << "the reference LAPACK sources are not in " << root_;
    SymbolCommandsTest::SetUp();
  }
  // The first line of the file that starts with `text` (or, with `anywhere`, holds it); 0 when
  // none does.
  static int LineStarting(const std::string& file, const std::string& text, bool anywhere = false) {
    std::ifstream in(file);
    int n = 0;
    for (std::string l; std::getline(in, l);)
      if (++n && (anywhere ? l.find(text) != std::string::npos : l.rfind(text, 0) == 0)) return n;
    return 0;
  }
  const std::string root_ = VORTAN_LAPACK_CORPUS;
};

TEST_F(SymbolCommandsLapack, GoToDefinitionOfDgetrfFromDgesvLandsOnItsSubroutineLine) {
  const std::string dgesv = root_ + "/SRC/dgesv.f";
  TfrmEditor* e = Open(dgesv);
  ASSERT_NE(e, nullptr);
  const int call = LineStarting(dgesv, "      CALL DGETRF(");
  ASSERT_GT(call, 0);
  KeyOn(e, call, "DGETRF", Qt::Key_F12, Qt::ControlModifier);
  const std::string dgetrf = root_ + "/SRC/dgetrf.f";
  ASSERT_EQ(Active()->FileName(), dgetrf);
  EXPECT_EQ(CaretLine(), LineStarting(dgetrf, "      SUBROUTINE DGETRF("));
}

TEST_F(SymbolCommandsLapack, TheReferencesOfDgemmAgreeWithACountByHand) {
  const std::string dgetrf = root_ + "/SRC/dgetrf.f";
  ASSERT_NE(main_->OpenSourceFile(root_ + "/BLAS/SRC/dgemm.f"), nullptr);
  TfrmEditor* e = Open(dgetrf);
  ASSERT_NE(e, nullptr);
  WaitIndexed(root_ + "/BLAS/SRC/dgemm.f");
  // By hand: the lines outside comments that hold "CALL DGEMM(" in the sources directly in
  // SRC and BLAS/SRC (the folders of the two open files; none of LAPACK's calls is split
  // over a continuation line), as `grep -i -E '^[^cC*!#].*CALL +DGEMM *\('` counts them.
  const std::regex call(R"(^[^cC*!#].*CALL +DGEMM *\()", std::regex::icase);
  std::size_t byHand = 0;
  for (const char* folder : {"/SRC", "/BLAS/SRC"})
    for (const auto& f : std::filesystem::directory_iterator(root_ + folder)) {
      const std::string ext = f.path().extension().string();
      if (ext != ".f" && ext != ".F") continue;
      std::ifstream in(f.path());
      for (std::string l; std::getline(in, l);) byHand += std::regex_search(l, call);
    }
  ASSERT_GT(byHand, 100u);
  KeyOn(e, LineStarting(dgetrf, "CALL DGEMM(", true), "DGEMM", Qt::Key_F12, Qt::ShiftModifier);
  EXPECT_EQ(static_cast<std::size_t>(main_->SymbolsPanel().Tree()->topLevelItemCount()), byHand);
}

}  // namespace
}  // namespace vortan
