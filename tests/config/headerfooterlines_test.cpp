#include "config/headerfooterlines.h"

#include <gtest/gtest.h>

#include "config/printsettings.h"

namespace vortan {
namespace {

TEST(HeaderFooterLines, ItemsGoToTheEditorOfTheirAlignmentAndComeBackNumberedByLine) {
  THeaderFooter hf = DefaultPrintHeader();
  THFColumns cols = HeaderFooterLines(hf);
  ASSERT_EQ(cols[0].size(), 1u);
  EXPECT_EQ(cols[0][0].Text, "$TITLE$");
  ASSERT_EQ(cols[2].size(), 2u);
  EXPECT_EQ(cols[2][0].Text, "$PAGENUM$/$PAGECOUNT$");
  EXPECT_EQ(cols[2][1].Text, "$DATE$ $TIME$");
  EXPECT_EQ(cols[2][1].Font.Size, 6);
  EXPECT_TRUE(cols[1].empty());

  // A line typed into the centre editor becomes a centred item of that line number.
  cols[1].push_back({"", {}});
  cols[1].push_back({"Page $PAGENUM$", {}});
  SetHeaderFooterLines(hf, cols);
  bool found = false;
  for (const THeaderFooterItem& item : hf.Items) {
    EXPECT_FALSE(item.Text.empty());
    if (item.Text == "Page $PAGENUM$") {
      found = true;
      EXPECT_EQ(item.Alignment, THFAlignment::Center);
      EXPECT_EQ(item.LineNumber, 2);
    }
    if (item.Text == "$DATE$ $TIME$") {
      EXPECT_EQ(item.Alignment, THFAlignment::Right);
      EXPECT_EQ(item.LineNumber, 2);
      EXPECT_EQ(item.Font.Size, 6);
    }
  }
  EXPECT_TRUE(found);
  EXPECT_EQ(hf.Items.size(), 4u);
}

TEST(HeaderFooterLines, TheDefaultsSurviveARoundTripThroughTheEditors) {
  for (const THeaderFooter& original : {DefaultPrintHeader(), DefaultPrintFooter()}) {
    THeaderFooter copy = original;
    SetHeaderFooterLines(copy, HeaderFooterLines(original));
    EXPECT_EQ(copy, original);
  }
}

}  // namespace
}  // namespace vortan
