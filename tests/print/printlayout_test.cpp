#include "print/printlayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vortan {
namespace {

// A4 at 10 device units per millimetre; a character 2 mm wide and rows 5 mm high, so every
// figure below can be worked out by hand.
TPrintMetrics A4() { return {2100.0, 2970.0, 10.0, 20.0, 50.0}; }

std::vector<std::string> Lines(int n, const std::string& text = "      X = 1") {
  return std::vector<std::string>(static_cast<std::size_t>(n), text);
}

TEST(Paginate, RowsAndColumnsPerPageInEachUnit) {
  // Same page, margins given in each unit: 25 mm left, 15 right, 25 top, 25 bottom.
  // Height 297 - 50 = 247 mm -> 49 rows of 5 mm; width 210 - 40 = 170 mm -> 85 characters.
  struct Case {
    TMarginUnit unit;
    double left, right, top, bottom;
    int rows, chars;
  } cases[] = {
      {TMarginUnit::Millimeters, 25, 15, 25, 25, 49, 85},
      {TMarginUnit::Centimeters, 2.5, 1.5, 2.5, 2.5, 49, 85},
      {TMarginUnit::Inches, 25 / 25.4, 15 / 25.4, 25 / 25.4, 25 / 25.4, 49, 85},
      {TMarginUnit::Thousandths, 1000, 1000, 1000, 1000, 49, 79},  // 25.4 mm each side
      {TMarginUnit::Millimeters, 0, 0, 0, 0, 59, 105},
  };
  for (const Case& c : cases) {
    TPrintSettings s;
    s.LineNumbers = false;
    s.Unit = c.unit;
    s.Left = c.left, s.Right = c.right, s.Top = c.top, s.Bottom = c.bottom;
    const TPagination p = Paginate(Lines(100), s, A4(), 8);
    ASSERT_EQ(p.Error, TLayoutError::None);
    EXPECT_EQ(p.RowsPerPage, c.rows) << int(c.unit);
    EXPECT_EQ(p.CharsPerRow, c.chars) << int(c.unit);
    EXPECT_EQ(p.PageCount(), (100 + c.rows - 1) / c.rows) << int(c.unit);
  }
}

TEST(Paginate, LineNumbersTakeTextWidthUnlessInTheMargin) {
  // 150 lines: three digits and a gap, 8 mm, come off the text width when printed in the text.
  struct Case {
    bool numbers, inMargin;
    int chars;
    double textLeft, numbersRight;
  } cases[] = {
      {false, false, 85, 250, 250},
      {true, false, 81, 330, 310},
      {true, true, 85, 250, 230},
  };
  for (const Case& c : cases) {
    TPrintSettings s;
    s.LineNumbers = c.numbers;
    s.LineNumbersInMargin = c.inMargin;
    const TPagination p = Paginate(Lines(150), s, A4(), 8);
    EXPECT_EQ(p.CharsPerRow, c.chars) << c.numbers << c.inMargin;
    EXPECT_DOUBLE_EQ(p.OddFrame.TextLeft, c.textLeft);
    if (c.numbers) {
      EXPECT_EQ(p.NumberDigits, 3);
      EXPECT_DOUBLE_EQ(p.OddFrame.NumbersRight, c.numbersRight);
      EXPECT_DOUBLE_EQ(p.OddFrame.NumbersRight - p.OddFrame.NumbersLeft, 60);
    } else {
      EXPECT_EQ(p.NumberDigits, 0);
    }
  }
}

TEST(Paginate, WrapPointsPreferTheLastBlank) {
  TPrintSettings s;
  s.LineNumbers = false;
  s.Right = 210 - 25 - 30;  // 30 mm: 15 characters
  struct Case {
    std::string line;
    std::vector<std::pair<uint32_t, uint32_t>> rows;
  } cases[] = {
      {"", {{0, 0}}},
      {"short", {{0, 5}}},
      {"exactly15chars!", {{0, 15}}},
      {"      CALL SUB(A, B, C)", {{0, 11}, {11, 23}}},  // after "CALL ", not the indent
      {"      X = AAAAAAAAAAAAAAAAAAAA", {{0, 10}, {10, 25}, {25, 30}}},      // after "= "
      {"AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA", {{0, 15}, {15, 30}, {30, 34}}},  // no blank: hard
      {"ABCDEFGHIJKLMNO   PQR", {{0, 18}, {18, 21}}},  // blanks at the break stay
      {"\t\tX", {{0, 2}, {2, 3}}},  // the second tab passes column 15 and stays as a blank
  };
  for (const Case& c : cases) {
    const TPagination p = Paginate({c.line}, s, A4(), 8);
    ASSERT_EQ(p.CharsPerRow, 15);
    std::vector<std::pair<uint32_t, uint32_t>> rows;
    for (const TPrintRow& r : p.Rows) rows.push_back({r.Start, r.End});
    EXPECT_EQ(rows, c.rows) << '"' << c.line << '"';
  }
}

TEST(Paginate, WithoutWrappingEveryLineIsOneRow) {
  TPrintSettings s;
  s.WrapLines = false;
  const std::vector<std::string> lines = {std::string(500, 'A'), "B", std::string(90, ' ')};
  const TPagination p = Paginate(lines, s, A4(), 8);
  ASSERT_EQ(p.Rows.size(), 3u);
  EXPECT_EQ(p.Rows[0], (TPrintRow{0, 0, 500}));
  EXPECT_EQ(p.CharsPerRow, 0);
}

TEST(Paginate, WrappedRowsContinueOnTheNextPage) {
  TPrintSettings s;
  s.LineNumbers = false;
  s.Top = 297 - 25 - 15;  // 15 mm high: three rows a page
  std::vector<std::string> lines = {"a", std::string(85 * 3 + 1, 'x'), "b"};
  const TPagination p = Paginate(lines, s, A4(), 8);
  ASSERT_EQ(p.RowsPerPage, 3);
  // a, x1, x2 | x3, x4, b
  ASSERT_EQ(p.PageCount(), 2);
  EXPECT_EQ(p.PageRows(2), (std::pair<std::size_t, std::size_t>{3, 6}));
  EXPECT_EQ(p.Rows[3].Line, 1);
  EXPECT_FALSE(p.StartsLine(3));
  EXPECT_TRUE(p.StartsLine(5));
}

TEST(Paginate, MirroredMarginsPutTheGutterOnTheBindingSide) {
  TPrintSettings s;
  s.LineNumbers = false;
  s.Gutter = 10;
  s.MirrorMargins = true;
  const TPagination p = Paginate(Lines(1), s, A4(), 8);
  EXPECT_DOUBLE_EQ(p.Frame(1).Left, 350);  // 25 + 10 mm
  EXPECT_DOUBLE_EQ(p.Frame(1).Right, 2100 - 150);
  EXPECT_DOUBLE_EQ(p.Frame(2).Left, 150);  // margins swapped
  EXPECT_DOUBLE_EQ(p.Frame(2).Right, 2100 - 350);
  s.MirrorMargins = false;
  const TPagination q = Paginate(Lines(1), s, A4(), 8);
  EXPECT_DOUBLE_EQ(q.Frame(2).Left, 350);
}

TEST(Paginate, HeaderAndFooterBandsBorderTheText) {
  TPrintSettings s;
  const TPagination p = Paginate(Lines(1), s, A4(), 8);
  EXPECT_DOUBLE_EQ(p.OddFrame.HeaderTop, 100);  // 25 - 15 mm
  EXPECT_DOUBLE_EQ(p.OddFrame.HeaderBottom, 250);
  EXPECT_DOUBLE_EQ(p.OddFrame.FooterTop, 2720);
  EXPECT_DOUBLE_EQ(p.OddFrame.FooterBottom, 2870);
  s.Header = 40;  // more than the top margin: the band stops at the sheet's edge
  EXPECT_DOUBLE_EQ(Paginate(Lines(1), s, A4(), 8).OddFrame.HeaderTop, 0);
}

TEST(Paginate, MarginsLeavingNoRoomAreAnErrorNotALoop) {
  struct Case {
    const char* what;
    double left, right, top, bottom;
  } cases[] = {
      {"width gone", 150, 60, 25, 25},
      {"less than one character", 100, 105, 25, 25},  // 5 mm left, the numbers need 6
      {"height gone", 25, 15, 200, 100},
      {"less than one row", 25, 15, 150, 144},
      {"margins past the sheet", 500, 500, 500, 500},
  };
  for (const Case& c : cases) {
    TPrintSettings s;
    s.Left = c.left, s.Right = c.right, s.Top = c.top, s.Bottom = c.bottom;
    const TPagination p = Paginate(Lines(10), s, A4(), 8);
    EXPECT_EQ(p.Error, TLayoutError::NoPrintableArea) << c.what;
    EXPECT_EQ(p.PageCount(), 0) << c.what;
  }
}

TEST(Paginate, EdgesOfTheDocument) {
  TPrintSettings s;
  const TPagination empty = Paginate({}, s, A4(), 8);
  EXPECT_EQ(empty.PageCount(), 1);
  EXPECT_TRUE(empty.Rows.empty());
  // Exactly one page full, then one more line.
  s.LineNumbers = false;
  EXPECT_EQ(Paginate(Lines(49), s, A4(), 8).PageCount(), 1);
  EXPECT_EQ(Paginate(Lines(50), s, A4(), 8).PageCount(), 2);
  // A tab width of 0 (a damaged setting) acts as 1 instead of dividing by zero.
  EXPECT_EQ(Paginate({"\t\tX"}, s, A4(), 0).Rows.size(), 1u);
}

TEST(Paginate, AOneMegabyteLineWrapsIntoRowsThatCoverIt) {
  TPrintSettings s;
  std::string line;
  for (int i = 0; line.size() < 1000000; ++i)
    line += (i % 7 ? "WORD" : "\t") + std::string(i % 3, ' ');
  const TPagination p = Paginate({line}, s, A4(), 8);
  ASSERT_EQ(p.Error, TLayoutError::None);
  uint32_t next = 0;
  for (const TPrintRow& r : p.Rows) {
    ASSERT_EQ(r.Start, next);
    ASSERT_GT(r.End, r.Start);
    next = r.End;
  }
  EXPECT_EQ(next, line.size());
  EXPECT_EQ(p.PageCount(), static_cast<int>((p.Rows.size() + p.RowsPerPage - 1) / p.RowsPerPage));
}

}  // namespace
}  // namespace vortan
