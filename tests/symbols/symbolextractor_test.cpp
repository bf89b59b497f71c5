#include "symbols/symbolextractor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "symbols/fixedformreader.h"

namespace vortan {
namespace {

// Short lines of fixed form: "      " before a statement is written out by the cases.
std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\n";
  return text;
}

std::string Where(const TSymbolPos& p) {
  return std::to_string(p.Line) + ":" + std::to_string(p.Column);
}

// One line per symbol, "kind name@line:column", in a fixed order, so that a case states the
// whole of what the index reads from its fixture.
std::string Dump(const TFileSymbols& s) {
  std::string out;
  auto add = [&](const std::string& line) { out += line + "\n"; };
  for (const auto& u : s.Units) {
    std::string args;
    for (const auto& a : u.Args) args += (args.empty() ? "" : ",") + a;
    add("unit " + (u.Type.empty() ? "" : u.Type + " ") + u.Name + "(" + args + ")@" + Where(u.Pos) +
        " end " + std::to_string(u.EndLine));
  }
  for (const auto& e : s.Entries) add("entry " + e.Name + "@" + Where(e.Pos));
  for (const auto& e : s.StatementFunctions) add("stmtfn " + e.Name + "@" + Where(e.Pos));
  for (const auto& e : s.Externals) add("external " + e.Name + "@" + Where(e.Pos));
  for (const auto& e : s.Intrinsics) add("intrinsic " + e.Name + "@" + Where(e.Pos));
  for (const auto& d : s.Declarations)
    add("decl " + d.Type + (d.Type.empty() ? "" : " ") + d.Name + (d.Array ? "()" : "") + "@" +
        Where(d.Pos));
  for (const auto& c : s.Commons) {
    std::string m;
    for (const auto& x : c.Members) m += (m.empty() ? "" : ",") + x;
    add("common /" + c.Name + "/ " + m + "@" + Where(c.Pos));
  }
  for (const auto& p : s.Parameters)
    add("parameter " + p.Name + "=" + p.Value + "@" + Where(p.Pos));
  for (const auto& l : s.Labels)
    add(std::string(l.Format ? "format " : "label ") + std::to_string(l.Label) + "@" +
        Where(l.Pos));
  static const char* kKinds[] = {"do",  "goto", "computed", "assigned", "arith",
                                 "fmt", "err",  "end",      "assign"};
  for (const auto& l : s.LabelUses)
    add(std::string(kKinds[static_cast<int>(l.Kind)]) + " " + std::to_string(l.Label) + "@" +
        Where(l.Pos));
  for (const auto& i : s.Includes) add("include " + i.File + "@" + Where(i.Pos));
  for (const auto& c : s.Calls) add("call " + c.Name + "@" + Where(c.Pos));
  for (const auto& f : s.FunctionRefs) add("ref " + f.Name + "@" + Where(f.Pos));
  return out;
}

struct TCase {
  const char* Name;
  std::vector<std::string> Lines;
  std::string Expected;
};

class ExtractSymbolsTable : public ::testing::TestWithParam<TCase> {};

TEST_P(ExtractSymbolsTable, ReadsTheConstruct) {
  EXPECT_EQ(Dump(ExtractSymbols(Join(GetParam().Lines))), GetParam().Expected);
}

const TCase kCases[] = {
    {"UnitsWithTypePrefixAndEntry",
     {"      DOUBLE PRECISION FUNCTION DDOT(N, X)", "      INTEGER N", "      ENTRY DDOT2(N)",
      "      END", "      SUBROUTINE S", "      END", "      BLOCK DATA BD", "      END",
      "      PROGRAM MAIN", "      END"},
     "unit DOUBLE PRECISION DDOT(N,X)@1:33 end 4\nunit S()@5:18 end 6\nunit BD()@7:18 end 8\n"
     "unit MAIN()@9:15 end 10\nentry DDOT2@3:13\ndecl INTEGER N@2:15\n"},
    {"RecursivePrefix",
     {"      RECURSIVE SUBROUTINE DGETRF2(M, N)", "      END",
      "      RECURSIVE DOUBLE PRECISION FUNCTION F(X)", "      END"},
     "unit DGETRF2(M,N)@1:28 end 2\nunit DOUBLE PRECISION F(X)@3:43 end 4\n"},
    {"CharacterLengthOnAFunction",
     {"      CHARACTER*(*) FUNCTION NAME(I)", "      END"},
     "unit CHARACTER*(*) NAME(I)@1:30 end 2\n"},
    {"NameSplitOverAContinuationLine",
     {"      SUBROUTINE S", "      CALL DGE", "     $MM(1)", "      END"},
     "unit S()@1:18 end 4\ncall DGEMM@2:12\n"},
    {"BlanksInsideKeywordsAndNames",
     {"      SUB ROUTINE S", "      CALL  F OO", "      GO TO 10", "   10 CONTINUE", "      END"},
     "unit S()@1:19 end 5\nlabel 10@4:4\ngoto 10@3:13\ncall FOO@2:13\n"},
    {"DoWithAPointIsAnAssignment",
     {"      PROGRAM P", "      DO 10 I = 1.5", "      DO 20 J = 1, 5", "   20 CONTINUE",
      "      END"},
     "unit P()@1:15 end 5\nlabel 20@4:4\ndo 20@3:10\n"},
    {"LabelWithBlanksInColumnsOneToFive",
     {"      PROGRAM P", "  1 2 CONTINUE", "      GOTO 12", "      END"},
     "unit P()@1:15 end 4\nlabel 12@2:3\ngoto 12@3:12\n"},
    {"TextPastColumn72IsIgnored",
     {"      PROGRAM P", "      CALL ABC" + std::string(58, ' ') + "XYZ00010", "      END"},
     "unit P()@1:15 end 3\ncall ABC@2:12\n"},
    {"CommentLinesAllFour",
     {"C     CALL A", "c     CALL B", "*     CALL C", "!     CALL D", "      PROGRAM P",
      "      CALL E ! CALL F", "      END"},
     "unit P()@5:15 end 7\ncall E@6:12\n"},
    {"StringsAndHollerithHideTheirText",
     {"      PROGRAM P", "      PRINT 10, 'CALL X(1)', \"GOTO 5\"",
      "   10 FORMAT(5HCALL(, 'IT''S', A)", "      END"},
     "unit P()@1:15 end 4\nformat 10@3:4\nfmt 10@2:13\n"},
    {"StringContinuedOnTheNextLine",
     {"      PROGRAM P", "      X = 'AB", "     $CD' // F(1)", "      END"},
     "unit P()@1:15 end 4\nref F@3:14\n"},
    {"CommonBlocksAndMembers",
     {"      SUBROUTINE S", "      COMMON /ONE/ A, B(10) /TWO/ C", "      COMMON X, Y",
      "      END"},
     "unit S()@1:18 end 4\ndecl B()@2:23\ncommon /ONE/ A,B@2:15\ncommon /TWO/ C@2:30\n"
     "common // X,Y@3:14\n"},
    {"ParametersWithStrings",
     {"      SUBROUTINE S", "      PARAMETER (ZERO = 0.0D+0, NAME = 'A''B')", "      END"},
     "unit S()@1:18 end 3\nparameter ZERO=0.0D+0@2:18\nparameter NAME='A''B'@2:33\n"},
    {"EveryLabelUse",
     {"      SUBROUTINE S(N)", "      ASSIGN 30 TO K", "      GO TO K, (30, 40)",
      "      GO TO (10, 20), N", "      IF (N) 10, 20, 30", "      READ (5, 40, ERR=10, END=20) N",
      "      WRITE (6, FMT=40) N", "      IF (N .GT. 0) GOTO 30", "   10 CONTINUE",
      "   20 CONTINUE", "   30 CONTINUE", "   40 FORMAT (I5)", "      END"},
     "unit S(N)@1:18 end 13\nlabel 10@9:4\nlabel 20@10:4\nlabel 30@11:4\nformat 40@12:4\n"
     "assign 30@2:14\nassigned 30@3:17\nassigned 40@3:21\ncomputed 10@4:14\ncomputed 20@4:18\n"
     "arith 10@5:14\narith 20@5:18\narith 30@5:22\nfmt 40@6:16\nerr 10@6:24\nend 20@6:32\n"
     "fmt 40@7:21\ngoto 30@8:26\n"},
    {"ExternalIntrinsicAndStatementFunction",
     {"      SUBROUTINE S(X)", "      EXTERNAL F, G", "      INTRINSIC SQRT",
      "      DIMENSION A(3)", "      SQ(T) = T*T", "      A(1) = SQ(X) + F(X) + SQRT(X)",
      "      END"},
     "unit S(X)@1:18 end 7\nstmtfn SQ@5:7\nexternal F@2:16\nexternal G@2:19\n"
     "intrinsic SQRT@3:17\ndecl A()@4:17\nref F@6:22\nref SQRT@6:29\n"},
    {"FunctionReferencesSkipArraysAndSubstrings",
     {"      SUBROUTINE S", "      DOUBLE PRECISION DLAMCH, W(5)", "      CHARACTER*8 C",
      "      W(1) = DLAMCH('E') + W(2)", "      C(1:2) = 'AB'",
      "      IF (LSAME(C(1:1), 'A')) RETURN", "      END"},
     "unit S()@1:18 end 7\ndecl DOUBLE PRECISION DLAMCH@2:24\ndecl DOUBLE PRECISION W()@2:32\n"
     "decl CHARACTER*8 C@3:19\nref DLAMCH@4:14\nref LSAME@6:11\n"},
    {"IncludeLine",
     {"      SUBROUTINE S", "      INCLUDE 'common.inc'", "      END"},
     "unit S()@1:18 end 3\ninclude common.inc@2:7\n"},
    {"UnbalancedParenthesesStayLocal",
     {"      SUBROUTINE S", "      CALL A((1)", "      X = F(G(1)", "      CALL B", "      END"},
     "unit S()@1:18 end 5\ncall A@2:12\ncall B@4:12\nref F@3:11\nref G@3:13\n"},
};

INSTANTIATE_TEST_SUITE_P(Constructs, ExtractSymbolsTable, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST(FixedFormReader, MapsEachCharacterBackToItsLineAndColumn) {
  TFixedFormReader reader("C comment\n   10 X = 1 +\n     &  2\n");
  TStatement st;
  ASSERT_TRUE(reader.Next(st));
  EXPECT_EQ(st.Label, 10);
  EXPECT_EQ(st.Text, "X=1+2");
  EXPECT_EQ(st.CommentFirstLine, 1);
  EXPECT_EQ(st.FirstLine, 2);
  EXPECT_EQ(st.LastLine, 3);
  ASSERT_EQ(st.Pos.size(), 5u);
  EXPECT_EQ(st.Pos[4].Line, 3u);
  EXPECT_EQ(st.Pos[4].Column, 9u);
  EXPECT_FALSE(reader.Next(st));
}

}  // namespace
}  // namespace vortan
