// The main window's layout kept across runs of the real executable on the X display. The
// layout is set up the way the program itself would have left it (the stored texts of a
// former run), the program is started and closed as a window manager closes it, twice. The
// X server shows where the main window and the floating toolbar stand; the store shows what
// each run wrote back.
#include <gtest/gtest.h>

#include <QTest>
#include <map>
#include <string>

#include "app/idehome.h"
#include "config/settingids.h"
#include "config/settingsstore.h"
#include "config/storedformats.h"

#ifdef VORTAN_TEST_X11
#include "app/xidetest.h"

namespace vortan {
namespace {

using test::TDisplay;

class LayoutKeptTest : public test::XIdeTest {
 protected:
  std::map<int, std::string> StoredLayout() {
    TSettingsStore store;
    EXPECT_TRUE(store.Open(DefaultStorePath()).Ok);
    std::map<int, std::string> texts;
    for (int id = sidMainWindow; id <= sidRunToolbar; ++id) texts[id] = store.ReadString(id);
    return texts;
  }

  /// Waits until one of the program's other top-level windows stands at `left`, `top`.
  bool OtherWindowAt(Window main, int left, int top) {
    return QTest::qWaitFor(
        [&] {
          for (const TDisplay::TWindow& w : display_.TopLevels()) {
            if (w.Pid != ide_.processId() || w.Id == main) continue;
            const TDisplay::TRect r = display_.Geometry(w.Id);
            if (r.Left == left && r.Top == top) return true;
          }
          return false;
        },
        10000);
  }

  /// One run: start, check what shows, close like a window manager, wait for the end.
  void Run(const TDisplay::TRect& mainRect, int barLeft, int barTop) {
    StartIde();
    const Window main = MainWindow();
    ASSERT_NE(main, 0u) << display_.Describe();
    EXPECT_TRUE(QTest::qWaitFor([&] { return display_.Geometry(main) == mainRect; }, 10000))
        << "main window at " << display_.Geometry(main).Left << "," << display_.Geometry(main).Top
        << " " << display_.Geometry(main).Width << "x" << display_.Geometry(main).Height;
    EXPECT_TRUE(OtherWindowAt(main, barLeft, barTop)) << display_.Describe();
    display_.Close(main);
    ASSERT_TRUE(ide_.waitForFinished(20000));
    EXPECT_EQ(ide_.exitStatus(), QProcess::NormalExit);
  }
};

TEST_F(LayoutKeptTest, PlacementBarsAndPanelsComeBackOnTheNextStart) {
  {
    TSettingsStore store;
    ASSERT_TRUE(store.Open(DefaultStorePath()).Ok);
    store.WriteBool(sidAssociateFiles, false);  // no question about the .f files first
    store.WriteString(sidMainWindow, "0,0,100,100,600,400");
    store.WriteString(sidRunToolbar, "1,,TopDock,0,0,300,500,,");        // floating
    store.WriteString(sidEditToolbar, "1,TopDock,TopDock,2,0,0,0,0,0");  // a row of its own
    store.WriteString(sidOutputWindow, "0,BottomDock,BottomDock,0,0,0,0,590,80");  // hidden
    store.WriteString(sidMessagesWindow, "1,LeftDock,LeftDock,0,0,0,0,150,200");
  }
  ASSERT_NO_FATAL_FAILURE(Run({100, 100, 600, 400}, 300, 500));

  const std::map<int, std::string> first = StoredLayout();
  EXPECT_EQ(first.at(sidMainWindow), "0,0,100,100,600,400");
  const auto bar = [&](int id) { return BarLayoutFromStored(first.at(id), ""); };
  EXPECT_TRUE(bar(sidRunToolbar).Visible);
  EXPECT_EQ(bar(sidRunToolbar).CurrentDock, "");
  EXPECT_EQ(bar(sidRunToolbar).FloatLeft, 300);
  EXPECT_EQ(bar(sidRunToolbar).FloatTop, 500);
  EXPECT_EQ(bar(sidEditToolbar).CurrentDock, "TopDock");
  EXPECT_GT(bar(sidEditToolbar).Row, bar(sidMainToolbar).Row);
  EXPECT_EQ(bar(sidMainToolbar).CurrentDock, "TopDock");
  EXPECT_FALSE(bar(sidOutputWindow).Visible);
  EXPECT_TRUE(bar(sidMessagesWindow).Visible);
  EXPECT_EQ(bar(sidMessagesWindow).CurrentDock, "LeftDock");

  // What the first run wrote brings the same layout back and is written back unchanged.
  ASSERT_NO_FATAL_FAILURE(Run({100, 100, 600, 400}, 300, 500));
  EXPECT_EQ(StoredLayout(), first);
}

}  // namespace
}  // namespace vortan

#endif
