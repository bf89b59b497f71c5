#include "jobs/valuetip.h"

#include <gtest/gtest.h>

namespace vortan {
namespace {

TEST(ValueTipTest, TheNameUnderTheMouse) {
  struct TCase {
    const char* Line;
    std::size_t Column;
    const char* Name;
  };
  const TCase cases[] = {
      {"        ISUM = ISUM + N", 9, "ISUM"},
      {"        ISUM = ISUM + N", 22, "N"},
      {"        ISUM = ISUM + N", 13, ""},  // the "="
      {"      A(I,J) = I + 10*J", 6, "A"},
      {"      A(I,J) = I + 10*J", 20, ""},         // a number
      {"      NAME = 'HELLO WORLD'", 15, ""},      // in a character constant
      {"C       the sum of the first N", 30, ""},  // a comment line
      {"   10 CONTINUE", 3, ""},                   // the label field
      {"      X = Y", 40, ""},                     // past the end
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Line) + " @" + std::to_string(c.Column));
    EXPECT_EQ(FortranNameAt(c.Line, c.Column), c.Name);
  }
}

}  // namespace
}  // namespace vortan
