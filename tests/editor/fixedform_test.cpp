// The fixed-form rules on small fixtures: statement kinds, blocks and their matching lines,
// fold levels, where Return puts the next line, continuation breaks, the wrap at column 72 and
// the label field.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "editor/fixedformblocks.h"
#include "editor/fixedformedits.h"
#include "editor/fixedformline.h"

namespace vortan {
namespace {

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> out;
  while (true) {
    const auto nl = text.find('\n');
    out.push_back(text.substr(0, nl));
    if (nl == std::string_view::npos) break;
    text.remove_prefix(nl + 1);
  }
  return out;
}

TEST(FixedFormLine, ColumnsOfALine) {
  struct TCase {
    const char* Line;
    TFixedLineKind Kind;
    int Label, TextStart, Indent;
  } cases[] = {
      {"C     comment", TFixedLineKind::Comment, -1, 0, 0},
      {"*", TFixedLineKind::Comment, -1, 0, 0},
      {"   ! bang", TFixedLineKind::Comment, -1, 0, 0},
      {"      ", TFixedLineKind::Blank, -1, 0, 0},
      {"   10    CONTINUE", TFixedLineKind::Initial, 10, 6, 3},
      {"     &   B", TFixedLineKind::Continuation, -1, 6, 3},
      {"     0X = 1", TFixedLineKind::Initial, -1, 6, 0},
      {"\tX = 1", TFixedLineKind::Initial, -1, 1, 0},
      {"\t1+ Y", TFixedLineKind::Continuation, -1, 2, 0},
      {"  100\tGOTO 5", TFixedLineKind::Initial, 100, 6, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Line);
    const TFixedFormLine info = TFixedFormLine::Of(c.Line);
    EXPECT_EQ(info.Kind, c.Kind);
    EXPECT_EQ(info.Label, c.Label);
    if (info.IsCode()) {
      EXPECT_EQ(info.TextStart, c.TextStart);
      EXPECT_EQ(info.Indent, c.Indent);
    }
  }
}

TEST(FixedFormBlocks, StatementKinds) {
  using K = TStatementKind;
  struct TCase {
    const char* Squeezed;
    K Kind;
    int DoLabel;
  } cases[] = {
      {"DO10I=1,N", K::DoLabelled, 10},
      {"DO10,I=1,N", K::DoLabelled, 10},
      {"DO10I=1.5", K::Other, -1},
      {"DOI=1,N", K::DoBlock, -1},
      {"DOWHILE(I.LT.N)", K::DoBlock, -1},
      {"DO20WHILE(I.LT.N)", K::DoLabelled, 20},
      {"IF(A.GT.B)THEN", K::IfThen, -1},
      {"IF(A.GT.B)X=1", K::Other, -1},
      {"IF(A)THENX=1", K::Other, -1},
      {"ELSEIF(X)THEN", K::ElseIf, -1},
      {"ELSE", K::Else, -1},
      {"ENDIF", K::EndIf, -1},
      {"ENDDO", K::EndDo, -1},
      {"END", K::EndUnit, -1},
      {"ENDSUBROUTINEX", K::EndUnit, -1},
      {"ENDFILE10", K::Other, -1},
      {"SUBROUTINEDGEMV(A,B)", K::UnitHeader, -1},
      {"PROGRAMMAIN", K::UnitHeader, -1},
      {"DOUBLEPRECISIONFUNCTIONDDOT(N,X)", K::UnitHeader, -1},
      {"CHARACTER*(*)FUNCTIONF(X)", K::UnitHeader, -1},
      {"REAL*8FUNCTIONG(X)", K::UnitHeader, -1},
      {"FUNCTIONX=1", K::Other, -1},
      {"PROGRAM=3", K::Other, -1},
      {"BLOCKDATA", K::UnitHeader, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Squeezed);
    int label = 0;
    EXPECT_EQ(ClassifyStatement(c.Squeezed, &label), c.Kind);
    EXPECT_EQ(label, c.DoLabel);
  }
}

// Line numbers are 0-based; each case names a line and the first lines of its block.
constexpr std::string_view kTraps =
    "      SUBROUTINE TRAPS(A, N)\n"            // 0
    "      DO 10 I = 1, N\n"                    // 1
    "         DO 10 J = 1, N\n"                 // 2
    "C           a comment inside the loops\n"  // 3
    "            A(I,J) = 0\n"                  // 4
    "   10 CONTINUE\n"                          // 5
    "      DO 20 I = 1, N\n"                    // 6
    "   20 A(I,1) = 1\n"                        // 7
    "      IF (A(1,1) .GT. 0\n"                 // 8
    "     &    .AND. N .GT. 1) THEN\n"          // 9
    "         N = 1\n"                          // 10
    "      ELSE IF (N .EQ. 0) THEN\n"           // 11
    "         N = 2\n"                          // 12
    "      ELSE\n"                              // 13
    "         DO WHILE (N .GT. 0)\n"            // 14
    "            N = N - 1\n"                   // 15
    "         END DO\n"                         // 16
    "      END IF\n"                            // 17
    "      IF (N .GT. 0) N = 0\n"               // 18
    "      END";                                // 19

TEST(FixedFormBlocks, MatchingLinesOfTheTraps) {
  const auto lines = Lines(kTraps);
  const TFixedFormBlocks blocks(lines);
  struct TCase {
    int Line;
    std::vector<int> Match;
  } cases[] = {
      {0, {0, 19}},
      {19, {0, 19}},
      {1, {1, 2, 5}},  // the outer DO and its terminal shared with the inner one
      {2, {1, 2, 5}},
      {5, {1, 2, 5}},
      {6, {6, 7}},
      {7, {6, 7}},  // a terminal statement that is not CONTINUE
      {8, {8, 11, 13, 17}},
      {9, {8, 11, 13, 17}},  // THEN on a continuation line
      {11, {8, 11, 13, 17}},
      {17, {8, 11, 13, 17}},
      {14, {14, 16}},
      {16, {14, 16}},
      {3, {}},
      {18, {}},  // a comment, a logical IF
      {10, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Line);
    EXPECT_EQ(blocks.MatchingLines(c.Line), c.Match);
  }
}

TEST(FixedFormBlocks, FoldLevelsOfTheTraps) {
  const auto lines = Lines(kTraps);
  const TFixedFormBlocks blocks(lines);
  constexpr int H = TFixedFormBlocks::kFoldHeader;
  const std::vector<int> expected = {
      0 | H, 1 | H, 2 | H,
      3,     3,     3,  // nested DOs end on one line, which stays inside both
      1 | H, 2,         // the terminal statement belongs to its loop
      1 | H, 2,     2,
      1 | H, 2,     1 | H,  // IF on two lines; ELSE IF and ELSE start folds of their own
      2 | H, 3,     3,
      2,     1,     1,
  };
  EXPECT_EQ(blocks.FoldLevels(), expected);
}

TEST(FixedFormEdits, WhereReturnPutsTheNextLine) {
  struct TCase {
    const char* Name;
    std::string Text;  // the last line is the head of the caret's line
    bool ContinueComments;
    bool Plain;
    std::string Prefix;
    const char* Head;  // the head re-indented, or nullptr
  } cases[] = {
      {"statement", "      X = 1", false, false, "      ", nullptr},
      {"inside a block", "      DO 10 I = 1, N\n         X = 1", false, false, "         ",
       nullptr},
      {"after DO", "      DO 10 I = 1, N", false, false, "         ", nullptr},
      {"after DO WHILE", "        DO WHILE (X)", false, false, "           ", nullptr},
      {"after IF THEN on a continuation line", "      IF (X\n     &   ) THEN", false, false,
       "         ", nullptr},
      {"after ELSE", "      IF (X) THEN\n         Y = 1\n         ELSE", false, false, "         ",
       "      ELSE"},
      {"END IF dedents", "      IF (X) THEN\n         Y = 1\n         END IF", false, false,
       "      ", "      END IF"},
      {"terminal CONTINUE dedents", "      DO 10 I = 1, N\n         X = 1\n   10    CONTINUE",
       false, false, "      ", "   10 CONTINUE"},
      {"shared terminal goes to the outer DO",
       "      DO 10 I = 1, N\n         DO 10 J = 1, N\n            X = 1\n   10       CONTINUE",
       false, false, "      ", "   10 CONTINUE"},
      {"terminal that is not CONTINUE", "      DO 20 I = 1, N\n   20    X = X + 1", false, false,
       "      ", "   20 X = X + 1"},
      {"comment in a block, no comment continuation", "      DO 10 I = 1, N\nC        note", false,
       false, "         ", nullptr},
      {"comment continues as a comment", "      X = 1\nC     note", true, false, "C     ", nullptr},
      {"after END", "      END", false, false, "      ", nullptr},
      {"label field: a plain break", "   10", false, true, "", nullptr},
      {"column 1: a plain break", "", false, true, "", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto lines = Lines(c.Text);
    TFixedFormOptions options;
    options.ContinueComments = c.ContinueComments;
    const TReturnPlan plan =
        TFixedFormEdits::PlanReturn(lines, static_cast<int>(lines.size()) - 1, options);
    EXPECT_EQ(plan.Plain, c.Plain);
    EXPECT_EQ(plan.Prefix, c.Prefix);
    if (c.Head)
      EXPECT_EQ(plan.Head.value_or("(none)"), c.Head);
    else
      EXPECT_FALSE(plan.Head.has_value()) << *plan.Head;
  }
}

TEST(FixedFormEdits, ContinuationBreaks) {
  struct TCase {
    const char* Name;
    std::string Text;  // the last line is broken
    int Pos;
    const char* First;  // nullptr: no break
    const char* Second;
  } cases[] = {
      {"at a blank", "         X = A + B", 16, "         X = A +", "     &   B"},
      {"indentation of the first line on a continuation", "         X = A +\n     &   B + C", 13,
       "     &   B +", "     &   C"},
      {"inside a constant: before it", "      CALL F('A B', X)", 16, "      CALL F(",
       "     &'A B', X)"},
      {"inside a constant opened on the line above", "      CALL F('A B\n     &C D')", 9, nullptr,
       nullptr},
      {"doubled quote stays in the constant", "      S = 'IT''S'", 14,
       "      S =", "     &'IT''S'"},
      {"label field", "   10 CONTINUE", 3, nullptr, nullptr},
      {"comment", "C     X = 1", 8, nullptr, nullptr},
      {"text past column 72 stays where it is",
       "      X = 1                                                           SEQ00010", 10,
       nullptr, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto lines = Lines(c.Text);
    const auto split =
        TFixedFormEdits::BreakLine(lines, static_cast<int>(lines.size()) - 1, c.Pos, {});
    if (!c.First) {
      EXPECT_FALSE(split.has_value());
      continue;
    }
    ASSERT_TRUE(split.has_value());
    EXPECT_EQ(split->First, c.First);
    EXPECT_EQ(split->Second, c.Second);
  }
}

TEST(FixedFormEdits, WrapAtColumn72) {
  const std::string pad(60, 'A');  // "      X = " + 60 = 70 columns
  struct TCase {
    const char* Name;
    std::string Line;
    std::string First, Second;  // empty First: no wrap
  } cases[] = {
      {"fits", "      X = " + pad + "+B", "", ""},
      {"the word crossing 72 moves", "      X = " + pad + " + BCD", "      X = " + pad + " +",
       "     &BCD"},
      {"a blank at 73", "      X = " + pad + " +  C", "      X = " + pad + " +", "     &C"},
      {"a word longer than the field splits at 72", "      X=" + std::string(70, 'B'),
       "      X=" + std::string(64, 'B'), "     &" + std::string(6, 'B')},
      {"a constant crossing 72 moves whole", "      X = " + pad + " 'HELLO'", "      X = " + pad,
       "     &'HELLO'"},
      {"a constant filling the field splits exactly at 72 with no blanks added",
       "     &'" + std::string(64, ' ') + "AB CD'", "     &'" + std::string(64, ' ') + "A",
       "     &B CD'"},
      {"comment lines do not wrap", "C" + std::string(80, 'x'), "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const std::vector<std::string_view> lines = {c.Line};
    const auto split = TFixedFormEdits::WrapLine(lines, 0, {});
    if (c.First.empty()) {
      EXPECT_FALSE(split.has_value());
      continue;
    }
    ASSERT_TRUE(split.has_value());
    EXPECT_EQ(split->First, c.First);
    EXPECT_EQ(split->Second, c.Second);
    EXPECT_LE(split->First.size(), 72u);
  }
}

TEST(FixedFormEdits, LabelField) {
  struct TCase {
    const char* Line;
    int Pos;
    char Digit;
    const char* Result;  // nullptr: typed as usual
  } cases[] = {
      {"      X = 1", 0, '1', "1     X = 1"}, {"1     X = 1", 1, '0', "10    X = 1"},
      {"   10 X = 1", 3, '9', "   90 X = 1"}, {"", 2, '9', "  9"},
      {"C     X", 0, '1', nullptr},           {"     &X", 1, '1', nullptr},
      {"      X = 1", 5, '1', nullptr},       {"\tX = 1", 0, '1', nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Line);
    const auto r = TFixedFormEdits::TypeLabelDigit(c.Line, c.Pos, c.Digit);
    if (!c.Result)
      EXPECT_FALSE(r.has_value());
    else
      EXPECT_EQ(r.value_or("(none)"), c.Result);
  }
  EXPECT_EQ(TFixedFormEdits::PadToStatementField("  10", 4).value_or(""), "  10  ");
  EXPECT_FALSE(TFixedFormEdits::PadToStatementField("      X", 6).has_value());
  EXPECT_FALSE(TFixedFormEdits::PadToStatementField("C", 1).has_value());
}

}  // namespace
}  // namespace vortan
