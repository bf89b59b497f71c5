#include "config/docklayout.h"

#include <gtest/gtest.h>

namespace vortan {
namespace {

const std::vector<TScreenRect> kOneScreen = {{0, 0, 1280, 1024}};
const std::vector<TScreenRect> kTwoScreens = {{0, 0, 1280, 1024}, {1280, 0, 1920, 1080}};

TWindowPlacement Placement(const char* text) {
  TWindowPlacement p;
  EXPECT_TRUE(TextToPlacement(text, p)) << text;
  return p;
}

TEST(DockLayout, AStoredPlacementIsUsedOnlyWhenItsTitleStripIsOnAScreen) {
  struct Case {
    const char* text;
    const std::vector<TScreenRect>* screens;
    bool used;
  } cases[] = {
      {"0,0,100,100,600,400", &kOneScreen, true},
      {"0,2,100,100,600,400", &kOneScreen, true},
      {"0,0,,,,", &kOneScreen, false},               // the default: the platform places it
      {"0,0,100,100,,400", &kOneScreen, false},      // incomplete
      {"0,0,5000,100,600,400", &kOneScreen, false},  // right of every screen
      {"0,0,5000,100,600,400", &kTwoScreens, false},
      {"0,0,2000,100,600,400", &kTwoScreens, true},  // on the second screen
      {"0,0,100,-200,600,400", &kOneScreen, false},  // title bar above the screen
      {"0,0,-560,100,600,400", &kOneScreen, false},  // only 40 pixels visible
      {"0,0,-500,100,600,400", &kOneScreen, true},   // 100 pixels visible: can be dragged
      {"0,0,100,100,0,400", &kOneScreen, false},
  };
  for (const Case& c : cases) {
    const auto r = ReachablePlacement(Placement(c.text), *c.screens);
    EXPECT_EQ(r.has_value(), c.used) << c.text;
  }
  EXPECT_EQ(ReachablePlacement(Placement("0,0,100,100,600,400"), kOneScreen),
            (TScreenRect{100, 100, 600, 400}));
}

TEST(DockLayout, FloatingRectanglesNeedAllFourFieldsAndAPlaceOnScreen) {
  TBarLayout l;
  ASSERT_TRUE(TextToBarLayout("0,,,0,0,,,,", l));
  EXPECT_FALSE(ReachableFloatRect(l, kOneScreen));
  ASSERT_TRUE(TextToBarLayout("1,,TopDock,0,0,300,200,120,40", l));
  EXPECT_EQ(ReachableFloatRect(l, kOneScreen), (TScreenRect{300, 200, 120, 40}));
  ASSERT_TRUE(TextToBarLayout("1,,TopDock,0,0,-3000,200,120,40", l));
  EXPECT_FALSE(ReachableFloatRect(l, kOneScreen));
  EXPECT_EQ(CenteredQuarter({0, 0, 1280, 1024}), (TScreenRect{480, 384, 320, 256}));
}

TEST(DockLayout, BarsAreAddedRowByRowInPositionOrder) {
  // The defaults: menu alone in row 0, main/edit/run in row 1 at 0, 24, 72.
  EXPECT_EQ(PlanRows({{0, 0, 0}, {1, 1, 0}, {2, 1, 24}, {3, 1, 72}}),
            (std::vector<std::vector<int>>{{0}, {1, 2, 3}}));
  // Edit moved to a row of its own below; positions out of order; a gap in row numbers.
  EXPECT_EQ(PlanRows({{0, 0, 0}, {1, 1, 50}, {2, 5, 0}, {3, 1, 10}}),
            (std::vector<std::vector<int>>{{0}, {3, 1}, {2}}));
  // Equal positions keep the caller's order.
  EXPECT_EQ(PlanRows({{7, 0, 0}, {4, 0, 0}}), (std::vector<std::vector<int>>{{7, 4}}));
  EXPECT_TRUE(PlanRows({}).empty());
}

TEST(DockLayout, RowsReadBackFromWhereBarsStandAndPlanTheSameRows) {
  const std::vector<TBarSeen> seen = {{0, 0, 0}, {1, 30, 0}, {2, 60, 0}, {3, 30, 120}};
  const std::vector<TBarSlot> slots = RowsFromGeometry(seen);
  EXPECT_EQ(slots, (std::vector<TBarSlot>{{0, 0, 0}, {1, 1, 0}, {2, 2, 0}, {3, 1, 120}}));
  EXPECT_EQ(PlanRows(slots), (std::vector<std::vector<int>>{{0}, {1, 3}, {2}}));
}

TEST(DockLayout, DockNamesMapBothWays) {
  for (TDockSide s : {TDockSide::Top, TDockSide::Bottom, TDockSide::Left, TDockSide::Right})
    EXPECT_EQ(DockSideOf(DockName(s)), s);
  EXPECT_EQ(DockSideOf(""), TDockSide::None);
  EXPECT_EQ(DockSideOf("MiddleDock"), TDockSide::None);
  EXPECT_STREQ(DockName(TDockSide::None), "");
}

}  // namespace
}  // namespace vortan
