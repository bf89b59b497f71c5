#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/registry.h"
#include "support/files.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

struct TRun {
  int Code = -1;
  std::string Out;
};

class VortanRegTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(std::filesystem::exists(tool)) << tool << " is built with the vortanreg target";
  }
  // Arguments are single-quoted for the shell; none of them contains a quote.
  TRun Run(const std::vector<std::string>& args) {
    std::string cmd = "'" + tool + "' --store '" + store + "'";
    for (const std::string& a : args) cmd += " '" + a + "'";
    cmd += " >'" + (dir / "out") + "' 2>/dev/null";
    TRun r;
    int status = std::system(cmd.c_str());
    r.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.Out = test::ReadFile(dir / "out");
    return r;
  }

  test::TTempDir dir;
  const std::string tool = std::string(VORTAN_INSTALL_TREE) + "/vortanreg";
  const std::string store = dir / "registry.sqlite";
};

TEST_F(VortanRegTest, AddedValuesAreStoredWithTheirTypes) {
  const std::string key = "HKCU\\Software\\Ostrel\\Vortan\\2.0\\General";
  EXPECT_EQ(Run({"add", key, "/v", "Zoom", "/t", "REG_DWORD", "/d", "0x96"}).Code, 0);
  EXPECT_EQ(Run({"add", key, "/v", "Theme name", "/t", "REG_EXPAND_SZ", "/d", "$X"}).Code, 0);
  EXPECT_EQ(Run({"add", key, "/v", "Blob", "/t", "REG_BINARY", "/d", "00ff 10"}).Code, 0);
  EXPECT_EQ(Run({"add", key, "/v", "Minus", "/t", "REG_DWORD", "/d", "-1"}).Code, 0);

  TRegistry reg;
  std::string error;
  ASSERT_TRUE(reg.Open(store, error)) << error;
  const std::string path = "Software\\Ostrel\\Vortan\\2.0\\General";
  EXPECT_EQ(reg.ReadValue(path, "Zoom")->Data, std::string("\x96\0\0\0", 4));
  EXPECT_EQ(reg.ValueType(path, "Theme name"), TRegType::ExpandSz);
  EXPECT_EQ(reg.ReadValue(path, "Blob")->Data, std::string("\0\xff\x10", 3));
  EXPECT_EQ(reg.ReadValue(path, "Minus")->Data, "\xff\xff\xff\xff");
  reg.Close();

  TRun q = Run({"query", "software\\ostrel\\vortan\\2.0\\general", "ZOOM"});
  EXPECT_EQ(q.Code, 0);
  EXPECT_EQ(q.Out, path + "\n    Zoom    REG_DWORD    0x96\n");
}

TEST_F(VortanRegTest, ExportListsKeysAndValuesInCreationOrder) {
  Run({"add", "A\\Second", "/v", "s", "/d", "say \"hi\"\r\n"});
  Run({"add", "A\\First", "/ve", "/t", "REG_BINARY", "/d", "0a0B"});
  Run({"add", "A\\Second", "/v", "d", "/t", "REG_DWORD", "/d", "7"});
  TRun r = Run({"export", "a"});
  EXPECT_EQ(r.Code, 0);
  EXPECT_EQ(r.Out,
            "Vortan Registry Export 1\n"
            "\n[A]\n"
            "\n[A\\Second]\n"
            "\"s\"=\"say \\\"hi\\\"\\r\\n\"\n"
            "\"d\"=dword:00000007\n"
            "\n[A\\First]\n"
            "@=hex:0a,0b\n");
}

TEST_F(VortanRegTest, ExitCodesTellNotFoundFromUsageErrors) {
  EXPECT_EQ(Run({"query", "Nothing"}).Code, 1);  // no store file yet
  EXPECT_FALSE(std::filesystem::exists(store));
  ASSERT_EQ(Run({"add", "K", "/v", "v", "/d", "x"}).Code, 0);

  struct Case {
    std::vector<std::string> args;
    int code;
  };
  const Case cases[] = {
      {{"query", "K", "v"}, 0},
      {{"query", "Missing"}, 1},
      {{"query", "K", "missing"}, 1},
      {{"delete", "K", "/v", "missing"}, 1},
      {{"delete", "Missing"}, 1},
      {{"export", "Missing"}, 1},
      {{}, 2},
      {{"frobnicate"}, 2},
      {{"add"}, 2},
      {{"add", "K", "/v", "n", "/t", "REG_QWORD"}, 2},
      {{"add", "K", "/v", "n", "/t", "REG_DWORD", "/d", "12abc"}, 2},
      {{"add", "K", "/v", "n", "/t", "REG_BINARY", "/d", "abc"}, 2},
      {{"add", "K", "/v"}, 2},
      {{"--help"}, 0},
      {{"delete", "K", "/v", "v"}, 0},
      {{"delete", "K"}, 0},
      {{"query", "K"}, 1},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& a : c.args) line += a + " ";
    SCOPED_TRACE(line);
    EXPECT_EQ(Run(c.args).Code, c.code);
  }
  EXPECT_NE(Run({"--help"}).Out.find("Usage: vortanreg"), std::string::npos);
}

}  // namespace
}  // namespace vortan
