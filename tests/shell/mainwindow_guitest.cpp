// The main window's document protocol, driven offscreen with scripted answers.
#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <sstream>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "i18n/parlax.h"
#include "i18n/ui/translator.h"
#include "jobs/ui/debugcontroller.h"
#include "jobs/ui/watchpanel.h"
#include "shell/actionregistry.h"
#include "shell/actiontable.h"
#include "shell/iconsets.h"
#include "shell/mainwindow.h"
#include "support/files.h"
#include "support/mainwindowfixture.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

using test::TScriptedPrompts;
using test::TTempDir;

using vortan::test::ReadFile;

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

using test::SettleDeletes;

class MainWindowTest : public test::MainWindowFixture {
 protected:
  std::string File(const std::string& name, const std::string& text = "      END\n") {
    return dir_.Write(name, text);
  }
  TfrmEditor* NewModified(const std::string& text = "      PRINT *, 'X'\n") {
    TfrmEditor* e = main_->OpenSourceFile("");
    e->SetText(text);
    e->SetModified(true);
    return e;
  }
  std::size_t EditorCount() {
    SettleDeletes();
    return main_->Editors().size();
  }
};

TEST_F(MainWindowTest, OpeningAnOpenFileActivatesItsWindowAndMovesItToTheTopOfTheHistory) {
  struct Case {
    const char* what;
    bool hardLink;
  };
  for (const Case c : {Case{"same path", false}, Case{"another name of the same file", true}}) {
    SCOPED_TRACE(c.what);
    const std::string a = File(std::string("a_") + (c.hardLink ? "l" : "p") + ".f");
    const std::string b = File(std::string("b_") + (c.hardLink ? "l" : "p") + ".f");
    std::string again = a;
    if (c.hardLink) {
      again = dir_ / "link_to_a.f";
      ASSERT_EQ(::link(a.c_str(), again.c_str()), 0);
    }
    TfrmEditor* ea = main_->OpenSourceFile(a);
    main_->OpenSourceFile(b);
    ASSERT_EQ(main_->ActiveEditor()->FileName(), b);

    EXPECT_EQ(main_->OpenSourceFile(again), ea);
    EXPECT_EQ(main_->ActiveEditor(), ea);
    EXPECT_EQ(main_->Editors().size(), 2u);
    ASSERT_GE(main_->History().size(), 2u);
    EXPECT_EQ(main_->History()[0], a);  // the entry keeps the name it was stored with
    EXPECT_EQ(main_->History()[1], b);

    prompts_.AnswerAlways(TModalResult::No);
    main_->CloseAll();
    ASSERT_EQ(EditorCount(), 0u);
  }
}

TEST_F(MainWindowTest, HistoryHoldsTenFilesAndBackgroundFilesEnterBelowTheTop) {
  std::vector<std::string> files;
  for (int i = 0; i < 11; ++i) files.push_back(File("h" + std::to_string(i) + ".f"));
  for (const std::string& f : files) main_->OpenSourceFile(f);
  ASSERT_EQ(main_->History().size(), 10u);
  EXPECT_EQ(main_->History().front(), files[10]);
  EXPECT_EQ(main_->History().back(), files[1]);  // the eleventh pushed out the first

  main_->OpenSourceFile(files[5]);  // already open and listed: moves, the list keeps its size
  EXPECT_EQ(main_->History().front(), files[5]);
  EXPECT_EQ(main_->History().size(), 10u);

  const std::string analyzed = File("analyzed.f");
  TfrmEditor* active = main_->ActiveEditor();
  TfrmEditor* background = main_->OpenSourceFile(analyzed, true);
  ASSERT_NE(background, nullptr);
  EXPECT_EQ(main_->ActiveEditor(), active);
  EXPECT_EQ(main_->History()[0], files[5]);
  EXPECT_EQ(main_->History()[1], analyzed);
  EXPECT_TRUE(main_->SubWindowOf(background)->isMinimized());
}

// The analyzer's files open as icons: listed in the Window menu, arranged by Arrange Icons and
// reached by Next Window, while the window the user works in stays active as it was.
TEST_F(MainWindowTest, BackgroundWindowsAreListedArrangedAndReachedByNextWindow) {
  for (const bool maximized : {false, true}) {
    SCOPED_TRACE(maximized ? "active window maximised" : "active window normal");
    WriteBool(sidNewWindowMaximized, maximized);
    TfrmEditor* active = main_->OpenSourceFile(File("front.f"));
    TfrmEditor* background = main_->OpenSourceFile(File("analyzed.f"), true);
    ASSERT_NE(background, nullptr);
    QCoreApplication::processEvents();
    QMdiSubWindow* sub = main_->SubWindowOf(background);
    EXPECT_EQ(main_->ActiveEditor(), active);
    EXPECT_EQ(main_->SubWindowOf(active)->isMaximized(), maximized);
    EXPECT_TRUE(sub->isVisible());
    EXPECT_TRUE(sub->isMinimized());

    QMenu* window = main_->Menu("Window");
    emit window->aboutToShow();
    QStringList listed;
    for (QAction* a : window->actions())
      if (a->isCheckable() && a->text().contains(QStringLiteral(".f"))) listed << a->text();
    EXPECT_EQ(listed, (QStringList{QStringLiteral("&1 front.f"), QStringLiteral("&2 analyzed.f")}));

    if (!maximized) {
      sub->move(0, 0);
      main_->UpdateActions();
      main_->Action("actArrangeIcons")->trigger();
      EXPECT_EQ(sub->geometry().bottom(), main_->MdiArea()->viewport()->rect().bottom());
    }

    main_->UpdateActions();
    main_->Action("actNext")->trigger();
    EXPECT_EQ(main_->ActiveEditor(), background);

    prompts_.AnswerAlways(TModalResult::No);
    main_->CloseAll();
    ASSERT_EQ(EditorCount(), 0u);
  }
}

TEST_F(MainWindowTest, PanelMenusListTheirEntriesInOrder) {
  struct Case {
    const char* menu;
    std::vector<std::string> items;
  };
  for (const Case& c :
       {Case{"popOutput", {"actCopyToClipboard", "actClearOutput", "actSelectFont"}},
        Case{"popMessages", {"actClearMessages", "actCopyToClipboard"}}}) {
    SCOPED_TRACE(c.menu);
    auto* menu = main_->findChild<QMenu*>(QString::fromLatin1(c.menu));
    ASSERT_NE(menu, nullptr);
    std::vector<QAction*> expected, shown;
    for (const std::string& name : c.items) expected.push_back(main_->Action(name));
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) shown.push_back(a);
    EXPECT_EQ(shown, expected);
  }
}

TEST_F(MainWindowTest, ReopenListDropsDeletedFilesAndShowsNothingWhenEmpty) {
  const std::string kept = File("kept.f");
  const std::string gone = File("gone.f");
  main_->OpenSourceFile(kept);
  main_->OpenSourceFile(gone);
  prompts_.AnswerAlways(TModalResult::No);
  main_->CloseAll();

  auto entries = [this] {
    QStringList texts;
    for (QAction* a : main_->ReopenMenu()->actions())
      texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
  };
  std::filesystem::remove(gone);
  main_->BuildReopenMenu();
  EXPECT_EQ(main_->History(), std::vector<std::string>{kept});
  QStringList texts = entries();
  ASSERT_EQ(texts.size(), 3);
  EXPECT_EQ(main_->ReopenMenu()->actions()[0], main_->Action("actClearHistory"));
  EXPECT_EQ(texts[2], QStringLiteral("&0  ") + QString::fromStdString(kept));

  std::filesystem::remove(kept);
  main_->BuildReopenMenu();
  EXPECT_TRUE(main_->History().empty());
  texts = entries();
  ASSERT_EQ(texts.size(), 3);
  EXPECT_EQ(texts[1], QStringLiteral("-"));
  EXPECT_EQ(texts[2], QStringLiteral("(nothing)"));
  EXPECT_FALSE(main_->ReopenMenu()->actions()[2]->isEnabled());
}

TEST_F(MainWindowTest, SavingUnderANameWithoutExtensionWritesDotFAndBacksUpTheOldFile) {
  File("test.f", "OLD\n");
  TfrmEditor* e = NewModified("NEW\n");
  ASSERT_TRUE(main_->SaveEditorAs(dir_ / "test", e));
  EXPECT_EQ(e->FileName(), dir_ / "test.f");
  EXPECT_EQ(e->Caption(), QStringLiteral("test.f"));
  EXPECT_FALSE(e->Modified());
  EXPECT_TRUE(StartsWith(ReadFile(dir_ / "test.f"), "NEW"));
  EXPECT_EQ(ReadFile(dir_ / "test.~f"), "OLD\n");
  EXPECT_EQ(main_->History().front(), dir_ / "test.f");
  EXPECT_FALSE(std::filesystem::exists(dir_ / "test"));
}

TEST_F(MainWindowTest, CloseAllWithNoToAllClosesEveryWindowAfterOneQuestion) {
  for (int i = 0; i < 3; ++i) NewModified();
  prompts_.Answer(TModalResult::NoToAll);
  main_->CloseAll();
  EXPECT_EQ(EditorCount(), 0u);
  ASSERT_EQ(prompts_.asked.size(), 1u);
  EXPECT_TRUE(prompts_.asked[0].Buttons.Has(TMsgDlgBtn::NoToAll));
  EXPECT_FALSE(main_->BatchClose());
  EXPECT_FALSE(main_->NoToAllChosen());

  // A later single close asks again, without No to All.
  NewModified();
  prompts_.Answer(TModalResult::No);
  main_->UpdateActions();
  main_->Action("actClose")->trigger();
  EXPECT_EQ(EditorCount(), 0u);
  ASSERT_EQ(prompts_.asked.size(), 2u);
  EXPECT_FALSE(prompts_.asked[1].Buttons.Has(TMsgDlgBtn::NoToAll));
}

TEST_F(MainWindowTest, CloseAllStopsAtACancelAndKeepsTheRemainingWindows) {
  for (int i = 0; i < 3; ++i) NewModified();
  prompts_.Answer(TModalResult::No);
  prompts_.Answer(TModalResult::Cancel);
  main_->CloseAll();
  EXPECT_EQ(prompts_.asked.size(), 2u);  // the third window was not asked
  EXPECT_EQ(EditorCount(), 2u);
  EXPECT_FALSE(main_->BatchClose());
}

TEST_F(MainWindowTest, ClosingTheFrameOffersNoToAllOnlyWithSeveralModifiedWindows) {
  struct Case {
    int windows;
    bool noToAll;
  };
  for (const Case c : {Case{1, false}, Case{2, true}}) {
    SCOPED_TRACE(c.windows);
    prompts_.asked.clear();
    for (int i = 0; i < c.windows; ++i) NewModified();
    prompts_.Answer(TModalResult::Cancel);
    main_->close();
    ASSERT_EQ(prompts_.asked.size(), 1u);
    const TMsgDlgButtons b = prompts_.asked[0].Buttons;
    EXPECT_TRUE(b.Has(TMsgDlgBtn::Yes) && b.Has(TMsgDlgBtn::No) && b.Has(TMsgDlgBtn::Cancel));
    EXPECT_EQ(b.Has(TMsgDlgBtn::NoToAll), c.noToAll);
    EXPECT_TRUE(main_->isVisible());  // the Cancel kept the window and its editors
    EXPECT_EQ(EditorCount(), std::size_t(c.windows));
    EXPECT_FALSE(main_->BatchClose());
    prompts_.AnswerAlways(TModalResult::No);
    main_->CloseAll();
    prompts_.AnswerAlways(TModalResult::None);
    ASSERT_EQ(EditorCount(), 0u);
  }
}

TEST_F(MainWindowTest, SaveAllAsksForEachUntitledSourceAndACancelEndsIt) {
  TfrmEditor* first = NewModified("ONE\n");
  TfrmEditor* second = NewModified("TWO\n");

  prompts_.AnswerFiles({});  // the first dialog is cancelled: the second never comes
  main_->SaveAll();
  ASSERT_EQ(prompts_.fileDialogs.size(), 1u);
  EXPECT_EQ(prompts_.fileDialogs[0].FileName, "Source1.f");  // the back window comes first
  EXPECT_EQ(prompts_.fileDialogs[0].Title, "Save As");

  prompts_.AnswerFiles({dir_ / "one.f"});
  prompts_.AnswerFiles({dir_ / "two"});
  main_->SaveAll();
  ASSERT_EQ(prompts_.fileDialogs.size(), 3u);
  EXPECT_EQ(prompts_.fileDialogs[2].FileName, "Source2.f");
  EXPECT_EQ(first->FileName(), dir_ / "one.f");
  EXPECT_EQ(second->FileName(), dir_ / "two.f");
  EXPECT_TRUE(StartsWith(ReadFile(dir_ / "two.f"), "TWO"));

  main_->SaveAll();  // both have names now: written again without a dialog
  EXPECT_EQ(prompts_.fileDialogs.size(), 3u);
}

TEST_F(MainWindowTest, FullScreenTwiceRestoresGeometryAndState) {
  for (bool maximized : {false, true}) {
    SCOPED_TRACE(maximized);
    main_->showNormal();
    main_->setGeometry(40, 50, 640, 480);
    if (maximized) main_->showMaximized();
    QCoreApplication::processEvents();
    const QRect normal = main_->normalGeometry().isValid() && maximized ? main_->normalGeometry()
                                                                        : main_->geometry();
    const Qt::WindowStates state = main_->windowState();

    main_->Action("actFullScreen")->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(main_->IsFullScreen());
    main_->UpdateActions();
    EXPECT_TRUE(main_->Action("actFullScreen")->isChecked());
    EXPECT_EQ(main_->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(main_->geometry().size(), main_->screen()->geometry().size());

    main_->Action("actFullScreen")->trigger();
    QCoreApplication::processEvents();
    EXPECT_FALSE(main_->IsFullScreen());
    EXPECT_EQ(main_->windowState(), state);
    EXPECT_EQ(maximized ? main_->normalGeometry() : main_->geometry(), normal);
  }
}

TEST_F(MainWindowTest, AFileOpensWithItsFirstLineAtTheTop) {
  std::string text;
  for (int i = 1; i <= 300; ++i) text += "      X = " + std::to_string(i) + "\n";
  struct Case {
    const char* what;
    bool beforeShown, maximized;
    int fontSize;
  };
  // Files named on the command line open before the main window is shown, while an editor is
  // still too small to show a line of a large font.
  const Case cases[] = {
      {"command line, maximized", true, true, 9},
      {"command line, normal", true, false, 9},
      {"command line, large font", true, true, 20},
      {"shown window, maximized", false, true, 9},
      {"shown window, normal, large font", false, false, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBool(sidNewWindowMaximized, c.maximized);
    WriteInteger(sidFontSize, c.fontSize);
    auto fresh = c.beforeShown ? std::make_unique<TfrmMain>() : nullptr;
    TfrmMain* main = c.beforeShown ? fresh.get() : main_.get();
    TfrmEditor* e = main->OpenSourceFile(File(std::string(c.what) + ".f", text));
    ASSERT_TRUE(e);
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(e));
    QApplication::processEvents();
    EXPECT_EQ(e->CaretLine(), 1);
    EXPECT_EQ(e->CaretColumn(), 1);
    EXPECT_EQ(e->SynEdit()->SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE), 0);
    fresh.reset();
    SettleDeletes();
  }
}

TEST_F(MainWindowTest, OpeningAFileAppliesTheSettingsToItsEditorOnly) {
  TfrmEditor* a = main_->OpenSourceFile(File("a.f"));
  WriteBool(sidShowSpecialChars, true);  // as if written behind the windows' back
  TfrmEditor* b = main_->OpenSourceFile(File("b.f"));
  EXPECT_TRUE(b->SynEdit()->Options().Settings.ShowSpecialChars);
  EXPECT_FALSE(a->SynEdit()->Options().Settings.ShowSpecialChars)
      << "the other editors are left alone";

  main_->ApplyMergeStatusbar(true);  // a command that applies the settings to every editor
  EXPECT_TRUE(a->SynEdit()->Options().Settings.ShowSpecialChars);
  EXPECT_TRUE(a->StatusBar()->isHidden());
  EXPECT_TRUE(b->StatusBar()->isHidden());
  EXPECT_EQ(main_->statusBar()->findChild<QLabel*>(QStringLiteral("pnl0"))->text(),
            b->StatusText(0));
}

TEST_F(MainWindowTest, PositionPanelFitsLineAndColumnOfALongFile) {
  // A desktop font somewhat larger than the default one, as on many screens.
  const QFont before = QApplication::font();
  QFont large = before;
  large.setPixelSize(16);
  QApplication::setFont(large);
  const std::string big = File("big.f", std::string(136092, '\n') + "      END\n");
  for (const bool merged : {false, true}) {
    SCOPED_TRACE(merged ? "merged" : "own status bar");
    main_->ApplyMergeStatusbar(merged);
    TfrmEditor* e = main_->OpenSourceFile(big);
    ASSERT_TRUE(e);
    e->SetCaret(136093, 10);
    QLabel* panel = merged ? main_->statusBar()->findChild<QLabel*>(QStringLiteral("pnl0"))
                           : e->StatusBar()->findChildren<QLabel*>().value(0);
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->text(), "136093 :  10   ");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
          return panel->isVisible() && panel->contentsRect().width() >=
                                           panel->fontMetrics().horizontalAdvance(panel->text());
        },
        3000))
        << panel->contentsRect().width() << " pixels for "
        << panel->fontMetrics().horizontalAdvance(panel->text());
  }
  QApplication::setFont(before);
}

TEST_F(MainWindowTest, ToggleBookmarkClearsItOnItsLineAndMovesItFromAnotherLine) {
  TfrmEditor* e = NewModified("A\nB\nC\nD\nE\n");
  main_->UpdateActions();
  int line = 0;
  e->SetCaret(2, 1);
  main_->Action("actToggle3")->trigger();
  ASSERT_TRUE(e->IsBookmarkSet(3, &line));
  EXPECT_EQ(line, 2);

  e->SetCaret(4, 1);
  main_->Action("actToggle3")->trigger();  // another line: moves there
  ASSERT_TRUE(e->IsBookmarkSet(3, &line));
  EXPECT_EQ(line, 4);

  main_->Action("actToggle3")->trigger();  // its own line: removed
  EXPECT_FALSE(e->IsBookmarkSet(3));
}

TEST(ActionTable, EveryTemplateActionHasOneActionAndEveryActionHasItsTexts) {
  TParlax t;
  t.LoadFromResource();
  const TParlaxItem& form = t.Root().Section(TParlaxSection::Objects).Child("Form:Main");
  std::set<std::string> inTemplate;
  for (std::size_t g = 0; g < form.ChildCount(); ++g) {
    const TParlaxItem& group = form.ChildAt(g);
    for (std::size_t i = 0; i < group.ChildCount(); ++i) {
      const std::string& name = group.ChildName(i);
      if (name.rfind("Action:", 0) != 0) continue;
      const std::string action = "act" + name.substr(7);
      inTemplate.insert(action);
      const TActionRow* row = FindActionRow(action);
      ASSERT_NE(row, nullptr) << action;
      EXPECT_EQ(row->Group, form.ChildName(g)) << action;
    }
  }
  TIconSets icons;
  for (const TActionRow& row : ActionTable()) {
    EXPECT_TRUE(inTemplate.count(row.Name)) << row.Name;
    for (int set = 0; set < IconSetCount; ++set) {
      EXPECT_LT(row.Image[set], icons.Count(set)) << row.Name;
      if (row.Image[set] >= 0) {
        EXPECT_FALSE(icons.Icon(set, row.Image[set]).isNull()) << row.Name;
      }
    }
  }
  EXPECT_EQ(inTemplate.size(), ActionTable().size());

  // The built actions carry the template's texts.
  QObject owner;
  TActionRegistry actions(&owner);
  for (const TActionRow& row : ActionTable())
    ApplyTo(Block(form, row.Group), std::string("Action:") + row.Key, actions[row.Name],
            {"Caption", "Hint", "Shortcut"});
  EXPECT_EQ(actions["actSaveAll"]->text(), QStringLiteral("Sa&ve All"));
  EXPECT_EQ(actions["actSaveAll"]->shortcut(), QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_S));
  EXPECT_EQ(actions["actClear"]->shortcut(), QKeySequence(Qt::Key_Delete));
  EXPECT_EQ(actions["actExit"]->statusTip(),
            QStringLiteral("Quit the application; prompts to save files"));
}

}  // namespace
}  // namespace vortan

namespace vortan {
namespace {

// Every command the user can see and click does something; keys shared by two commands reach
// one handler.
TEST_F(MainWindowTest, EveryVisibleEnabledCommandHasAHandlerAndEveryKeyOneHandler) {
  NewModified();
  main_->UpdateActions();
  std::map<QKeySequence, const TActionRow*> byKey;
  for (QAction* a : main_->Actions().All()) {
    const TActionRow* row = main_->Actions().Row(a);
    ASSERT_NE(row, nullptr);
    if (!a->isVisible()) continue;
    if (a->isEnabled() && !row->SubmenuHead) {
      EXPECT_NE(row->Run, nullptr) << row->Name << " is enabled but does nothing";
    }
    if (a->shortcut().isEmpty()) continue;
    auto [it, fresh] = byKey.emplace(a->shortcut(), row);
    if (!fresh) {
      EXPECT_EQ(it->second->Run, row->Run)
          << row->Name << " and " << it->second->Name << " share "
          << a->shortcut().toString().toStdString() << " with different handlers";
    }
  }
}

TEST_F(MainWindowTest, ASharedShortcutReachesItsHandler) {
  NewModified();
  NewModified();
  prompts_.AnswerAlways(TModalResult::No);  // do not save
  main_->UpdateActions();
  main_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(main_.get()));
  QTest::keyClick(main_.get(), Qt::Key_F4, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(EditorCount(), 0u);
  // The Window menu's twin still shows the keys.
  EXPECT_TRUE(
      main_->Action("actCloseAll2")
          ->text()
          .endsWith(main_->Action("actCloseAll")->shortcut().toString(QKeySequence::NativeText)));
}

// The debugger's panels can be brought back from the View menu, and the menu's check follows
// the panel however it was closed.
TEST_F(MainWindowTest, ViewMenuTogglesTheDebuggerPanelsAndItsCheckFollowsThem) {
  QMenu* view = main_->Menu("View");
  ASSERT_TRUE(view);
  for (const auto& [name, dock] :
       {std::pair{"actCallStack", "tbrCallStack"}, std::pair{"actVariables", "tbrVariables"},
        std::pair{"actWatch", "tbrWatch"}}) {
    SCOPED_TRACE(name);
    QAction* entry = nullptr;
    for (QAction* a : view->actions())
      if (a == main_->Action(name)) entry = a;
    ASSERT_TRUE(entry) << "not in the View menu";
    auto* panel = main_->findChild<QDockWidget*>(dock);
    ASSERT_TRUE(panel);
    main_->UpdateActions();
    ASSERT_TRUE(entry->isEnabled());
    ASSERT_TRUE(entry->isCheckable());
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(entry->isChecked());

    entry->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->isVisible(); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return entry->isChecked(); }));
    // Closed by its own title bar's button, the panel unchecks its entry.
    panel->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !entry->isChecked(); }));
    entry->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->isVisible(); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return entry->isChecked(); }));
    entry->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel->isVisible(); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !entry->isChecked(); }));
  }
}

// What the user watches is kept for the next session; a list too long for the store keeps
// the expressions that fit rather than an older list.
TEST_F(MainWindowTest, WatchExpressionsSurviveANewMainWindowOverTheSameStore) {
  auto type = [](TWatchPanel* watch, int row, const QString& text) {
    watch->topLevelItem(row)->setText(0, text);
  };
  auto placeholder = [](TWatchPanel* watch) { return watch->topLevelItemCount() - 1; };
  TWatchPanel* watch = main_->Debugger().Watch();
  type(watch, placeholder(watch), "A(2,3)");
  type(watch, placeholder(watch), "N*2");
  type(watch, placeholder(watch), "X");
  type(watch, 0, "A(2,:)");  // changed
  type(watch, 2, "");        // emptied: removed
  const std::vector<std::string> kept = {"A(2,:)", "N*2"};
  ASSERT_EQ(watch->Expressions(), kept);

  main_.reset();
  SettleDeletes();
  main_ = std::make_unique<TfrmMain>();
  watch = main_->Debugger().Watch();
  EXPECT_EQ(watch->Expressions(), kept);
  EXPECT_EQ(watch->topLevelItem(0)->text(1), "") << "no value without a program";

  const std::string huge = "I + " + std::string(3000, 'J');
  watch->AddExpression(huge);
  type(watch, 0, "");
  ASSERT_EQ(watch->Expressions(), (std::vector<std::string>{"N*2", huge}));
  main_.reset();
  SettleDeletes();
  main_ = std::make_unique<TfrmMain>();
  EXPECT_EQ(main_->Debugger().Watch()->Expressions(), std::vector<std::string>{"N*2"});
}

TEST_F(MainWindowTest, MergedStatusBarShowsPositionAgainAfterTheLastEditorClosed) {
  main_->ApplyMergeStatusbar(true);
  NewModified();
  prompts_.AnswerAlways(TModalResult::No);
  main_->CloseAll();
  ASSERT_EQ(EditorCount(), 0u);
  NewModified("      X = 1\n");
  QCoreApplication::processEvents();
  for (int panel : {0, 1, 2})
    EXPECT_TRUE(main_->StatusPanel(panel)->isVisible()) << "panel " << panel;
  EXPECT_FALSE(main_->StatusPanel(0)->text().isEmpty());
}

}  // namespace
}  // namespace vortan
