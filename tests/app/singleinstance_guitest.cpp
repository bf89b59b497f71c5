// One instance per user: a second launch of the real executable hands its files to the
// running instance, brings it to the front and ends without touching the settings.
#include <gtest/gtest.h>

#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <unistd.h>

#include "app/singleinstance.h"
#include "editor/ui/editorwindow.h"
#include "shell/mainwindow.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

QString ChannelIn(const test::TTempDir& dir) {
  return QString::fromStdString(dir.Path()) + QStringLiteral("/Vortan2-%1").arg(::getuid());
}

TEST(SingleInstance, TheLockDecidesWhoIsFirstAndIsFreedWithTheInstance) {
  test::TTempDir dir;
  {
    TSingleInstance first(ChannelIn(dir));
    ASSERT_TRUE(first.TryBecomePrimary());
    TSingleInstance second(ChannelIn(dir));
    EXPECT_FALSE(second.TryBecomePrimary());
  }
  TSingleInstance again(ChannelIn(dir));
  EXPECT_TRUE(again.TryBecomePrimary());
}

TEST(SingleInstance, RequestsBeforeTheWindowExistsWaitForIt) {
  test::TTempDir dir;
  TSingleInstance primary(ChannelIn(dir));
  ASSERT_TRUE(primary.TryBecomePrimary());
  QSignalSpy opens(&primary, &TSingleInstance::OpenRequested);
  TSingleInstance sender(ChannelIn(dir));
  ASSERT_TRUE(sender.ForwardToPrimary({"/tmp/x.f"}));
  // Both requests (open, raise) arrive and are held while nobody listens.
  ASSERT_TRUE(QTest::qWaitFor([&] { return primary.PendingCount() == 2; }, 5000));
  EXPECT_EQ(opens.count(), 0);
  primary.SetDelivering(true);
  ASSERT_EQ(opens.count(), 1);
  EXPECT_EQ(primary.PendingCount(), 0);
  EXPECT_EQ(opens[0][0].toStringList(), QStringList{"/tmp/x.f"});
}

TEST(SingleInstance, SecondLaunchOpensItsFilesInTheRunningInstance) {
  test::TTempDir dir;
  TSingleInstance primary(ChannelIn(dir));
  ASSERT_TRUE(primary.TryBecomePrimary());
  TfrmMain main;
  QObject::connect(&primary, &TSingleInstance::OpenRequested, &main, &TfrmMain::Vortan2DDEExecuteMacro);
  QSignalSpy raises(&primary, &TSingleInstance::RaiseRequested);
  primary.SetDelivering(true);

  // A path with blanks and non-ASCII bytes, as file managers hand them over.
  const std::string file = dir.Write("my programs/ação 1.f", "      PROGRAM A\n      END\n");
  auto launch = [&] {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir.Path()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("VORTAN_STORE", QString::fromStdString(dir / "store.sqlite"));
    p.setProcessEnvironment(env);
    p.start(VORTAN_INSTALL_TREE "/vortan", {QFile::decodeName(file.c_str()), "/nonexistent.f"});
    EXPECT_TRUE(p.waitForStarted(5000));
    QSignalSpy finished(&p, &QProcess::finished);
    EXPECT_TRUE(finished.wait(10000));
    EXPECT_EQ(p.exitCode(), 0);
  };
  launch();
  ASSERT_TRUE(QTest::qWaitFor([&] { return main.Editors().size() == 1; }, 5000));
  EXPECT_EQ(main.Editors()[0]->FileName(), file);
  EXPECT_TRUE(QTest::qWaitFor([&] { return raises.count() == 1; }, 5000));

  // The same file again: its window comes to the front, no second window.
  launch();
  EXPECT_TRUE(QTest::qWaitFor([&] { return raises.count() == 2; }, 5000));
  EXPECT_EQ(main.Editors().size(), 1u);
  // The second launch never touched the settings.
  EXPECT_FALSE(std::filesystem::exists(dir / "store.sqlite"));
}

}  // namespace
}  // namespace vortan
