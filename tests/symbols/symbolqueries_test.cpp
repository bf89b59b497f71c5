// What the editor's commands ask of the index besides its own queries: the word under the
// caret, the jumps' history, the Symbols panel's trees, completion, argument and hover tips.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/tempdir.h"
#include "symbols/completion.h"
#include "symbols/jumphistory.h"
#include "symbols/symbolindex.h"
#include "symbols/symboltip.h"
#include "symbols/symboltree.h"
#include "symbols/symbolword.h"

namespace vortan {
namespace {

TEST(SymbolWordAt, ReadsNamesAndLabelsByTheFixedFormColumns) {
  struct TCase {
    const char* Line;
    int Column;
    const char* Word;
    bool Label;
  } cases[] = {
      {"      CALL DGETRF( N, A )", 14, "DGETRF", false},
      {"      CALL DGETRF( N, A )", 17, "DGETRF", false},  // the caret right after the name
      {"      call dgetrf( n, a )", 12, "DGETRF", false},
      {"      GO TO 120", 15, "120", true},
      {" 1 0  CONTINUE", 2, "10", true},     // blanks inside the label field
      {"      X = 1.5E10", 14, "", false},   // a constant has no definition
      {"C     CALL DGETRF", 13, "", false},  // comment line
      {"*     CALL DGETRF", 13, "", false},
      {"     $   A, B", 6, "", false},  // the continuation column
      // Past column 72 is the sequence field, never a name.
      {"      X = Y                                                             ABCDEFGH", 76, "",
       false},
      {"      X = Y", 7, "X", false},
      {"      X = 123456789012", 14, "", false},  // too long for a label
  };
  for (const TCase& c : cases) {
    const TSymbolWord w = SymbolWordAt(c.Line, c.Column);
    EXPECT_EQ(w.Text, c.Word) << c.Line << " @" << c.Column;
    if (*c.Word) {
      EXPECT_EQ(w.Label, c.Label) << c.Line;
    }
  }
}

TEST(JumpHistory, BackAndForwardRetraceTheJumpsAndANewJumpDropsWhatLayAhead) {
  TJumpHistory h;
  const TJumpPlace a{"a.f", 1, 1}, b{"b.f", 2, 1}, c{"c.f", 3, 1}, d{"d.f", 4, 1};
  EXPECT_FALSE(h.Back(a));
  h.Jumped(a);  // a -> b
  h.Jumped(b);  // b -> c
  EXPECT_EQ(h.Back(c), b);
  EXPECT_EQ(h.Back(b), a);
  EXPECT_FALSE(h.CanGoBack());
  EXPECT_EQ(h.Forward(a), b);
  EXPECT_EQ(h.Forward(b), c);
  EXPECT_FALSE(h.CanGoForward());
  EXPECT_EQ(h.Back(c), b);
  h.Jumped(b);  // b -> d: c is no longer ahead
  EXPECT_FALSE(h.CanGoForward());
  EXPECT_EQ(h.Back(d), b);
}

class SymbolQueries : public ::testing::Test {
 protected:
  void SetUp() override {
    main_ = dir_.Write("main.f",
                       "      PROGRAM MAIN\n"
                       "      COMMON /STATE/ K\n"
                       "      CALL WORK(1, 2.0)\n"
                       "      X = TWICE(2.0)\n"
                       "   10 CONTINUE\n"
                       "      INCLUDE 'defs.inc'\n"
                       "      END\n");
    dir_.Write("defs.inc", "      PARAMETER (NMAX = 10)\n");
    work_ = dir_.Write("work.f",
                       "      SUBROUTINE WORK(N, Y)\n"
                       "*\n"
                       "*  Purpose\n"
                       "*  =======\n"
                       "*\n"
                       "*  WORK does the work\n"
                       "*  and calls itself.\n"
                       "*\n"
                       "*  Arguments\n"
                       "*  =========\n"
                       "      COMMON /STATE/ K\n"
                       "      CALL WORK(N - 1, Y)\n"
                       "      CALL HELPER\n"
                       "      END\n"
                       "      SUBROUTINE HELPER\n"
                       "      CALL WORK(0, 0.0)\n"
                       "      ENTRY SIDE(Q)\n"
                       "      END\n"
                       "      REAL FUNCTION TWICE(Y)\n"
                       "      TWICE = 2*Y\n"
                       "      END\n");
    index_.IndexFiles({main_, work_});
  }
  test::TTempDir dir_;
  std::string main_, work_;
  TSymbolIndex index_;
};

TEST_F(SymbolQueries, TheOutlineHoldsUnitsWithTheirEntriesCommonsAndLabelsAndFilters) {
  const auto one = SymbolOutline(index_, {main_}, "");
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].Text, "PROGRAM MAIN");
  ASSERT_EQ(one[0].Children.size(), 2u);
  EXPECT_EQ(one[0].Children[0].Text, "COMMON /STATE/");
  EXPECT_EQ(one[0].Children[1].Text, "10");
  EXPECT_EQ(one[0].Children[1].Where.Line, 5);

  const auto all = SymbolOutline(index_, index_.Files(), "");
  ASSERT_EQ(all.size(), 2u);  // the INCLUDEd file holds no unit: no node
  EXPECT_EQ(all[0].Kind, TSymbolNodeKind::File);
  EXPECT_EQ(all[1].Children.size(), 3u);
  EXPECT_EQ(all[1].Children[0].Text, "SUBROUTINE WORK(N, Y)");
  EXPECT_EQ(all[1].Children[2].Text, "REAL FUNCTION TWICE(Y)");

  // A filter keeps a unit for its name or for a row below it, in any case.
  const auto side = SymbolOutline(index_, {work_}, "sid");
  ASSERT_EQ(side.size(), 1u);
  EXPECT_EQ(side[0].Where.Name, "HELPER");
  ASSERT_EQ(side[0].Children.size(), 1u);
  EXPECT_EQ(side[0].Children[0].Text, "ENTRY SIDE(Q)");
  EXPECT_TRUE(SymbolOutline(index_, {work_}, "nothing").empty());
}

TEST_F(SymbolQueries, ACallTreeMarksRecursionOnceAndGoesAcrossFiles) {
  // MAIN -> WORK -> (WORK itself, HELPER -> WORK)
  const auto main = CallTreeLevel(index_, "MAIN", {}, false);
  ASSERT_EQ(main.size(), 2u);
  EXPECT_EQ(main[1].Where.Name, "WORK");
  EXPECT_EQ(main[1].Where.File, work_);
  EXPECT_FALSE(main[1].Recursive);
  const auto work = CallTreeLevel(index_, "WORK", {"MAIN"}, false);
  ASSERT_EQ(work.size(), 2u);
  EXPECT_EQ(work[0].Where.Name, "HELPER");
  EXPECT_FALSE(work[0].Recursive);
  EXPECT_TRUE(work[1].Recursive);  // WORK calls itself
  // A routine whose source is not indexed is a leaf with no file.
  const std::string lib =
      dir_.Write("lib.f", "      SUBROUTINE USER\n      CALL LIBRARY\n      END\n");
  index_.IndexFiles({lib});
  const auto user = CallTreeLevel(index_, "USER", {}, false);
  ASSERT_EQ(user.size(), 1u);
  EXPECT_EQ(user[0].Text, "LIBRARY");
  EXPECT_TRUE(user[0].Where.File.empty());
  const auto helper = CallTreeLevel(index_, "HELPER", {"MAIN", "WORK"}, false);
  ASSERT_EQ(helper.size(), 1u);
  EXPECT_TRUE(helper[0].Recursive);  // back up the path

  const auto callers = CallTreeLevel(index_, "WORK", {}, true);
  std::vector<std::string> names;
  for (const auto& n : callers) names.push_back(n.Where.Name);
  EXPECT_EQ(names, (std::vector<std::string>{"HELPER", "MAIN", "WORK"}));
}

// A number under the caret that cannot be a label is no label, however many digits it has.
TEST_F(SymbolQueries, ANumberTooLongForALabelHasNoDefinition) {
  EXPECT_TRUE(index_.Definitions(main_, 5, "123456789012").empty());
  EXPECT_EQ(index_.Definitions(main_, 6, "00010").size(), 1u);
}

TEST_F(SymbolQueries, AnIncludeLineNamesItsFile) {
  EXPECT_EQ(index_.IncludeAt(main_, 6), dir_ / "defs.inc");
  EXPECT_EQ(index_.IncludeAt(main_, 5), "");
}

TEST_F(SymbolQueries, CompletionOffersNamesInScopeKeywordsAndIntrinsics) {
  auto names = [&](const char* prefix, int line) {
    std::vector<std::string> out;
    for (const TCompletion& c : CompletionsFor(index_, main_, line, prefix)) out.push_back(c.Name);
    return out;
  };
  EXPECT_EQ(names("tw", 4), (std::vector<std::string>{"TWICE"}));
  EXPECT_EQ(names("WO", 4), (std::vector<std::string>{"WORK"}));
  const auto d = CompletionsFor(index_, main_, 4, "DOUB");
  ASSERT_EQ(d.size(), 1u);
  EXPECT_EQ(d[0].Name, "DOUBLE PRECISION");
  const auto at = CompletionsFor(index_, main_, 4, "ATAN2");
  ASSERT_EQ(at.size(), 1u);
  EXPECT_EQ(at[0].Tip, "ATAN2(Y, X)");
  // A name declared in another unit is out of scope.
  EXPECT_TRUE(CompletionsFor(index_, work_, 20, "K").empty());
  EXPECT_EQ(CompletionsFor(index_, work_, 5, "K").size(), 1u);
}

TEST_F(SymbolQueries, TheArgumentTipFollowsTheCaretThroughTheCall) {
  struct TCase {
    const char* Line;
    const char* Tip;
    int Argument;
  } cases[] = {
      {"      CALL WORK(", "SUBROUTINE WORK(N, Y)", 0},
      {"      CALL WORK(MAX(1, 2), ", "SUBROUTINE WORK(N, Y)", 1},
      {"      X = MAX(A, ", "MAX(A1, A2, ...)", 1},
      {"      X = ATAN2(F(1, 2)", "ATAN2(Y, X)", 0},
      {"      CALL WORK(1, 2)", "", 0},  // the call is closed
      {"      X = 'A(' // Y", "", 0},    // a parenthesis in a string opens nothing
  };
  for (const TCase& c : cases) {
    int argument = -1;
    const std::string line = c.Line;
    EXPECT_EQ(ArgumentTip(index_, line, static_cast<int>(line.size()) + 1, &argument), c.Tip)
        << c.Line;
    if (*c.Tip) {
      EXPECT_EQ(argument, c.Argument) << c.Line;
    }
  }
}

TEST_F(SymbolQueries, TheHoverTipShowsTheHeaderAndThePurpose) {
  EXPECT_EQ(UnitHoverTip(index_, "work"),
            "SUBROUTINE WORK(N, Y)\n\nWORK does the work\nand calls itself.");
  EXPECT_EQ(UnitHoverTip(index_, "TWICE"), "REAL FUNCTION TWICE(Y)");
  EXPECT_EQ(UnitHoverTip(index_, "NOSUCH"), "");
}

}  // namespace
}  // namespace vortan
