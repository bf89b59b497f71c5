#include "platform/platform.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace vortan::platform;

namespace {

// Sets environment variables for one test and puts the old values back afterwards.
class TEnvGuard {
 public:
  void Set(const char* name, const char* value) {
    Remember(name);
    if (value)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~TEnvGuard() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second)
        ::setenv(it->first.c_str(), it->second->c_str(), 1);
      else
        ::unsetenv(it->first.c_str());
    }
  }

 private:
  void Remember(const char* name) {
    const char* v = std::getenv(name);
    saved_.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

class TTempDir {
 public:
  TTempDir() {
    std::string tmpl = (fs::temp_directory_path() / "vortan-platform-XXXXXX").string();
    path_ = ::mkdtemp(tmpl.data());
  }
  ~TTempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  std::string Str() const { return path_.string(); }

 private:
  fs::path path_;
};

void Touch(const std::string& name) { std::ofstream(name) << "x"; }

}  // namespace

TEST(PlatformTest, LanguageIdFromLocale) {
  struct Case {
    const char* locale;
    int id;
  } cases[] = {
      {"pt_BR.UTF-8", 1046},
      {"pt_PT", 2070},
      {"pt", 1046},
      {"en_US", 1033},
      {"en_GB.UTF-8", 2057},
      {"en", 1033},
      {"de_DE@euro", 1031},
      {"de_AT", 3079},
      {"es_ES", 3082},
      {"es_MX", 2058},
      {"fr_CA", 3084},
      {"it_IT", 1040},
      {"nl_BE", 2067},
      {"ru_RU.KOI8-R", 1049},
      {"pl_PL", 1045},
      {"cs_CZ", 1029},
      {"ja_JP.eucJP", 1041},
      {"zh_TW", 1028},
      {"zh_CN.GB18030", 2052},
      {"ko_KR", 1042},
      {"pt-br", 1046},
      {"de_XX", 1031},
      {"C", 0},
      {"C.UTF-8", 0},
      {"POSIX", 0},
      {"", 0},
      {"xx_YY", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(LanguageIdFromLocale(c.locale), c.id) << c.locale;
}

TEST(PlatformTest, UserLanguageIdTakesFirstSetVariable) {
  TEnvGuard env;
  env.Set("LC_ALL", "");
  env.Set("LC_MESSAGES", "de_DE.UTF-8");
  env.Set("LANG", "pt_BR.UTF-8");
  EXPECT_EQ(UserLanguageId(), 1031);
  env.Set("LC_ALL", "pt_PT");
  EXPECT_EQ(UserLanguageId(), 2070);
  env.Set("LC_ALL", nullptr);
  env.Set("LC_MESSAGES", nullptr);
  env.Set("LANG", nullptr);
  EXPECT_EQ(UserLanguageId(), 0);
}

TEST(PlatformTest, ProgramFileOf) {
  struct Case {
    const char* source;
    const char* program;
  } cases[] = {
      {"prog.f", "prog"},
      {"/work/src/prog.f", "/work/src/prog"},
      {"prog", "prog.out"},
      {"/work/v1.2/prog", "/work/v1.2/prog.out"},
      {"/work/v1.2/prog.for", "/work/v1.2/prog"},
      {"a.b.f", "a.b"},
      {"/work/.f", "/work/.f.out"},
      {"/tmp/~Source2.f", "/tmp/~Source2"},
  };
  for (const Case& c : cases) EXPECT_EQ(ProgramFileOf(c.source), c.program) << c.source;
}

TEST(PlatformTest, IsSameFile) {
  TTempDir dir;
  const std::string file = dir / "Prog.f";
  const std::string other = dir / "other.f";
  Touch(file);
  Touch(other);
  ASSERT_EQ(::link(file.c_str(), (dir / "hard.f").c_str()), 0);
  ASSERT_EQ(::symlink(file.c_str(), (dir / "soft.f").c_str()), 0);

  EXPECT_TRUE(IsSameFile(file, file));
  EXPECT_TRUE(IsSameFile(file, dir / "hard.f"));
  EXPECT_TRUE(IsSameFile(dir / "soft.f", file));
  EXPECT_TRUE(IsSameFile(file, dir.Str() + "/./Prog.f"));
  EXPECT_FALSE(IsSameFile(file, other));
  EXPECT_FALSE(IsSameFile(file, dir / "prog.f"));  // case matters
  EXPECT_TRUE(IsSameFile(dir / "gone.f", dir / "gone.f"));
  EXPECT_FALSE(IsSameFile(dir / "gone.f", dir / "gone2.f"));
}

TEST(PlatformTest, FileAndDirectoryTests) {
  TTempDir dir;
  Touch(dir / "f");
  fs::create_directory(dir / "d");
  ASSERT_EQ(::symlink((dir / "f").c_str(), (dir / "lf").c_str()), 0);
  ASSERT_EQ(::symlink((dir / "missing").c_str(), (dir / "dangling").c_str()), 0);

  EXPECT_TRUE(FileExists(dir / "f"));
  EXPECT_TRUE(FileExists(dir / "lf"));
  EXPECT_FALSE(FileExists(dir / "dangling"));
  EXPECT_FALSE(FileExists(dir / "d"));
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(DirectoryExists(dir / "d"));
  EXPECT_FALSE(DirectoryExists(dir / "f"));
  EXPECT_FALSE(DirectoryExists(""));
}

TEST(PlatformTest, PathHelpers) {
  EXPECT_EQ(IncludeTrailingSeparator("/a/b"), "/a/b/");
  EXPECT_EQ(IncludeTrailingSeparator("/a/b/"), "/a/b/");
  EXPECT_EQ(IncludeTrailingSeparator(""), "");
  EXPECT_EQ(AbsolutePath("/a/./b/../c/"), "/a/c/");
  EXPECT_EQ(AbsolutePath("x/y"), (fs::current_path() / "x/y").string());
  EXPECT_EQ(AbsolutePath(""), "");

  const std::string dir = ExecutableDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '/');
  EXPECT_EQ(ExecutablePath().rfind(dir, 0), 0u);
  EXPECT_TRUE(FileExists(ExecutablePath()));
}

TEST(PlatformTest, SpecialFolders) {
  TTempDir dir;
  TEnvGuard env;
  const std::string home = dir / "home";
  env.Set("HOME", home.c_str());
  env.Set("XDG_CONFIG_HOME", nullptr);
  env.Set("XDG_DATA_HOME", nullptr);

  // Nothing configured: the conventional places below the home directory.
  EXPECT_EQ(SpecialFolder(FolderDesktop), home + "/Desktop/");
  EXPECT_EQ(SpecialFolder(FolderStartMenu), home + "/.local/share/applications/");
  EXPECT_EQ(SpecialFolder(FolderPrograms), home + "/.local/share/applications/");
  EXPECT_EQ(SpecialFolder(5), "");

  const std::string config = dir / "config";
  fs::create_directories(config);
  std::ofstream(config + "/user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                            << "XDG_DOWNLOAD_DIR=\"$HOME/Downloads\"\n"
                                            << "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n";
  env.Set("XDG_CONFIG_HOME", config.c_str());
  env.Set("XDG_DATA_HOME", (dir / "data").c_str());
  EXPECT_EQ(SpecialFolder(FolderDesktop), home + "/Schreibtisch/");
  EXPECT_EQ(SpecialFolder(FolderStartMenu), dir / "data/applications/");
  EXPECT_EQ(SpecialFolder(FolderPrograms), dir / "data/applications/");

  std::ofstream(config + "/user-dirs.dirs") << "XDG_DESKTOP_DIR=\"/srv/desk\"\n";
  EXPECT_EQ(SpecialFolder(FolderDesktop), "/srv/desk/");

  // Relative XDG values are invalid and fall back to the defaults.
  env.Set("XDG_CONFIG_HOME", "relative/config");
  env.Set("XDG_DATA_HOME", "relative/data");
  EXPECT_EQ(SpecialFolder(FolderDesktop), home + "/Desktop/");
  EXPECT_EQ(SpecialFolder(FolderStartMenu), home + "/.local/share/applications/");
}

namespace vortan::platform {
namespace {

TEST(PlatformTest, WriteBitsAreReadForTheClassTheUserIsIn) {
  struct TCase {
    const char* what;
    unsigned mode, owner, group;
    TFileUser user;
    bool writable;
  };
  const TFileUser alice{1000, {1000, 27}};
  const TFileUser root{0, {0}};
  const TCase cases[] = {
      {"own file, owner may write", 0644, 1000, 1000, alice, true},
      {"own file made read-only", 0444, 1000, 1000, alice, false},
      {"own file: the group bit does not help the owner", 0464, 1000, 1000, alice, false},
      {"another user's file, group may write, user in it", 0664, 1001, 27, alice, true},
      {"another user's file, group may write, user not in it", 0664, 1001, 50, alice, false},
      {"another user's file, others may write", 0646, 1001, 50, alice, true},
      {"another user's file, read for others only", 0644, 1001, 50, alice, false},
      {"group member: the others' bit does not help", 0646, 1001, 27, alice, false},
      {"root's own read-only file", 0444, 0, 0, root, false},
      {"another user's file for root", 0644, 65534, 65534, root, false},
      {"root's own file", 0600, 0, 0, root, true},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(ModeLetsWrite(c.mode, c.owner, c.group, c.user), c.writable) << c.what;
}

}  // namespace
}  // namespace vortan::platform

namespace vortan::platform {
namespace {

TEST(PlatformTest, PrivateRuntimeDirectoryIsNeverAnotherUsersOrAnOpenOne) {
  const passwd* nobody = ::getpwnam("nobody");
  if (!nobody || ::geteuid() != 0) GTEST_SKIP() << "giving folders to another user needs root";
  const unsigned uid = ::geteuid();
  struct TCase {
    const char* what;
    std::function<void(const std::string& runtime, const std::string& fallback)> prepare;
    bool runtimeGiven;
    const char* expected;  // "runtime", "fallback" or "" for none
  };
  const TCase cases[] = {
      {"the runtime folder, ours and closed", [](auto&, auto&) {}, true, "runtime"},
      {"a runtime folder of another user",
       [&](const std::string& r, auto&) { ASSERT_EQ(::chown(r.c_str(), nobody->pw_uid, 0), 0); },
       true, "fallback"},
      {"a runtime folder open to others",
       [](const std::string& r, auto&) { ASSERT_EQ(::chmod(r.c_str(), 0777), 0); }, true,
       "fallback"},
      {"no runtime folder", [](auto&, auto&) {}, false, "fallback"},
      {"the fallback exists with another owner",
       [&](auto&, const std::string& f) {
         ASSERT_EQ(::mkdir(f.c_str(), 0700), 0);
         ASSERT_EQ(::chown(f.c_str(), nobody->pw_uid, 0), 0);
       },
       false, ""},
      {"the fallback is a link to a folder of ours",
       [](const std::string& r, const std::string& f) {
         ASSERT_EQ(::symlink(r.c_str(), f.c_str()), 0);
       },
       false, ""},
      {"the fallback is ours but open: closed again",
       [](auto&, const std::string& f) {
         ASSERT_EQ(::mkdir(f.c_str(), 0700), 0);
         ASSERT_EQ(::chmod(f.c_str(), 0777), 0);
       },
       false, "fallback"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    char tmpl[] = "/tmp/vortan-rt-XXXXXX";
    const std::string base = ::mkdtemp(tmpl);
    const std::string runtime = base + "/run";
    ASSERT_EQ(::mkdir(runtime.c_str(), 0700), 0);
    const std::string fallback = base + "/vortan-" + std::to_string(uid);
    c.prepare(runtime, fallback);
    const std::string got = PrivateRuntimeDirectory(c.runtimeGiven ? runtime : "", base, uid);
    const std::string expected = std::string(c.expected) == "runtime"    ? runtime
                                 : std::string(c.expected) == "fallback" ? fallback
                                                                         : "";
    EXPECT_EQ(got, expected);
    if (got == fallback && !got.empty()) {
      struct stat st {};
      ASSERT_EQ(::lstat(got.c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 0777, 0700u);
      EXPECT_EQ(st.st_uid, uid);
    }
    std::filesystem::remove_all(base);
  }
  EXPECT_EQ(PrivateRuntimeDirectory("", "", uid), "");
}

}  // namespace
}  // namespace vortan::platform
