#include "print/headerfooterlayout.h"

#include <gtest/gtest.h>

namespace vortan {
namespace {

// Fonts 10 units high per point size tenth: a 10-point line is 100 units, a 6-point one 60.
double Height(const TFontSpec& f) { return f.Size * 10.0; }

TPageFrame Frame() {
  TPageFrame f;
  f.Left = 250, f.Right = 1950, f.Top = 250, f.Bottom = 2720;
  f.HeaderTop = 100, f.HeaderBottom = 250, f.FooterTop = 2720, f.FooterBottom = 2870;
  return f;
}

TEST(HeaderFooterLayout, DefaultHeaderOnOddAndMirroredEvenPages) {
  TPrintSettings s;  // internal margin 0.5 mm, indents 2 mm; 10 units a millimetre
  THeaderFooter header = DefaultPrintHeader();
  header.MirrorPosition = true;
  TMacroValues v;
  v.PageCount = 3;
  v.Title = "prog.f";
  v.Date = "d";
  v.Time = "t";
  struct Case {
    int page;
    THFAlignment title;
    double titleX;
  } cases[] = {{1, THFAlignment::Left, 275}, {2, THFAlignment::Right, 1925}};
  for (const Case& c : cases) {
    v.Page = c.page;
    const THFPlacement p = PlaceHeaderFooter(header, false, Frame(), s, 10.0, v, Height);
    ASSERT_EQ(p.Items.size(), 3u);
    EXPECT_EQ(p.Items[0].Text, "prog.f");
    EXPECT_EQ(p.Items[0].Alignment, c.title);
    EXPECT_DOUBLE_EQ(p.Items[0].X, c.titleX);
    EXPECT_EQ(p.Items[1].Text, std::to_string(c.page) + "/3");
    EXPECT_EQ(p.Items[2].Text, "d t");
    // Line 1 (100 high) over line 2 (60 high), ending 0.5 mm + 0.5 mm above the text.
    EXPECT_DOUBLE_EQ(p.Items[2].Top + p.Items[2].Height, 240);
    EXPECT_DOUBLE_EQ(p.Items[0].Top, 80);
    EXPECT_DOUBLE_EQ(p.Items[0].Height, 100);
    EXPECT_DOUBLE_EQ(p.LineY, 245);
    EXPECT_DOUBLE_EQ(p.FrameTop, 75);
  }
}

TEST(HeaderFooterLayout, FooterStacksDownFromTheText) {
  TPrintSettings s;
  TMacroValues v;
  v.Page = 2;
  v.PageCount = 2;
  const THFPlacement p = PlaceHeaderFooter(DefaultPrintFooter(), true, Frame(), s, 10.0, v, Height);
  ASSERT_EQ(p.Items.size(), 1u);
  EXPECT_EQ(p.Items[0].Text, "2/2");
  EXPECT_DOUBLE_EQ(p.LineY, 2725);
  EXPECT_DOUBLE_EQ(p.Items[0].Top, 2730);
  EXPECT_EQ(p.Items[0].Alignment, THFAlignment::Right);
  EXPECT_TRUE(PlaceHeaderFooter(THeaderFooter(), true, Frame(), s, 10.0, v, Height).Items.empty());
}

}  // namespace
}  // namespace vortan
