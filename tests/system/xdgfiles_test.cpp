#include "system/xdgfiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vortan;

TEST(XdgFilesTest, RunToolIsTrueOnlyForAToolThatEndsWithZero) {
  struct TCase {
    const char* what;
    std::string program;
    std::vector<std::string> arguments;
    bool success;
  } const cases[] = {
      {"ends with 0", "sh", {"-c", "echo chatter; echo more >&2; exit 0"}, true},
      {"failing status", "sh", {"-c", "exit 4"}, false},
      {"ended by a signal", "sh", {"-c", "kill -KILL $$"}, false},
      {"missing program", "vortan-no-such-tool", {}, false},
      {"missing path", "/nonexistent/tool", {}, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(xdg::RunTool(c.program, c.arguments), c.success);
  }
}
