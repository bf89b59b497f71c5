#include "print/zoomsteps.h"

#include <gtest/gtest.h>

namespace vortan {
namespace {

TEST(ZoomSteps, ZoomInAndOut) {
  struct Case {
    int from, in, out;
  } cases[] = {
      {0, 10, 0},        {9, 10, 9},         {10, 25, 10},    {11, 25, 10},    {24, 25, 10},
      {25, 50, 10},      {26, 50, 25},       {49, 50, 25},    {50, 75, 25},    {51, 75, 50},
      {74, 75, 50},      {75, 100, 50},      {76, 100, 75},   {83, 100, 75},   {99, 100, 75},
      {100, 150, 75},    {101, 150, 100},    {120, 150, 100}, {149, 150, 100}, {150, 200, 100},
      {151, 200, 150},   {199, 200, 150},    {200, 400, 150}, {201, 400, 200}, {399, 400, 200},
      {400, 500, 200},   {401, 500, 400},    {499, 500, 400}, {500, 500, 400}, {501, 501, 500},
      {1000, 1000, 500}, {1001, 1001, 1001},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ZoomInStep(c.from), c.in) << c.from;
    EXPECT_EQ(ZoomOutStep(c.from), c.out) << c.from;
  }
}

TEST(ZoomSteps, EntriesAndTypedNumbers) {
  EXPECT_EQ(ZoomEntryIndex(500), 0);
  EXPECT_EQ(ZoomEntryIndex(100), 4);
  EXPECT_EQ(ZoomEntryIndex(ZoomPageWidth), 9);
  EXPECT_EQ(ZoomEntryIndex(ZoomFitToPage), 10);
  EXPECT_EQ(ZoomEntryIndex(120), -1);
  struct Case {
    const char* text;
    std::optional<int> number;
  } cases[] = {{"120", 120},
               {"120%", 120},
               {"75%", 75},
               {"", std::nullopt},
               {"Page width", std::nullopt},
               {"%5", std::nullopt},
               {"99999999999", std::nullopt}};
  for (const Case& c : cases) EXPECT_EQ(LeadingNumber(c.text), c.number) << c.text;
}

}  // namespace
}  // namespace vortan
