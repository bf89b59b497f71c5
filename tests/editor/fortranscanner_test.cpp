#include "editor/fortranscanner.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include "support/files.h"

namespace vortan {
namespace {

// "Kind@pos:len ..." for every token before the end of the line; `rangeOut` gets the state left
// for the next line.
std::string Dump(TFortranScanner& s, std::string_view line, int rangeIn, int& rangeOut) {
  std::string out;
  s.SetRange(rangeIn);
  int guard = 0;
  for (s.SetLine(line, 0); !s.GetEol(); s.Next()) {
    if (!out.empty()) out += ' ';
    out += TokenKindName(s.GetTokenKind());
    out += '@' + std::to_string(s.GetTokenPos()) + ':' + std::to_string(s.GetTokenLen());
    if (s.GetTokenLen() <= 0 || ++guard > 1000) {
      ADD_FAILURE() << "scanner does not advance in: " << line;
      break;
    }
  }
  EXPECT_EQ(s.GetTokenPos(), static_cast<int>(line.size()))
      << "Null token not at line end: " << line;
  rangeOut = s.GetRange();
  return out;
}

struct TCase {
  std::string line;
  int rangeIn;
  std::string tokens;
  int rangeOut;
};

void Check(const std::vector<TCase>& cases) {
  TFortranScanner s;
  for (const TCase& c : cases) {
    int rangeOut = -1;
    EXPECT_EQ(Dump(s, c.line, c.rangeIn, rangeOut), c.tokens) << "line: " << c.line;
    EXPECT_EQ(rangeOut, c.rangeOut) << "line: " << c.line;
  }
}

TEST(FortranScanner, CommentLinesAndComments) {
  Check({
      {"C     COMMENT LINE", 2, "Comment@0:18", 2},
      {"C'open quote", 2, "Comment@0:12", 2},
      {"*     STAR", 2, "Comment@0:10", 2},
      {"# pragma", 2, "Comment@0:8", 2},
      {"! bang", 2, "Comment@0:6", 2},
      // lowercase c in column 1 is a comment as well, as compilers read it
      {"c     x = 1", 2, "Comment@0:11", 2},
      {" C NOT", 2, "Space@0:1 Identifier@1:1 Space@2:1 Identifier@3:3", 2},
      {"\tC", 2, "Space@0:1 Identifier@1:1", 2},
      {"      X = A*B#C", 2,
       "Space@0:6 Identifier@6:1 Space@7:1 Symbol@8:1 Space@9:1 Identifier@10:1 Symbol@11:1 "
       "Identifier@12:1 Symbol@13:1 Identifier@14:1",
       2},
      {"      X = 1 ! SET X", 2,
       "Space@0:6 Identifier@6:1 Space@7:1 Symbol@8:1 Space@9:1 Number@10:1 Space@11:1 "
       "Comment@12:7",
       2},
      {"      X = '!' ! C", 2,
       "Space@0:6 Identifier@6:1 Space@7:1 Symbol@8:1 Space@9:1 String@10:3 Space@13:1 "
       "Comment@14:3",
       2},
  });
}

TEST(FortranScanner, StringsAndContinuedStrings) {
  Check({
      {"      S = 'IT''S'", 2,
       "Space@0:6 Identifier@6:1 Space@7:1 Symbol@8:1 Space@9:1 String@10:7", 2},
      {"      S = \"A\\\"B\" // T", 2,
       "Space@0:6 Identifier@6:1 Space@7:1 Symbol@8:1 Space@9:1 String@10:6 Space@16:1 Symbol@17:1 "
       "Symbol@18:1 Space@19:1 Identifier@20:1",
       2},
      {"'A\\B' X", 2, "String@0:5 Space@5:1 Identifier@6:1", 2},
      {"'a\"b' \"c'd\"", 2, "String@0:5 Space@5:1 String@6:5", 2},
      // a line ending inside a string ends the string there
      {"      S = 'ABC", 2, "Space@0:6 Identifier@6:1 Space@7:1 Symbol@8:1 Space@9:1 String@10:4",
       2},
      // a final backslash carries the string into the next line
      {"      S = 'ABC\\", 2, "Space@0:6 Identifier@6:1 Space@7:1 Symbol@8:1 Space@9:1 String@10:5",
       0},
      {"      S = \"ABC\\", 2,
       "Space@0:6 Identifier@6:1 Space@7:1 Symbol@8:1 Space@9:1 String@10:5", 1},
      {"DEF' // X", 0, "String@0:4 Space@4:1 Symbol@5:1 Symbol@6:1 Space@7:1 Identifier@8:1", 2},
      {"A'B\"X", 1, "String@0:4 Identifier@4:1", 2},
      {"C'", 0, "String@0:2", 2},
      {"''", 0, "String@0:2", 2},
      {"MORE\\", 0, "String@0:5", 0},
      {"MORE", 1, "String@0:4", 2},
      {"", 0, "", 2},
      {"\r\n", 1, "Space@0:2", 2},
      // the line end may travel with the line
      {"'AB\r\n", 2, "String@0:3 Space@3:2", 2},
      {"'AB\\\r\n", 2, "String@0:4 Space@4:2", 0},
      {"X\n", 2, "Identifier@0:1 Space@1:1", 2},
      // a state the scanner never leaves is treated as no open string
      {"ABC'", 7, "Identifier@0:3 String@3:1", 2},
  });
}

TEST(FortranScanner, DotOperatorsAndLogicalConstants) {
  Check({
      {"      IF (A .EQ. B) THEN", 2,
       "Space@0:6 Key@6:2 Space@8:1 Symbol@9:1 Identifier@10:1 Space@11:1 Key@12:4 Space@16:1 "
       "Identifier@17:1 Symbol@18:1 Space@19:1 Key@20:4",
       2},
      {"      IF (A . eq . B) X = 1", 2,
       "Space@0:6 Key@6:2 Space@8:1 Symbol@9:1 Identifier@10:1 Space@11:1 Key@12:6 Space@18:1 "
       "Identifier@19:1 Symbol@20:1 Space@21:1 Identifier@22:1 Space@23:1 Symbol@24:1 Space@25:1 "
       "Number@26:1",
       2},
      {".TRUE..AND..not.L", 2, "Key@0:6 Key@6:5 Key@11:5 Identifier@16:1", 2},
      {"A.NEQV.B.EQV.C.NE.D.XOR..FALSE.", 2,
       "Identifier@0:1 Key@1:6 Identifier@7:1 Key@8:5 Identifier@13:1 Key@14:4 Identifier@18:1 "
       "Key@19:5 Key@24:7",
       2},
      {"A.LE.B.LT.C.GE.D.GT.E.OR.F", 2,
       "Identifier@0:1 Key@1:4 Identifier@5:1 Key@6:4 Identifier@10:1 Key@11:4 Identifier@15:1 "
       "Key@16:4 Identifier@20:1 Key@21:4 Identifier@25:1",
       2},
      // a word without its closing dot leaves the dot a Symbol
      {"A.AND B", 2, "Identifier@0:1 Symbol@1:1 Identifier@2:3 Space@5:1 Identifier@6:1", 2},
      {"X.Y", 2, "Identifier@0:1 Symbol@1:1 Identifier@2:1", 2},
      {".", 2, "Symbol@0:1", 2},
      {". EQ", 2, "Symbol@0:1 Space@1:1 Identifier@2:2", 2},
  });
}

TEST(FortranScanner, Numbers) {
  Check({
      {"1.0D+05", 2, "Number@0:7", 2},
      {"2.5e-3", 2, "Number@0:6", 2},
      {"3F10.2", 2, "Number@0:4 Number@4:2", 2},
      {"1.EQ.2", 2, "Number@0:1 Key@1:4 Number@5:1", 2},
      {"1. EQ .2", 2, "Number@0:1 Key@1:6 Number@7:1", 2},
      {"1.E5", 2, "Number@0:4", 2},
      {"1.", 2, "Number@0:2", 2},
      {".5", 2, "Number@0:2", 2},
      {". 5", 2, "Number@0:1 Space@1:1 Number@2:1", 2},
      {"2X", 2, "Number@0:1 Identifier@1:1", 2},
      {"1E5.5", 2, "Number@0:3 Number@3:2", 2},
      {"1.5.3", 2, "Number@0:3 Number@3:2", 2},
      {"1E+", 2, "Number@0:2 Symbol@2:1", 2},
      {"1D0+2", 2, "Number@0:3 Symbol@3:1 Number@4:1", 2},
      {"1E+5E3", 2, "Number@0:4 Identifier@4:2", 2},
      {"  100 CONTINUE", 2, "Space@0:2 Number@2:3 Space@5:1 Key@6:8", 2},
      {"   10 FORMAT(3F10.2,2X,I5)", 2,
       "Space@0:3 Number@3:2 Space@5:1 Key@6:6 Symbol@12:1 Number@13:4 Number@17:2 Symbol@19:1 "
       "Number@20:1 Identifier@21:1 Symbol@22:1 Identifier@23:2 Symbol@25:1",
       2},
  });
}

TEST(FortranScanner, ReservedWordsAndTwoWordRules) {
  Check({
      {"      DOUBLE   PRECISION X", 2, "Space@0:6 Key@6:18 Space@24:1 Identifier@25:1", 2},
      {"      DOUBLE PRECISION(", 2,
       "Space@0:6 Identifier@6:6 Space@12:1 Identifier@13:9 Symbol@22:1", 2},
      {"      double complex z", 2, "Space@0:6 Key@6:14 Space@20:1 Identifier@21:1", 2},
      {"      DOUBLE", 2, "Space@0:6 Identifier@6:6", 2},
      {"      DOUBLEPRECISION", 2, "Space@0:6 Key@6:15", 2},
      {"      GO TO 10", 2, "Space@0:6 Key@6:5 Space@11:1 Number@12:2", 2},
      {"      GOTO 10", 2, "Space@0:6 Key@6:4 Space@10:1 Number@11:2", 2},
      {"      GO TO\r\n", 2, "Space@0:6 Key@6:5 Space@11:2", 2},
      {"      Block Data INIT", 2, "Space@0:6 Key@6:10 Space@16:1 Identifier@17:4", 2},
      {"      ASSIGN 20 TO K", 2,
       "Space@0:6 Key@6:6 Space@12:1 Number@13:2 Space@15:1 Key@16:2 Space@18:1 Identifier@19:1",
       2},
      {"      A = TO", 2, "Space@0:6 Identifier@6:1 Space@7:1 Symbol@8:1 Space@9:1 Identifier@10:2",
       2},
      {" 1 TO", 2, "Space@0:1 Number@1:1 Space@2:1 Identifier@3:2", 2},
      {"TO", 2, "Identifier@0:2", 2},
      {"      IMPLICIT NONE", 2, "Space@0:6 Key@6:8 Space@14:1 Key@15:4", 2},
      {"      ImplicitNone", 2, "Space@0:6 Key@6:12", 2},
      {"      NONE = 1", 2,
       "Space@0:6 Identifier@6:4 Space@10:1 Symbol@11:1 Space@12:1 Number@13:1", 2},
      {"  NONE", 2, "Space@0:2 Identifier@2:4", 2},
      {"      END FILE 9", 2, "Space@0:6 Key@6:3 Space@9:1 Key@10:4 Space@14:1 Number@15:1", 2},
      {"FILE", 2, "Identifier@0:4", 2},
      {"      ENDDO EndDo enddo DO10 do_loop IFX", 2,
       "Space@0:6 Key@6:5 Space@11:1 Key@12:5 Space@17:1 Key@18:5 Space@23:1 Identifier@24:4 "
       "Space@28:1 Identifier@29:7 Space@36:1 Identifier@37:3",
       2},
  });
}

TEST(FortranScanner, EveryReservedWordInEitherCase) {
  const char* words[] = {"allocatable",   "allocate",
                         "assign",        "backspace",
                         "blockdata",     "byte",
                         "call",          "case",
                         "casedefault",   "character",
                         "close",         "common",
                         "complex",       "continue",
                         "cycle",         "data",
                         "deallocate",    "default",
                         "dimension",     "do",
                         "doublecomplex", "doubleprecision",
                         "dowhile",       "else",
                         "elseif",        "end",
                         "enddo",         "endfile",
                         "endif",         "endselect",
                         "entry",         "equivalence",
                         "exit",          "external",
                         "format",        "function",
                         "goto",          "if",
                         "implicit",      "implicitnone",
                         "include",       "inquire",
                         "integer",       "interface",
                         "intrinsic",     "logical",
                         "map",           "namelist",
                         "open",          "parameter",
                         "pause",         "print",
                         "program",       "read",
                         "real",          "record",
                         "return",        "rewind",
                         "save",          "select",
                         "selectcase",    "stop",
                         "structure",     "subroutine",
                         "then",          "type",
                         "union",         "value",
                         "while",         "write"};
  // After a blank, so that an uppercase C is not in column 1.
  auto kindOf = [](const std::string& word) {
    TFortranScanner s;
    const std::string line = " " + word;
    s.SetLine(line, 0);
    s.Next();
    return std::string(TokenKindName(s.GetTokenKind())) + ":" + std::to_string(s.GetTokenLen());
  };
  for (std::string w : words) {
    const std::string len = ":" + std::to_string(w.size());
    EXPECT_EQ(kindOf(w), "Key" + len) << w;
    for (char& c : w) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(kindOf(w), "Key" + len) << w;
    EXPECT_EQ(kindOf(w + "S"), "Identifier:" + std::to_string(w.size() + 1)) << w;
    EXPECT_NE(kindOf(w.substr(1)).substr(0, 4), "Key:") << w;
  }
}

TEST(FortranScanner, SymbolsTabsWideColumnsAndOtherBytes) {
  Check({
      {"      IF (X .GT. 1.5E-3) GO TO 100", 2,
       "Space@0:6 Key@6:2 Space@8:1 Symbol@9:1 Identifier@10:1 Space@11:1 Key@12:4 Space@16:1 "
       "Number@17:6 Symbol@23:1 Space@24:1 Key@25:5 Space@30:1 Number@31:3",
       2},
      {"A==B<<=C>>D<=E>F", 2,
       "Identifier@0:1 Symbol@1:2 Identifier@3:1 Symbol@4:3 Identifier@7:1 Symbol@8:2 "
       "Identifier@10:1 Symbol@11:2 Identifier@13:1 Symbol@14:1 Identifier@15:1",
       2},
      {"(+-/,;%)", 2,
       "Symbol@0:1 Symbol@1:1 Symbol@2:1 Symbol@3:1 Symbol@4:1 Symbol@5:1 Symbol@6:1 Symbol@7:1",
       2},
      {"$&:?@\\", 2, "Unknown@0:1 Unknown@1:1 Unknown@2:1 Unknown@3:1 Unknown@4:1 Unknown@5:1", 2},
      {"\t  IF\x0b\x0c\x01X", 2, "Space@0:3 Key@3:2 Space@5:3 Identifier@8:1", 2},
      // columns beyond 72 are scanned like the rest
      {"      X = 1" + std::string(61, ' ') + "SEQ00010", 2,
       "Space@0:6 Identifier@6:1 Space@7:1 Symbol@8:1 Space@9:1 Number@10:1 Space@11:61 "
       "Identifier@72:8",
       2},
      {"      \xE9T\xE9 = '\xE9'", 2,
       "Space@0:6 Unknown@6:1 Identifier@7:1 Unknown@8:1 Space@9:1 Symbol@10:1 Space@11:1 "
       "String@12:3",
       2},
      {"\xC7"
       "ALL",
       2, "Unknown@0:1 Identifier@1:3", 2},
      // a NUL inside the text is a byte like any other, not the end of the line
      {std::string("A\0B", 3), 2, "Identifier@0:1 Unknown@1:1 Identifier@2:1", 2},
  });
}

TEST(FortranScanner, LeadBytesOfADoubleByteCodePageTakeTheirTrailByte) {
  std::array<bool, 256> lead{};
  lead[0x81] = true;
  TFortranScanner s;
  s.SetLeadBytes(lead);
  int out = 0;
  EXPECT_EQ(Dump(s, "\x81\x40X", 2, out), "Unknown@0:2 Identifier@2:1");
  EXPECT_EQ(Dump(s, "\x81\x81\x82", 2, out), "Unknown@0:2 Unknown@2:1");
  // never past the end of the line
  EXPECT_EQ(Dump(s, "X\x81", 2, out), "Identifier@0:1 Unknown@1:1");
  EXPECT_EQ(Dump(s, "\x81\r\n", 2, out), "Unknown@0:1 Space@1:2");
}

// A realistic fixed-form program, scanned line by line with the state carried over, against
// its recorded token dump.
TEST(FortranScanner, GoldenProgram) {
  const std::string dir = std::string(VORTAN_TEST_DATA) + "/fortran/fixedform/";
  auto read = [](const std::string& path) { return test::ReadFile(path); };
  const std::string input = read(dir + "input");
  ASSERT_FALSE(input.empty());

  TFortranScanner s;
  s.ResetRange();
  std::string dump;
  int range = s.GetRange();
  std::size_t start = 0;
  while (start < input.size()) {
    std::size_t end = input.find('\n', start);
    if (end == std::string::npos) end = input.size();
    const std::string_view line(input.data() + start, end - start);
    int out = 0;
    dump += Dump(s, line, range, out);
    dump += " => " + std::to_string(out) + "\n";
    range = out;
    start = end + 1;
  }
  EXPECT_EQ(dump, read(dir + "expected"));
}

}  // namespace
}  // namespace vortan
