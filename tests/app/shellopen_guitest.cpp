// Opening sources from the desktop: with the .f association in a temporary home, the desktop's
// own openers (xdg-open, gio open) hand files to the running IDE, which comes in front of
// other windows; a second request for the same file starts no second program. The IDE is the
// real executable on the X display. What it does is read from outside: from the X server its
// top-level windows (by process id) and their stacking order, and from its settings the
// reopen history it writes when it closes, which names every file it opened.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "app/idehome.h"
#include "config/settingids.h"
#include "config/settingsstore.h"
#include "i18n/stringtable.h"
#include "system/shellintegration.h"

#ifdef VORTAN_TEST_X11
#include "app/xidetest.h"
#include "support/files.h"
#endif

namespace fs = std::filesystem;

namespace vortan {
namespace {

bool HasTool(const char* name) {
  return !QStandardPaths::findExecutable(QString::fromLatin1(name)).isEmpty();
}

std::map<std::string, std::string> Snapshot(const std::string& dir, const std::string& skip) {
  std::map<std::string, std::string> files;
  for (const auto& e : fs::recursive_directory_iterator(dir)) {
    if (!e.is_regular_file() || e.path().string().rfind(skip, 0) == 0) continue;
    files[e.path().string()] = test::ReadFile(e.path().string());
  }
  return files;
}

using test::ShellHomeTest;

#ifdef VORTAN_TEST_X11

// The IDE on the X display, seen through the X server.
class ShellOpenTest : public test::XIdeTest {
 protected:
  /// Waits until the IDE's one window is in front.
  ::testing::AssertionResult ComesToFront(Window main) {
    if (QTest::qWaitFor(
            [&] {
              auto ide = display_.IdeWindows(ide_.processId());
              return ide.size() == 1 && ide[0].Id == main && display_.InFront(main);
            },
            10000))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "main window " << main << "; " << display_.Describe();
  }

  /// Launches of the program in this session besides the running instance: the openers'
  /// second launches that forward a file.
  int Forwarders() {
    std::error_code ec;
    const fs::path exe = fs::canonical(Exe().toStdString(), ec);
    const std::string session = "XDG_RUNTIME_DIR=" + home_ / "run";
    int count = 0;
    for (const auto& e : fs::directory_iterator("/proc", ec)) {
      const std::string pid = e.path().filename().string();
      if (pid.find_first_not_of("0123456789") != std::string::npos ||
          std::stoll(pid) == ide_.processId())
        continue;
      std::error_code gone;
      if (fs::read_symlink(e.path() / "exe", gone) != exe) continue;
      std::ifstream environ(e.path() / "environ", std::ios::binary);
      for (std::string var; std::getline(environ, var, '\0');)
        if (var == session) ++count;
    }
    return count;
  }
};

TEST_F(ShellOpenTest, StartUpAsksWhileAnotherProgramIsTheDefaultAndYesTakesItOver) {
  home_.Write("config/mimeapps.list", "[Default Applications]\ntext/x-fortran=emacs.desktop;\n");
  StartIde();
  const std::string confirm = Str(TStr::MsgDlgConfirm);
  Window question = 0;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return (question = display_.WindowTitled(ide_.processId(), confirm)) != 0; }, 20000));
  EXPECT_FALSE(IsExtensionAssociated(".f", "Vortan2.File"));
  display_.PressReturn(question);  // Yes is the default button
  ASSERT_NE(MainWindow(), 0u);
  EXPECT_TRUE(IsExtensionAssociated(".f", "Vortan2.File"));
  std::ifstream entry(home_ / "data/applications/Vortan2.File.desktop");
  std::string line, exec;
  while (std::getline(entry, line))
    if (line.rfind("Exec=", 0) == 0) exec = line.substr(5);
  EXPECT_EQ(exec, Exe().toStdString() + " %F");

  // Associated now: the next start asks nothing.
  display_.Close(MainWindow());
  ASSERT_TRUE(ide_.waitForFinished(10000));
  StartIde();
  EXPECT_NE(MainWindow(), 0u);
  EXPECT_EQ(display_.WindowTitled(ide_.processId(), confirm), 0u);
}

TEST_F(ShellOpenTest, DesktopOpenersHandSourcesToTheRunningInstance) {
  const std::string prog = home_.Write("prog.f", "      PROGRAM P\n      END\n");
  const std::string other = home_.Write("my programs/ação 1.f", "      PROGRAM A\n      END\n");
  Associate(Exe().toStdString());
  if (HasTool("xdg-mime")) {
    QProcess q;
    q.start("xdg-mime", {"query", "default", "text/x-fortran"});
    ASSERT_TRUE(q.waitForFinished(10000));
    EXPECT_EQ(q.readAllStandardOutput().trimmed().toStdString(), "Vortan2.File.desktop");
  }
  StartIde();
  const Window main = MainWindow();
  ASSERT_NE(main, 0u);

  // xdg-open without a desktop runs the Exec line itself, splitting it at blanks; it needs
  // an executable path without blanks.
  const bool xdgOpen = HasTool("xdg-open") && Exe().indexOf(' ') < 0;
  const bool gio = HasTool("gio");
  if (!xdgOpen && !gio) GTEST_SKIP() << "neither xdg-open nor gio is installed";

  display_.Cover();
  RunOpener(xdgOpen ? "xdg-open" : "gio",
            xdgOpen ? QStringList{"prog.f"} : QStringList{"open", "prog.f"});
  EXPECT_TRUE(ComesToFront(main));

  // The same file again: the window comes to the front; no second program appears.
  display_.Cover();
  RunOpener(gio ? "gio" : "xdg-open", gio ? QStringList{"open", QString::fromStdString(prog)}
                                          : QStringList{QString::fromStdString(prog)});
  EXPECT_TRUE(ComesToFront(main));
  EXPECT_EQ(display_.IdeWindows(ide_.processId()).size(), 1u);
  EXPECT_EQ(ide_.state(), QProcess::Running);

  // An executable installed under a path with blanks, a file name with blanks and non-ASCII
  // letters: gio parses the quoted Exec line.
  if (gio) {
    const std::string linked = home_.MakeDir("my apps") + "/vortan";
    fs::create_symlink(Exe().toStdString(), linked);
    Associate(linked);
    display_.Cover();
    RunOpener("gio", {"open", QFile::decodeName(other.c_str())});
    EXPECT_TRUE(ComesToFront(main));
  }

  // The files reached the running instance: its reopen history, written when it closes,
  // names them, the one given twice once. Before closing, the forwarded requests (which may
  // arrive after the request to come to the front) must have been handled.
  EXPECT_TRUE(QTest::qWaitFor([&] { return Forwarders() == 0; }, 10000));
  EXPECT_TRUE(display_.Drain(main));
  display_.Close(main);
  ASSERT_TRUE(ide_.waitForFinished(10000));
  TSettingsStore store;
  ASSERT_TRUE(store.Open(DefaultStorePath()).Ok);
  const std::vector<std::string> history = store.ReadList(sidHistory);
  EXPECT_EQ(std::count(history.begin(), history.end(), prog), 1)
      << ::testing::PrintToString(history);
  if (gio) {
    EXPECT_EQ(std::count(history.begin(), history.end(), other), 1);
  }
}

#endif

TEST_F(ShellHomeTest, UninstallSwitchLeavesTheShellIntegrationInPlace) {
  Associate(Exe().toStdString());
  const std::string desktop = home_.MakeDir("Desktop") + "/";
  const std::string group = home_.MakeDir("data/applications/Vortan 2.0") + "/";
  ASSERT_TRUE(CreateShellLink(desktop + "Vortan 2.0.desktop", "Vortan 2.0", Exe().toStdString()));
  ASSERT_TRUE(CreateShellLink(group + "Vortan 2.0.desktop", "Vortan 2.0", Exe().toStdString()));
  ASSERT_TRUE(CreateShellLink(group + "Vortan 2.0 on the Web.desktop", "", "https://example.org/"));
  const std::string store = DefaultStorePath();
  const auto before = Snapshot(home_.Path(), store);

  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  p.setProcessEnvironment(env);
  p.start(Exe(), {"/u"});
  ASSERT_TRUE(p.waitForFinished(20000));

  EXPECT_EQ(Snapshot(home_.Path(), store), before);
  EXPECT_TRUE(IsExtensionAssociated(".f", "Vortan2.File"));
  TSettingsStore settings;
  ASSERT_TRUE(settings.Open(store).Ok);
  EXPECT_FALSE(settings.RootExists());
}

}  // namespace
}  // namespace vortan
