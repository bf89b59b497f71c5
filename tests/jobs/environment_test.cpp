#include "jobs/environment.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/platformprofile.h"

using namespace vortan;

namespace {

std::vector<std::string> Entries(const TEnvironment& env) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < env.Count(); ++i) out.push_back(env[i]);
  return out;
}

std::string Sep() { return std::string(1, platform::PathListSeparator); }

struct TAddCase {
  const char* what;
  std::vector<std::string> added;
  std::vector<std::string> expected;
};

}  // namespace

TEST(EnvironmentTest, EntryRules) {
  const TAddCase cases[] = {
      {"no '=' is ignored", {"NOEQUALS"}, {}},
      {"an empty name is ignored", {"=C:=C:\\work", "=x"}, {}},
      {"an entry holding NUL is ignored", {std::string("A=1\0B=2", 7)}, {}},
      {"new names are appended in order", {"B=1", "A=2"}, {"B=1", "A=2"}},
      {"a name in other case replaces in place, new spelling",
       {"Path=/a", "HOME=/h", "PATH=/b"},
       {"PATH=/b", "HOME=/h"}},
      {"a value may hold '=' and may be empty", {"X=a=b", "E="}, {"X=a=b", "E="}},
  };
  for (const TAddCase& c : cases) {
    TEnvironment env;
    for (const std::string& e : c.added) env.Add(e);
    EXPECT_EQ(Entries(env), c.expected) << c.what;
  }
}

TEST(EnvironmentTest, LookupIgnoresCaseAndSurvivesDelete) {
  TEnvironment env;
  env.Add("A=1");
  env.Add("X=a=b");
  env.Add("C=3");
  EXPECT_EQ(env.GetValue("x"), "a=b");
  EXPECT_EQ(env.GetValue("missing"), "");
  env.Delete(0);
  EXPECT_EQ(env.IndexOfName("c"), 1);
  env.SetValue("c", "4");
  EXPECT_EQ(Entries(env), (std::vector<std::string>{"X=a=b", "c=4"}));
}

TEST(EnvironmentTest, BlockLayoutAndAbsence) {
  TEnvironment env;
  EXPECT_EQ(env.Block(), nullptr);
  EXPECT_EQ(env.BlockSize(), 0u);
  EXPECT_TRUE(env.Envp().empty()) << "no block: the child inherits";

  env.Add("A=1");
  env.Add("BB=22");
  ASSERT_NE(env.Block(), nullptr);
  EXPECT_EQ(std::string(env.Block(), env.BlockSize()), std::string("A=1\0BB=22\0\0", 11));
  const std::vector<char*> envp = env.Envp();
  ASSERT_EQ(envp.size(), 3u);
  EXPECT_STREQ(envp[0], "A=1");
  EXPECT_STREQ(envp[1], "BB=22");
  EXPECT_EQ(envp[2], nullptr);

  env.Clear();
  EXPECT_EQ(std::string(env.Block(), env.BlockSize()), std::string("\0", 1))
      << "a cleared list is an empty environment, not the inherited one";
  EXPECT_EQ(env.Envp().size(), 1u);
}

TEST(EnvironmentTest, NoBlockIsBuiltInsideABracket) {
  TEnvironment env;
  env.BeginUpdate();
  env.Add("A=1");
  env.BeginUpdate();
  env.Add("B=2");
  env.EndUpdate();
  EXPECT_EQ(env.Block(), nullptr);
  env.EndUpdate();
  EXPECT_EQ(std::string(env.Block(), env.BlockSize()), std::string("A=1\0B=2\0\0", 9));

  env.BeginUpdate();
  env.Add("C=3");
  EXPECT_EQ(env.BlockSize(), 9u) << "the old block stays until the bracket closes";
  env.EndUpdate();
  EXPECT_EQ(env.BlockSize(), 13u);
}

TEST(EnvironmentTest, CompilerPaths) {
  const std::string bin = "/opt/vortan/Bin/";
  const std::string lib = "/opt/vortan/Lib/";
  const TAddCase cases[] = {
      {"PATH extended, LIBRARY_PATH replaced in place",
       {"HOME=/h", "PATH=/usr/bin", "LIBRARY_PATH=/old", "Z=1"},
       {"HOME=/h", "PATH=" + bin + Sep() + "/usr/bin", "LIBRARY_PATH=" + lib, "Z=1"}},
      {"a Path variable is replaced in its place and spelled PATH",
       {"Path=/usr/bin", "X=1"},
       {"PATH=" + bin + Sep() + "/usr/bin", "X=1", "LIBRARY_PATH=" + lib}},
      {"no PATH: the Bin directory alone", {"X=1"}, {"X=1", "PATH=" + bin, "LIBRARY_PATH=" + lib}},
      {"an empty PATH: no separator", {"PATH="}, {"PATH=" + bin, "LIBRARY_PATH=" + lib}},
  };
  for (const TAddCase& c : cases) {
    TEnvironment env;
    for (const std::string& e : c.added) env.Add(e);
    env.SetCompilerPaths(bin, lib);
    EXPECT_EQ(Entries(env), c.expected) << c.what;
  }
}

TEST(EnvironmentTest, EmptyCompilerFolderLeavesItsVariableAlone) {
  struct TCase {
    const char* what;
    std::string bin, lib;
    std::vector<std::string> added, expected;
  };
  const TCase cases[] = {
      {"no Lib folder: the user's LIBRARY_PATH stays",
       "/i/Bin/",
       "",
       {"PATH=/usr/bin", "LIBRARY_PATH=/mine"},
       {"PATH=/i/Bin/" + Sep() + "/usr/bin", "LIBRARY_PATH=/mine"}},
      {"no Lib folder and no LIBRARY_PATH: none is added",
       "/i/Bin/",
       "",
       {"PATH=/usr/bin"},
       {"PATH=/i/Bin/" + Sep() + "/usr/bin"}},
      {"no Bin folder: PATH gets no leading separator",
       "",
       "/i/Lib/",
       {"PATH=/usr/bin", "LIBRARY_PATH=/mine"},
       {"PATH=/usr/bin", "LIBRARY_PATH=/i/Lib/"}},
      {"no Bin folder and no PATH: none is added", "", "", {"X=1"}, {"X=1"}},
  };
  for (const TCase& c : cases) {
    TEnvironment env;
    for (const std::string& e : c.added) env.Add(e);
    env.SetCompilerPaths(c.bin, c.lib);
    EXPECT_EQ(Entries(env), c.expected) << c.what;
  }
}

TEST(EnvironmentTest, LoadForCompilerCopiesOwnEnvironmentAndLeavesItAlone) {
  const char* old = std::getenv("LIBRARY_PATH");
  const std::optional<std::string> saved = old ? std::optional<std::string>(old) : std::nullopt;
  ::setenv("LIBRARY_PATH", "/mine", 1);

  TEnvironment own;
  own.LoadCurrent();
  std::size_t expectedCount = 0;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const std::size_t eq = entry.find('=');
    if (eq == std::string::npos || eq == 0) continue;
    ASSERT_LT(expectedCount, own.Count());
    EXPECT_EQ(own[expectedCount++], entry);
  }
  EXPECT_EQ(own.Count(), expectedCount);

  TEnvironment compiler;
  compiler.LoadForCompiler("/i/Bin/", "/i/Lib/");
  EXPECT_EQ(compiler.GetValue("LIBRARY_PATH"), "/i/Lib/");
  EXPECT_EQ(compiler.Count(), own.Count() + (own.IndexOfName("PATH") < 0 ? 1 : 0));
  EXPECT_STREQ(std::getenv("LIBRARY_PATH"), "/mine");

  if (saved)
    ::setenv("LIBRARY_PATH", saved->c_str(), 1);
  else
    ::unsetenv("LIBRARY_PATH");
}

TEST(EnvironmentTest, EnglishMessagesOverruleEveryLocaleButChangeNothingElse) {
  struct TCase {
    const char* Name;
    std::vector<std::string> Entries;
    std::vector<std::pair<std::string, std::string>> Expected;
  };
  const TCase cases[] = {
      {"LC_ALL set",
       {"LANG=pt_BR.UTF-8", "LC_ALL=pt_BR.UTF-8", "LC_MESSAGES=pt_BR.UTF-8"},
       {{"LC_ALL", ""},
        {"LC_MESSAGES", "C"},
        {"LC_CTYPE", "pt_BR.UTF-8"},
        {"LC_NUMERIC", "pt_BR.UTF-8"},
        {"LANG", "pt_BR.UTF-8"}}},
      {"LANG only",
       {"LANG=de_DE.UTF-8", "PATH=/bin"},
       {{"LC_MESSAGES", "C"}, {"LANG", "de_DE.UTF-8"}, {"LC_CTYPE", ""}, {"PATH", "/bin"}}},
  };
  for (const TCase& c : cases) {
    TEnvironment env;
    for (const std::string& e : c.Entries) env.Add(e);
    env.SetEnglishMessages();
    for (const auto& [name, value] : c.Expected)
      EXPECT_EQ(env.GetValue(name), value) << c.Name << ": " << name;
    EXPECT_EQ(env.IndexOfName("LC_ALL"), -1) << c.Name;
    ASSERT_NE(env.Block(), nullptr) << c.Name;
  }
}
