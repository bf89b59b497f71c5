#include "jobs/fortranvalue.h"

#include <gtest/gtest.h>

namespace vortan {
namespace {

TEST(FortranValueTest, TypesReadAsDeclared) {
  struct TCase {
    const char* Gdb;
    const char* Text;
    long long Elements;
  };
  const TCase cases[] = {
      {"real(kind=4) (3,4)", "REAL*4 (3,4)", 12},
      {"real(kind=8) (0:5)", "REAL*8 (0:5)", 6},
      {"integer(kind=4) (-1:1,2:3)", "INTEGER*4 (-1:1,2:3)", 6},
      {"integer(kind=4) (1000000)", "INTEGER*4 (1000000)", 1000000},
      {"character*20", "CHARACTER*20", 0},
      {"logical(kind=4)", "LOGICAL*4", 0},
      {"complex(kind=4)", "COMPLEX*8", 0},
      {"complex(kind=8) (2)", "COMPLEX*16 (2)", 2},
      // An empty extent is no error.
      {"real(kind=4) (1:0)", "REAL*4 (0)", 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Gdb);
    const TFortranType type = ParseFortranType(c.Gdb);
    EXPECT_EQ(type.Text(), c.Text);
    EXPECT_EQ(type.Elements(), c.Elements);
  }
}

TEST(FortranValueTest, ValuesAndSubscriptsInFortranTerms) {
  EXPECT_EQ(FortranValueText("(1.5,-2)"), "(1.5, -2)");
  EXPECT_EQ(FortranValueText(".TRUE."), ".TRUE.");
  EXPECT_EQ(FortranValueText("'HELLO, WORLD (1,2)  '"), "'HELLO, WORLD (1,2)  '");
  // An array section's values stay as they are.
  EXPECT_EQ(FortranValueText("(12, 22, 32, 42)"), "(12, 22, 32, 42)");
  EXPECT_EQ(SubscriptText("A", 2, {3}), "A(:,3)");
  EXPECT_EQ(SubscriptText("A", 2, {3, 2}), "A(2,3)");
  EXPECT_EQ(SubscriptText("B", 3, {4, 5, 6}), "B(6,5,4)");
  EXPECT_EQ(RoutineName("MAIN__"), "MAIN");
  EXPECT_EQ(RoutineName("sub_"), "SUB");
}

}  // namespace
}  // namespace vortan
