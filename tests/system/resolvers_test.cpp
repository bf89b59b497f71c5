#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "config/registry.h"
#include "config/settingids.h"
#include "config/settingsstore.h"
#include "config/settingstable.h"
#include "system/vortanextension.h"
#include "system/vortanformat.h"
#include "system/vortanpath.h"

namespace fs = std::filesystem;
using namespace vortan;

namespace {

// A temporary installation directory with its own store file; the temporary-directory
// variables are cleared for the test and restored afterwards.
class ResolversTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "vortan-resolvers-XXXXXX").string();
    root_ = ::mkdtemp(tmpl.data());
    install_ = (root_ / "inst").string() + "/";
    fs::create_directories(install_);
    ASSERT_TRUE(store_.Open((root_ / "store.sqlite").string()).Ok);
    for (const char* name : {"TMPDIR", "TMP", "TEMP"}) {
      const char* v = std::getenv(name);
      savedEnv_.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
      ::unsetenv(name);
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : savedEnv_) {
      if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
      else
        ::unsetenv(name.c_str());
    }
    store_.Close();
    std::error_code ec;
    fs::remove_all(root_, ec);
  }

  std::string Dir(const std::string& name) {
    fs::create_directories(root_ / name);
    return (root_ / name).string() + "/";
  }
  static void Touch(const std::string& file) {
    fs::create_directories(fs::path(file).parent_path());
    std::ofstream(file) << "x";
  }

  fs::path root_;
  std::string install_;
  TSettingsStore store_;
  std::vector<std::pair<std::string, std::optional<std::string>>> savedEnv_;
};

}  // namespace

TEST_F(ResolversTest, FreshInstallResolvesAndStoresFullPaths) {
  fs::create_directory(install_ + "Bin");
  {
    TVortanPath paths(store_, install_);
    EXPECT_EQ(paths.GetPath(sidInstallPath), install_);
    EXPECT_EQ(paths.GetPath(sidBinPath), install_ + "Bin/");
    EXPECT_EQ(paths.GetPath(sidLibPath), "");  // not installed
    EXPECT_EQ(paths.GetPath(7), "");
  }
  EXPECT_EQ(store_.ReadString(sidInstallPath), install_);
  EXPECT_EQ(store_.ReadString(sidBinPath), install_ + "Bin/");
  EXPECT_EQ(store_.ReadString(sidLibPath), "");
}

TEST_F(ResolversTest, InstallDirWithoutTrailingSeparator) {
  fs::create_directory(install_ + "Lib");
  TVortanPath paths(store_, install_.substr(0, install_.size() - 1));
  EXPECT_EQ(paths.GetPath(sidInstallPath), install_);
  EXPECT_EQ(paths.GetPath(sidLibPath), install_ + "Lib/");
}

TEST_F(ResolversTest, DeletedStoredDirectoryFallsBackToDefault) {
  fs::create_directory(install_ + "Bin");
  const std::string custom = Dir("custom-bin");
  store_.WriteString(sidBinPath, custom);
  TVortanPath paths(store_, install_);
  EXPECT_EQ(paths.GetPath(sidBinPath), custom);
  fs::remove(custom);
  EXPECT_EQ(paths.GetPath(sidBinPath), install_ + "Bin/");
}

TEST_F(ResolversTest, TempPathCandidates) {
  const std::string tmpdir = Dir("tmpdir");
  const std::string tmp = Dir("tmp");
  const std::string missing = (root_ / "missing").string();
  {
    ::setenv("TMPDIR", missing.c_str(), 1);
    ::setenv("TMP", tmp.substr(0, tmp.size() - 1).c_str(), 1);
    ::setenv("TEMP", tmpdir.c_str(), 1);
    TVortanPath paths(store_, install_);
    EXPECT_EQ(paths.GetPath(sidTempPath), tmp);  // first existing one, separator added
    ::setenv("TMPDIR", tmpdir.c_str(), 1);
    paths.ClearPaths();
    EXPECT_EQ(paths.GetPath(sidTempPath), tmpdir);
  }
  {
    ::setenv("TMPDIR", missing.c_str(), 1);
    ::setenv("TMP", "", 1);
    ::unsetenv("TEMP");
    store_.WriteString(sidTempPath, "");
    TVortanPath paths(store_, install_);
    EXPECT_EQ(paths.GetPath(sidTempPath), "");
    fs::create_directory(install_ + "Tmp");
    EXPECT_EQ(paths.GetPath(sidTempPath), install_ + "Tmp/");
  }
}

TEST_F(ResolversTest, RelativeTempVariableIsMadeAbsolute) {
  const std::string tmp = Dir("reltmp");
  const fs::path old = fs::current_path();
  fs::current_path(root_);
  ::setenv("TMPDIR", "./reltmp", 1);
  std::string resolved;
  {
    TVortanPath paths(store_, install_);
    resolved = paths.GetPath(sidTempPath);
  }
  fs::current_path(old);
  EXPECT_EQ(resolved, tmp);
}

TEST_F(ResolversTest, ClearPathsRecomputesEvenWhenStoredValueStillExists) {
  fs::create_directory(install_ + "Bin");
  const std::string custom = Dir("custom-bin");
  store_.WriteString(sidBinPath, custom);
  TVortanPath paths(store_, install_);
  EXPECT_EQ(paths.GetPath(sidBinPath), custom);
  paths.ClearPaths();
  EXPECT_EQ(store_.ReadString(sidBinPath), "");
  EXPECT_EQ(paths.GetPath(sidBinPath), install_ + "Bin/");
}

TEST_F(ResolversTest, ClearExtensionsRecomputesEvenWhenStoredValueStillExists) {
  Touch(install_ + "Bin/ftnchek");
  const std::string custom = (root_ / "elsewhere/ftnchek").string();
  Touch(custom);
  store_.WriteString(sidAnalyzerExtension, custom);
  TVortanPath paths(store_, install_);
  TVortanExtension ext(paths, store_);
  EXPECT_EQ(ext.GetExtension(sidAnalyzerExtension), custom);
  ext.ClearExtensions();
  EXPECT_EQ(store_.ReadString(sidAnalyzerExtension), "");
  EXPECT_EQ(ext.GetExtension(sidAnalyzerExtension), install_ + "Bin/ftnchek");
}

TEST_F(ResolversTest, StaleStoredExtensionFallsBackAndIsStoredResolved) {
  Touch(install_ + "Bin/gfortran");
  store_.WriteString(sidCompilerExtension, (root_ / "old/gfortran").string());
  {
    TVortanPath paths(store_, install_);
    TVortanExtension ext(paths, store_);
    EXPECT_EQ(ext.GetExtension(sidCompilerExtension), install_ + "Bin/gfortran");
    EXPECT_EQ(ext.GetExtension(sidAnalyzerExtension), "");       // not installed
    EXPECT_EQ(ext.GetExtension(sidFtnchekManualExtension), "");  // no Doc directory at all
  }
  EXPECT_EQ(store_.ReadString(sidCompilerExtension), install_ + "Bin/gfortran");
  EXPECT_EQ(store_.ReadString(sidAnalyzerExtension), "");
}

TEST_F(ResolversTest, DocumentsAndHelpFiles) {
  Touch(install_ + "Doc/GDB/gdb.html");
  Touch(install_ + "Tutorial.html");
  TVortanPath paths(store_, install_);
  TVortanExtension ext(paths, store_);
  EXPECT_EQ(ext.GetExtension(sidGDBManualExtension), install_ + "Doc/GDB/gdb.html");
  EXPECT_EQ(ext.GetExtension(sidTutorialExtension), install_ + "Tutorial.html");
  EXPECT_EQ(ext.GetExtension(sidHelpExtension), "");
}

TEST_F(ResolversTest, ParlaxLookup) {
  const std::string companion = Dir("parlax");
  Touch(companion + "Parlax");
  struct Case {
    const char* what;
    bool inInstall;
    std::optional<std::string> installPath;
    TRegType type;
    std::string expected;
  } cases[] = {
      {"beside the IDE", true, companion, TRegType::Sz, install_ + "Parlax"},
      {"key with separator", false, companion, TRegType::Sz, companion + "Parlax"},
      {"key without separator", false, companion.substr(0, companion.size() - 1), TRegType::Sz,
       companion + "Parlax"},
      {"no key", false, std::nullopt, TRegType::Sz, ""},
      {"empty value", false, std::string(), TRegType::Sz, ""},
      {"wrong type", false, companion, TRegType::Binary, ""},
      {"key names a directory without the tool", false, Dir("empty"), TRegType::Sz, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TRegistry* reg = store_.Registry();
    ASSERT_NE(reg, nullptr);
    reg->DeleteKeyTree(ParlaxKeyPath);
    if (c.installPath) reg->WriteValue(ParlaxKeyPath, "InstallPath", c.type, *c.installPath);
    fs::remove(install_ + "Parlax");
    if (c.inInstall) Touch(install_ + "Parlax");
    TVortanPath paths(store_, install_);
    TVortanExtension ext(paths, store_);
    ext.ClearExtensions();
    EXPECT_EQ(ext.GetExtension(sidParlaxExtension), c.expected);
  }
}

TEST_F(ResolversTest, EmptyFormatIsReadAgainAndNeverWrittenBack) {
  store_.WriteString(sidAnalyzerFormat, "");
  {
    TVortanFormat formats(store_);
    EXPECT_EQ(formats.GetFormat(sidAnalyzerFormat), "");
    store_.WriteString(sidAnalyzerFormat, "-quiet %s %s");
    EXPECT_EQ(formats.GetFormat(sidAnalyzerFormat), "-quiet %s %s");
    store_.WriteString(sidAnalyzerFormat, "changed %s %s");
    EXPECT_EQ(formats.GetFormat(sidAnalyzerFormat), "-quiet %s %s");  // kept once read
  }
  EXPECT_EQ(store_.ReadString(sidAnalyzerFormat), "-quiet %s %s");

  store_.WriteString(sidAnalyzerFormat, "");
  {
    TVortanFormat formats(store_);
    EXPECT_EQ(formats.GetFormat(sidAnalyzerFormat), "");
    store_.WriteString(sidAnalyzerFormat, "written meanwhile");
  }
  EXPECT_EQ(store_.ReadString(sidAnalyzerFormat), "written meanwhile");
}

TEST_F(ResolversTest, FormatDefaultsComeFromTheSettings) {
  TVortanFormat formats(store_);
  EXPECT_EQ(formats.GetFormat(sidCompilerFormat), "%s %s -o %s %s");
  EXPECT_EQ(formats.GetFormat(sidAnalyzerFormat), "-nonovice -quiet -wrap=999 %s %s");
  EXPECT_EQ(formats.GetFormat(sidInstallPath), "");
}

TEST_F(ResolversTest, WorkerLookupsAreSerialisedWithClearing) {
  TVortanPath paths(store_, install_);
  std::thread worker([&] {
    for (int i = 0; i < 2000; ++i) EXPECT_EQ(paths.GetPath(sidInstallPath), install_);
  });
  for (int i = 0; i < 200; ++i) {
    paths.ClearPaths();
    EXPECT_EQ(paths.GetPath(sidInstallPath), install_);
  }
  worker.join();
}
