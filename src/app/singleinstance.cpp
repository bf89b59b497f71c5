#include "app/singleinstance.h"

#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include "system/product.h"

namespace vortan {

namespace {
// A request is one topic line followed by its payload lines.
constexpr char kRaiseTopic[] = "Raise";

QString LockDirectory() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath();
  return dir;
}

bool SendRequest(const QString& name, const QByteArray& request, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  // The running instance may still be starting and not listening yet: retry until the time
  // is up.
  do {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (socket.waitForConnected(250)) {
      socket.write(request);
      socket.waitForBytesWritten(1000);
      socket.disconnectFromServer();
      if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(1000);
      return true;
    }
    QThread::msleep(50);
  } while (clock.elapsed() < timeoutMs);
  return false;
}
}  // namespace

TSingleInstance::TSingleInstance(QString name, QObject* parent)
    : QObject(parent), name_(std::move(name)) {}

TSingleInstance::~TSingleInstance() {
  if (server_) server_->close();
}

QString TSingleInstance::DefaultName() {
  // A full path, so the channel lives in the user's runtime directory beside the lock.
  return LockDirectory() + QStringLiteral("/Vortan2-%1").arg(::getuid());
}

bool TSingleInstance::TryBecomePrimary() {
  lock_ = std::make_unique<QLockFile>(name_ + QStringLiteral(".lock"));
  // A lock left by a crashed instance is detected as stale by its process id.
  lock_->setStaleLockTime(0);
  if (!lock_->tryLock(0)) {
    lock_.reset();
    return false;
  }
  server_ = new QLocalServer(this);
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QLocalServer::removeServer(name_);  // a socket file left by a crashed instance
  server_->listen(name_);
  connect(server_, &QLocalServer::newConnection, this, &TSingleInstance::OnConnection);
  return true;
}

bool TSingleInstance::ForwardToPrimary(const QStringList& files, int timeoutMs) {
  bool ok = true;
  for (const QString& f : files) {
    QByteArray request = QByteArray(OpenRequestTopic) + '\n' + QFile::encodeName(f) + '\n';
    ok = SendRequest(name_, request, timeoutMs) && ok;
  }
  return SendRequest(name_, QByteArray(kRaiseTopic) + '\n', timeoutMs) && ok;
}

void TSingleInstance::OnConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    auto buffer = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, socket,
            [socket, buffer] { buffer->append(socket->readAll()); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket, buffer] {
      buffer->append(socket->readAll());
      socket->deleteLater();
      if (delivering_)
        Handle(*buffer);
      else
        pending_.append(*buffer);
    });
  }
}

void TSingleInstance::SetDelivering(bool on) {
  delivering_ = on;
  if (on) DeliverPending();
}

void TSingleInstance::DeliverPending() {
  const QList<QByteArray> pending = std::exchange(pending_, {});
  for (const QByteArray& r : pending) Handle(r);
}

void TSingleInstance::Handle(const QByteArray& request) {
  QList<QByteArray> lines = request.split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  if (lines.isEmpty()) return;
  const QByteArray topic = lines.takeFirst();
  if (topic == kRaiseTopic) {
    emit RaiseRequested();
  } else if (topic == OpenRequestTopic) {
    QStringList payload;
    for (const QByteArray& l : lines) payload << QFile::decodeName(l);
    emit OpenRequested(payload);
  }
}

}  // namespace vortan
