// One instance per user: a second launch of the real executable hands its files to the
// running instance, brings it to the front and ends without touching the settings.
#include <gtest/gtest.h>

#include <pwd.h>
#include <unistd.h>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>
#include <memory>

#include "app/singleinstance.h"
#include "editor/ui/editorwindow.h"
#include "shell/mainwindow.h"
#include "support/tempdir.h"
#include "system/product.h"

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

TEST(SingleInstance, ANameWithALineBreakArrivesWhole) {
  test::TTempDir dir;
  TSingleInstance primary(ChannelIn(dir));
  ASSERT_TRUE(primary.TryBecomePrimary());
  primary.SetDelivering(true);
  QSignalSpy opens(&primary, &TSingleInstance::OpenRequested);
  TSingleInstance sender(ChannelIn(dir));
  ASSERT_TRUE(sender.ForwardToPrimary({"/tmp/two\nlines.f"}));
  ASSERT_TRUE(QTest::qWaitFor([&] { return opens.count() == 1; }, 5000));
  EXPECT_EQ(opens[0][0].toStringList(), QStringList{"/tmp/two\nlines.f"});
}

// Raw bytes to the channel, as any local program could send them. The socket is closed, or
// handed back open when `close` is false.
std::unique_ptr<QLocalSocket> SendRaw(const QString& name, const QByteArray& bytes, bool close) {
  auto socket = std::make_unique<QLocalSocket>();
  socket->connectToServer(name);
  EXPECT_TRUE(socket->waitForConnected(2000));
  socket->write(bytes);
  socket->waitForBytesWritten(2000);
  if (!close) return socket;
  socket->disconnectFromServer();
  return nullptr;
}

TEST(SingleInstance, OversizedSlowOrMalformedRequestsAreDroppedWhole) {
  test::TTempDir dir;
  TSingleInstance primary(ChannelIn(dir));
  ASSERT_TRUE(primary.TryBecomePrimary());
  primary.SetIdleTimeout(300);
  primary.SetDelivering(true);
  QSignalSpy opens(&primary, &TSingleInstance::OpenRequested);
  const QString name = ChannelIn(dir);
  const QByteArray topic = QByteArray(OpenRequestTopic) + '\0';
  // Far more than a topic and a path: cut off as soon as it passes the cap.
  SendRaw(name, topic + QByteArray(TSingleInstance::MaxRequestBytes, 'a') + '\0', true);
  // The old form, with no NUL ends; and a request cut short.
  SendRaw(name, QByteArray(OpenRequestTopic) + "\n/tmp/old.f\n", true);
  SendRaw(name, topic + "/tmp/cut.f", true);
  // Opened and left silent: dropped after the idle time.
  const std::unique_ptr<QLocalSocket> silent = SendRaw(name, topic + "/tmp/idle", false);
  QTest::qWait(800);
  // A good request still gets through afterwards.
  TSingleInstance sender(name);
  ASSERT_TRUE(sender.ForwardToPrimary({"/tmp/good.f"}));
  ASSERT_TRUE(QTest::qWaitFor([&] { return opens.count() >= 1; }, 5000));
  QTest::qWait(200);
  ASSERT_EQ(opens.count(), 1);
  EXPECT_EQ(opens[0][0].toStringList(), QStringList{"/tmp/good.f"});
}

TEST(SingleInstance, ALockAndSocketPlantedByAnotherUserAreNotObeyed) {
  if (::geteuid() != 0) GTEST_SKIP() << "planting files of another user needs root";
  test::TTempDir dir;
  const QString name = ChannelIn(dir);
  // A lock that looks held by a live process, and a listening socket, both of another user.
  QFile lock(name + ".lock");
  ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
  lock.write(QByteArray::number(::getppid()) + "\nvortan\n\n");
  lock.close();
  QLocalServer planted;
  ASSERT_TRUE(planted.listen(name));
  const passwd* nobody = ::getpwnam("nobody");
  ASSERT_NE(nobody, nullptr);
  ASSERT_EQ(::chown(QFile::encodeName(name + ".lock").constData(), nobody->pw_uid, nobody->pw_gid),
            0);
  ASSERT_EQ(::chown(QFile::encodeName(name).constData(), nobody->pw_uid, nobody->pw_gid), 0);

  // A second launch would hand its files to the planted socket: it never does.
  TSingleInstance sender(name);
  EXPECT_FALSE(sender.ForwardToPrimary({"/tmp/secret.f"}, 300));
  EXPECT_FALSE(planted.hasPendingConnections());
  // And a start takes the channel over.
  TSingleInstance primary(name);
  EXPECT_TRUE(primary.TryBecomePrimary());
  EXPECT_TRUE(primary.HasChannel());
}

TEST(SingleInstance, WithoutAPrivatePlaceEveryStartRunsAlone) {
  TSingleInstance alone{QString()};
  EXPECT_TRUE(alone.TryBecomePrimary());
  EXPECT_FALSE(alone.HasChannel());
  EXPECT_FALSE(alone.ForwardToPrimary({"/tmp/x.f"}, 100));
}

TEST(SingleInstance, SecondLaunchOpensItsFilesInTheRunningInstance) {
  test::TTempDir dir;
  TSingleInstance primary(ChannelIn(dir));
  ASSERT_TRUE(primary.TryBecomePrimary());
  TfrmMain main;
  QObject::connect(&primary, &TSingleInstance::OpenRequested, &main,
                   &TfrmMain::Vortan2DDEExecuteMacro);
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
