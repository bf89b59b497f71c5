#include "jobs/breakpointlist.h"

#include <gtest/gtest.h>

namespace vortan {
namespace {

TEST(BreakpointListTest, TogglesMovesAndKeepsConditionsAcrossStoring) {
  TBreakpointList list;
  EXPECT_TRUE(list.Toggle("/src/a.f", 12));
  EXPECT_TRUE(list.Toggle("/src/a.f", 5));
  EXPECT_TRUE(list.Toggle("/src/b f.f", 3));
  list.Find("/src/a.f", 12)->Condition = "N .EQ. 5";
  list.Find("/src/a.f", 12)->IgnoreCount = 2;
  EXPECT_FALSE(list.Toggle("/src/b f.f", 3));
  EXPECT_TRUE(list.Of("/src/b f.f").empty());

  // Two lines inserted above both: the condition moves with its breakpoint.
  list.MoveTo("/src/a.f", {7, 14});
  ASSERT_EQ(list.Of("/src/a.f").size(), 2u);
  EXPECT_EQ(list.Of("/src/a.f")[1].Line, 14);
  EXPECT_EQ(list.Of("/src/a.f")[1].Condition, "N .EQ. 5");

  const TBreakpointList back = TBreakpointList::FromText(list.ToText());
  ASSERT_EQ(back.Of("/src/a.f").size(), 2u);
  EXPECT_EQ(back.Of("/src/a.f")[0].Line, 7);
  EXPECT_EQ(back.Of("/src/a.f")[1].Condition, "N .EQ. 5");
  EXPECT_EQ(back.Of("/src/a.f")[1].IgnoreCount, 2);
}

TEST(BreakpointListTest, DamagedOrUnstorableLinesAreDropped) {
  TBreakpointList list;
  list.Toggle("/a.f", 1);
  list.Find("/a.f", 1)->Condition = "X\nY";
  list.Toggle("/a\tb.f", 2);
  EXPECT_EQ(list.ToText(), "");
  const TBreakpointList read = TBreakpointList::FromText(
      "/a.f\t3\t0\tI > 2\n/a.f\tx\t0\t\n/a.f\t-1\t0\t\n/a.f\t4\n\t5\t0\t\n/a.f\t3\t1\t\n");
  ASSERT_EQ(read.Of("/a.f").size(), 1u);
  EXPECT_EQ(read.Of("/a.f")[0].Condition, "I > 2");
  EXPECT_EQ(read.Files().size(), 1u);
}

}  // namespace
}  // namespace vortan
