#include "platform/childprocess.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>
#include <string>
#include <vector>

using namespace vortan;

namespace {

struct TEndCase {
  const char* what;
  std::vector<std::string> arguments;
  std::uint32_t exitCode;
};

}  // namespace

TEST(ChildProcessTest, ExitCodeOfAnEndedChild) {
  const TEndCase cases[] = {
      {"success", {"sh", "-c", "exit 0"}, 0},
      {"failure", {"sh", "-c", "exit 3"}, 3},
      {"ended by a signal", {"sh", "-c", "kill -TERM $$"}, 128 + SIGTERM},
      // The tools' output must not reach the program's own descriptors.
      {"null stdio", {"sh", "-c", "[ \"$(readlink /proc/$$/fd/1)\" = /dev/null ]"}, 0},
  };
  for (const TEndCase& c : cases) {
    SCOPED_TRACE(c.what);
    TChildStart how;
    how.Arguments = c.arguments;
    how.NullStdio = true;
    TChildProcess child;
    ASSERT_TRUE(child.Start(how)) << child.Error();
    EXPECT_TRUE(child.Wait(-1, -1));
    EXPECT_TRUE(child.Ended());
    EXPECT_EQ(child.ExitCode(), c.exitCode);
  }
}

TEST(ChildProcessTest, AChildThatCannotStartReportsTheReason) {
  struct TCase {
    const char* what;
    std::vector<std::string> arguments;
    std::string directory;
  } const cases[] = {
      {"no program", {}, ""},
      {"missing program", {"/nonexistent/prog"}, ""},
      {"missing in PATH", {"vortan-no-such-tool"}, ""},
      {"missing folder", {"sh", "-c", "exit 0"}, "/nonexistent/dir"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TChildStart how;
    how.Arguments = c.arguments;
    how.WorkingDirectory = c.directory;
    TChildProcess child;
    EXPECT_FALSE(child.Start(how));
    EXPECT_EQ(child.Error(), ENOENT);
  }
}

TEST(ChildProcessTest, AWaitEndsAtTheTimeoutAndAKilledChildEndsWithZero) {
  TChildStart how;
  how.Arguments = {"sleep", "30"};
  TChildProcess child;
  ASSERT_TRUE(child.Start(how)) << child.Error();
  EXPECT_FALSE(child.Wait(-1, 20));
  EXPECT_FALSE(child.Ended());
  child.Kill();
  EXPECT_TRUE(child.Wait(-1, 5000));
  EXPECT_EQ(child.ExitCode(), 0u);
}
