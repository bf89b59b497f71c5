// The Help menu end to end on the X display: the main window resolves the pages of the built
// installation tree and hands them to the desktop's opener, here a stand-in on PATH that writes
// down its arguments; without a page or without an opener the user is told so.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QAction>
#include <QApplication>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "config/settingsstore.h"
#include "shell/mainwindow.h"
#include "support/files.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"
#include "system/vortanextension.h"
#include "system/vortanpath.h"

namespace fs = std::filesystem;

namespace vortan {
namespace {

using test::TScriptedPrompts;
using test::TTempDir;

using vortan::test::ReadFile;

class HelpMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
      GTEST_SKIP() << "needs the X display (run under xvfb-run)";
    const char* path = std::getenv("PATH");
    savedPath_ = path ? path : "";
    for (const char* name : {"BROWSER", "DEFAULT_BROWSER"}) ::unsetenv(name);
    ASSERT_TRUE(OpenStore(dir_ / "store.sqlite").Ok);
  }
  void TearDown() override {
    main_.reset();
    SetVortanExtension(nullptr);
    files_.reset();
    paths_.reset();
    if (!savedPath_.empty()) ::setenv("PATH", savedPath_.c_str(), 1);
    CloseStore();
  }

  /// The main window with the installation in `install`, and PATH holding only `bin`.
  void Start(const std::string& install, const std::string& bin) {
    paths_ = std::make_unique<TVortanPath>(Store(), install + "/");
    files_ = std::make_unique<TVortanExtension>(*paths_);
    SetVortanExtension(files_.get());
    ::setenv("PATH", bin.c_str(), 1);
    main_ = std::make_unique<TfrmMain>();
    main_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
  }
  /// The stand-in xdg-open of the whole run, which appends its arguments, one call a line, to
  /// Log(). One for the run: the desktop services remember the opener they found by its path.
  static std::string OpenerDir() {
    static TTempDir dir;
    static const std::string bin = dir.MakeDir("bin");
    return bin;
  }
  static std::string Log() { return OpenerDir() + "/opened.txt"; }
  static void SetOpener(bool runnable) {
    const std::string opener = OpenerDir() + "/xdg-open";
    std::ofstream(opener) << "#!/bin/sh\necho \"$@\" >> '" << Log() << "'\n";
    ::chmod(opener.c_str(), runnable ? 0755 : 0644);
  }
  void Trigger(const char* action) {
    QAction* a = main_->findChild<QAction*>(QString::fromLatin1(action));
    ASSERT_NE(a, nullptr) << action;
    ASSERT_TRUE(a->isEnabled()) << action;
    a->trigger();
  }

  TTempDir dir_;
  TScriptedPrompts prompts_;
  std::string savedPath_;
  std::unique_ptr<TVortanPath> paths_;
  std::unique_ptr<TVortanExtension> files_;
  std::unique_ptr<TfrmMain> main_;
};

TEST_F(HelpMenu, WithoutThePageOrWithoutAnOpenerTheUserIsTold) {
  struct Case {
    const char* what;
    bool installed;
  };
  for (const Case c : {Case{"no page", false}, Case{"page but no opener", true}}) {
    SCOPED_TRACE(c.what);
    const std::string empty = dir_.MakeDir(std::string("empty-") + (c.installed ? "1" : "0"));
    // No opener on PATH, and the one remembered from an earlier test cannot be started.
    SetOpener(false);
    Start(c.installed ? std::string(VORTAN_INSTALL_TREE) : empty, empty);
    prompts_.Answer(TModalResult::No);
    Trigger("actHelp");
    ASSERT_EQ(prompts_.asked.size(), 1u);
    EXPECT_EQ(prompts_.asked[0].Text.rfind("Sorry, extension not found.", 0), 0u)
        << prompts_.asked[0].Text;
    prompts_.asked.clear();
    main_.reset();
    SetVortanExtension(nullptr);
    files_.reset();
    paths_.reset();
  }
}

TEST_F(HelpMenu, HelpContentsAndTutorialOpenTheirPageAtItsContents) {
  const std::string log = Log();
  SetOpener(true);
  Start(VORTAN_INSTALL_TREE, OpenerDir());
  const std::string tree = fs::canonical(VORTAN_INSTALL_TREE).string();
  struct Case {
    const char* action;
    std::string url;
  };
  for (const Case& c : {Case{"actHelp", "file://" + tree + "/Vortan2.html#contents"},
                        Case{"actContents", "file://" + tree + "/Vortan2.html#contents"},
                        Case{"actTutorial", "file://" + tree + "/Tutorial.html#contents"},
                        Case{"actG77Manual", "file://" + tree + "/Doc/G77/g77.html"},
                        Case{"actGDBManual", "file://" + tree + "/Doc/GDB/gdb.html"}}) {
    SCOPED_TRACE(c.action);
    fs::remove(log);
    Trigger(c.action);
    // The opener runs detached: wait for its line.
    for (int i = 0; i < 100 && ReadFile(log).empty(); ++i) QTest::qWait(50);
    EXPECT_EQ(ReadFile(log), c.url + "\n");
  }
  EXPECT_TRUE(prompts_.asked.empty());
}

}  // namespace
}  // namespace vortan
