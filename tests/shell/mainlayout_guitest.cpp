// The main window's layout written when it closes and put back when the next one is made.
#include <QApplication>
#include <QDockWidget>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <memory>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "config/storedformats.h"
#include "shell/mainlayout.h"
#include "shell/mainwindow.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

class MainLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(OpenStore(dir_ / "store.sqlite").Ok); }
  void TearDown() override {
    main_.reset();
    CloseStore();
  }
  TfrmMain& Start() {
    main_ = std::make_unique<TfrmMain>();
    main_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
    QApplication::processEvents();
    return *main_;
  }
  void Stop() {
    prompts_.AnswerAlways(TModalResult::No);
    main_->close();
    main_.reset();
  }
  TBarLayout Bar(int id) {
    TBarLayout l;
    EXPECT_TRUE(TextToBarLayout(ReadString(id), l)) << ReadString(id);
    return l;
  }

  test::TTempDir dir_;
  test::TScriptedPrompts prompts_;
  std::unique_ptr<TfrmMain> main_;
};

TEST_F(MainLayoutTest, ARearrangedWindowComesBackTheSame) {
  TfrmMain& w = Start();
  w.setGeometry(100, 100, 700, 500);
  // Edit toolbar on a row of its own, Run toolbar floating, Output shown floating then
  // hidden, Messages on the left, Files on the right.
  w.removeToolBar(w.EditToolbar());
  w.addToolBarBreak(Qt::TopToolBarArea);
  w.addToolBar(Qt::TopToolBarArea, w.EditToolbar());
  w.EditToolbar()->show();
  TMainLayout::FloatToolbar(w.RunToolbar(), QRect(300, 250, 120, 30));
  w.addDockWidget(Qt::LeftDockWidgetArea, w.MessagesWindow());
  w.addDockWidget(Qt::RightDockWidgetArea, w.FilesWindow());
  w.OutputWindow()->show();
  w.OutputWindow()->hide();
  w.showMaximized();
  QApplication::processEvents();
  const int mainRowY = w.MainToolbar()->y();
  ASSERT_GT(w.EditToolbar()->y(), mainRowY);
  Stop();

  TWindowPlacement p;
  ASSERT_TRUE(TextToPlacement(ReadString(sidMainWindow), p));
  EXPECT_EQ(p.State, 2);
  EXPECT_EQ(p.Left, 100);
  EXPECT_EQ(p.Width, 700);
  EXPECT_EQ(Bar(sidRunToolbar).CurrentDock, "");
  EXPECT_EQ(Bar(sidRunToolbar).LastDock, "TopDock");
  EXPECT_EQ(Bar(sidRunToolbar).FloatLeft, 300);
  EXPECT_EQ(Bar(sidMessagesWindow).CurrentDock, "LeftDock");
  EXPECT_EQ(Bar(sidFilesWindow).CurrentDock, "RightDock");
  EXPECT_FALSE(Bar(sidOutputWindow).Visible);
  EXPECT_GT(Bar(sidEditToolbar).Row, Bar(sidMainToolbar).Row);

  TfrmMain& again = Start();
  EXPECT_TRUE(again.windowState() & Qt::WindowMaximized);
  EXPECT_EQ(again.normalGeometry(), QRect(100, 100, 700, 500));
  EXPECT_TRUE(again.RunToolbar()->isFloating());
  EXPECT_TRUE(again.RunToolbar()->isVisible());
  EXPECT_EQ(again.RunToolbar()->pos(), QPoint(300, 250));
  EXPECT_EQ(again.toolBarArea(again.EditToolbar()), Qt::TopToolBarArea);
  EXPECT_GT(again.EditToolbar()->y(), again.MainToolbar()->y());
  EXPECT_EQ(again.MainToolbar()->y(), again.MenuToolbar()->y() + again.MenuToolbar()->height());
  EXPECT_EQ(again.dockWidgetArea(again.MessagesWindow()), Qt::LeftDockWidgetArea);
  EXPECT_EQ(again.dockWidgetArea(again.FilesWindow()), Qt::RightDockWidgetArea);
  EXPECT_FALSE(again.OutputWindow()->isVisible());
  EXPECT_TRUE(again.MessagesWindow()->isVisible());

  // Saved again unchanged: the stored texts are a fixed point.
  const std::string run = ReadString(sidRunToolbar), placement = ReadString(sidMainWindow);
  Stop();
  EXPECT_EQ(ReadString(sidRunToolbar), run);
  EXPECT_EQ(ReadString(sidMainWindow), placement);
  EXPECT_EQ(Bar(sidMenuToolbar).Row, 0);
  EXPECT_EQ(Bar(sidMainToolbar).Row, 1);
  EXPECT_EQ(Bar(sidEditToolbar).Row, 2);
}

TEST_F(MainLayoutTest, AHiddenPanelKeepsTheSizeItWasStoredWith) {
  TBarLayout output;
  ASSERT_TRUE(TextToBarLayout(ReadString(sidOutputWindow), output));
  output.Visible = false;
  output.CurrentDock = output.LastDock = "BottomDock";
  output.Width = 590;
  output.Height = 80;
  WriteString(sidOutputWindow, BarLayoutToText(output));
  Start();
  ASSERT_FALSE(main_->OutputWindow()->isVisible());
  Stop();
  EXPECT_FALSE(Bar(sidOutputWindow).Visible);
  EXPECT_EQ(Bar(sidOutputWindow).Width, 590);
  EXPECT_EQ(Bar(sidOutputWindow).Height, 80);
}

TEST_F(MainLayoutTest, ANormalWindowKeepsItsRectangleAndDamagedOrUnreachableValuesGiveDefaults) {
  TfrmMain& w = Start();
  w.setGeometry(100, 100, 600, 400);
  Stop();
  EXPECT_EQ(ReadString(sidMainWindow), "0,0,100,100,600,400");
  EXPECT_EQ(Start().geometry(), QRect(100, 100, 600, 400));
  Stop();

  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  struct Case {
    const char* placement;
    const char* files;  ///< setting 2
    const char* run;    ///< setting 7
  } cases[] = {
      {"0,0,99999,99999,600,400", "1,LeftDock,LeftDock,0,0,0,0,112,218",
       "1,TopDock,TopDock,1,72,0,0,0,0"},
      {"garbage", "1,NoSuchDock,,0,0,,,,", "1,,TopDock,0,0,-5000,-5000,80,20"},
      {"0,0,-5000,10,600,400", "x,y", "1,,,0,0,,,,"},
      {"0,9,100,100,600,400", "1,,,0,0,123456,0,300,200", "1,TopDock"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.placement);
    WriteString(sidMainWindow, c.placement);
    WriteString(sidFilesWindow, c.files);
    WriteString(sidRunToolbar, c.run);
    TfrmMain& m = Start();
    // Whatever was stored, every window can be reached on the screen.
    EXPECT_TRUE(screen.intersects(m.frameGeometry())) << m.frameGeometry().x();
    for (QWidget* floating : std::initializer_list<QWidget*>{m.FilesWindow(), m.RunToolbar()})
      if (floating->isWindow() && floating->isVisible()) {
        EXPECT_TRUE(screen.intersects(floating->geometry()))
            << floating->objectName().toStdString();
      }
    Stop();
  }
}

TEST_F(MainLayoutTest, FullScreenIsWrittenWithTheRectangleFromBeforeAndComesBackNormal) {
  TfrmMain& w = Start();
  w.setGeometry(120, 110, 640, 420);
  QApplication::processEvents();
  w.ToggleFullScreen();
  ASSERT_TRUE(w.IsFullScreen());
  Stop();
  EXPECT_EQ(ReadString(sidMainWindow), "1,0,120,110,640,420");
  TfrmMain& again = Start();
  EXPECT_FALSE(again.IsFullScreen());
  EXPECT_FALSE(again.windowState() & Qt::WindowMaximized);
  EXPECT_EQ(again.geometry(), QRect(120, 110, 640, 420));
}

}  // namespace
}  // namespace vortan
