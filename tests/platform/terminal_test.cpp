#include "platform/terminal.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/tempdir.h"

using namespace vortan::platform;
using vortan::test::TTempDir;

namespace {

namespace fs = std::filesystem;

std::string MakeProgram(const TTempDir& dir, const std::string& name) {
  const std::string file = dir.Write(name, "#!/bin/sh\n");
  fs::permissions(file, fs::perms::owner_all);
  return file;
}

}  // namespace

TEST(Terminal, TheFirstThatExistsOfTheOwnChoiceTheDebianNameAndXterm) {
  TTempDir dir;
  const std::string own = MakeProgram(dir, "own/myterm");
  const std::string debian = MakeProgram(dir, "bin/x-terminal-emulator");
  const std::string xterm = MakeProgram(dir, "bin2/xterm");
  dir.Write("bin/xterm-not-executable", "");
  struct TCase {
    const char* what;
    std::string vortanTerminal;
    std::string path;
    std::string found;
  };
  const TCase cases[] = {
      {"own choice as a path", own, dir / "bin", own},
      {"own choice by name in PATH", "myterm", dir / "own" + ":" + dir / "bin", own},
      {"own choice missing", dir / "nowhere", dir / "bin", debian},
      {"xterm last", "", dir / "bin2", xterm},
      {"not executable is not there", "xterm-not-executable", dir / "bin", debian},
      {"none", "", dir / "empty", ""},
  };
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    ::setenv("VORTAN_TERMINAL", c.vortanTerminal.c_str(), 1);
    ::setenv("PATH", c.path.c_str(), 1);
    EXPECT_EQ(FindTerminal(), c.found);
  }
  ::setenv("PATH", oldPath.c_str(), 1);
  ::unsetenv("VORTAN_TERMINAL");
}
