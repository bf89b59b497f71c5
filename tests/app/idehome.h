#pragma once
// The real executable started in a desktop session of its own: a temporary home with every
// per-user XDG directory, the store at its default place inside it, no session bus.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QProcess>
#include <QProcessEnvironment>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "support/tempdir.h"
#include "system/shellintegration.h"

namespace vortan::test {

// A desktop session of its own: every per-user XDG directory inside a temporary home, for
// this process and for the programs it starts. The system's data directories stay, for the
// MIME database.
class ShellHomeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::chmod(home_.MakeDir("run").c_str(), 0700);
    const std::map<std::string, std::string> vars = {
        {"HOME", home_.Path()},
        {"XDG_DATA_HOME", home_ / "data"},
        {"XDG_CONFIG_HOME", home_ / "config"},
        {"XDG_CACHE_HOME", home_ / "cache"},
        {"XDG_STATE_HOME", home_ / "state"},
        {"XDG_CONFIG_DIRS", home_ / "etc-xdg"},
        {"XDG_RUNTIME_DIR", home_ / "run"},
        {"XDG_DATA_DIRS", "/usr/local/share:/usr/share"},
        // No session bus: nothing may start one on our behalf.
        {"DBUS_SESSION_BUS_ADDRESS", "unix:path=" + home_ / "no-bus"},
    };
    for (const auto& [name, value] : vars) Set(name, value);
    // A bare X server: no desktop is named, so xdg-open uses its generic way.
    for (const char* name : {"XDG_CURRENT_DESKTOP", "XDG_SESSION_DESKTOP", "DESKTOP_SESSION",
                             "GNOME_DESKTOP_SESSION_ID", "KDE_FULL_SESSION", "VORTAN_STORE"})
      Set(name, std::nullopt);

    // Start quietly: no splash, no tool-chain question.
    TSettingsStore store;
    ASSERT_TRUE(store.Open(DefaultStorePath()).Ok);
    store.WriteBool(sidShowSplashScreen, false);
    store.WriteBool(sidInstallFileMissing, false);
    store.Close();
  }
  void TearDown() override {
    if (ide_.state() != QProcess::NotRunning) {
      ide_.kill();
      ide_.waitForFinished(5000);
    }
    for (const auto& [name, value] : saved_) {
      if (value)
        qputenv(name.c_str(), QByteArray::fromStdString(*value));
      else
        qunsetenv(name.c_str());
    }
  }
  void Set(const std::string& name, std::optional<std::string> value) {
    saved_.emplace_back(name, qEnvironmentVariableIsSet(name.c_str())
                                  ? std::optional<std::string>(qgetenv(name.c_str()).toStdString())
                                  : std::nullopt);
    if (value)
      qputenv(name.c_str(), QByteArray::fromStdString(*value));
    else
      qunsetenv(name.c_str());
  }

  void StartIde(const QStringList& args = {}) {
    ide_.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    ide_.setWorkingDirectory(QString::fromStdString(home_.Path()));
    ide_.start(Exe(), args);
    ASSERT_TRUE(ide_.waitForStarted(5000));
  }
  /// Runs an opener (xdg-open, gio) in the home directory and waits for it.
  void RunOpener(const QString& program, const QStringList& args) {
    QProcess p;
    p.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
    p.setWorkingDirectory(QString::fromStdString(home_.Path()));
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    ASSERT_TRUE(p.waitForFinished(20000)) << program.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": " << p.readAll().toStdString();
  }
  static QString Exe() { return QStringLiteral(VORTAN_INSTALL_TREE "/vortan"); }
  void Associate(const std::string& exe) {
    AssociateExtension(exe, ".f", "Vortan2.File", true, 1, "Vortan2DDE", "Vortan 2.0 Source File");
  }

  TTempDir home_;
  QProcess ide_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace vortan::test
