#include "app/singleinstance.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

#include "platform/platform.h"
#include "system/product.h"

namespace vortan {

namespace {
// A request is a topic and a payload (one path), each ended by a NUL byte: a file name may
// hold a line break but never a NUL, and a request cut short lacks its last NUL.
constexpr char kRaiseTopic[] = "Raise";

QByteArray Request(const QByteArray& topic, const QByteArray& payload) {
  return topic + '\0' + payload + '\0';
}

// The user on the other end of a connected local socket.
bool PeerIsUs(QLocalSocket& socket) {
  ucred cred{};
  socklen_t len = sizeof cred;
  const int fd = static_cast<int>(socket.socketDescriptor());
  return fd >= 0 && ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &cred, &len) == 0 &&
         cred.uid == ::geteuid();
}

// A lock or socket in the channel's folder that is not ours was planted: it goes.
void RemoveForeign(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  struct stat st {};
  if (::lstat(name.constData(), &st) == 0 && st.st_uid != ::geteuid()) ::unlink(name.constData());
}

bool OwnSocket(const QString& path) {
  struct stat st {};
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISSOCK(st.st_mode) &&
         st.st_uid == ::geteuid();
}

bool SendRequest(const QString& name, const QByteArray& request, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  // The running instance may still be starting and not listening yet: retry until the time
  // is up.
  do {
    if (OwnSocket(name)) {
      QLocalSocket socket;
      socket.connectToServer(name);
      if (socket.waitForConnected(250)) {
        if (!PeerIsUs(socket)) return false;
        socket.write(request);
        socket.waitForBytesWritten(1000);
        socket.disconnectFromServer();
        if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(1000);
        return true;
      }
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

QString TSingleInstance::NameIn(const std::string& runtimeDir, const std::string& fallbackBase) {
  const std::string dir = platform::PrivateRuntimeDirectory(runtimeDir, fallbackBase, ::geteuid());
  if (dir.empty()) return QString();
  return QFile::decodeName(platform::IncludeTrailingSeparator(dir).c_str()) +
         QStringLiteral("Vortan2-%1").arg(::geteuid());
}

QString TSingleInstance::DefaultName() {
  const std::string tmp = platform::GetEnv("TMPDIR");
  return NameIn(platform::GetEnv("XDG_RUNTIME_DIR"), tmp.empty() ? std::string("/tmp") : tmp);
}

bool TSingleInstance::TryBecomePrimary() {
  if (name_.isEmpty()) return true;  // no private place: no channel, every launch alone
  const QString lockName = name_ + QStringLiteral(".lock");
  RemoveForeign(lockName);
  RemoveForeign(name_);
  lock_ = std::make_unique<QLockFile>(lockName);
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
  if (name_.isEmpty()) return false;
  bool ok = true;
  for (const QString& f : files)
    ok = SendRequest(name_, Request(OpenRequestTopic, QFile::encodeName(f)), timeoutMs) && ok;
  return SendRequest(name_, Request(kRaiseTopic, QByteArray()), timeoutMs) && ok;
}

void TSingleInstance::OnConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    if (!PeerIsUs(*socket)) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    auto buffer = std::make_shared<QByteArray>();
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    idle->start(idleTimeoutMs_);
    // A request too large or too slow is dropped whole: nothing of it is handled.
    auto drop = [socket, buffer] {
      buffer->clear();
      socket->abort();
    };
    connect(idle, &QTimer::timeout, socket, drop);
    const int idleMs = idleTimeoutMs_;
    connect(socket, &QLocalSocket::readyRead, socket, [socket, buffer, idle, drop, idleMs] {
      buffer->append(socket->read(MaxRequestBytes + 1 - buffer->size()));
      if (buffer->size() > MaxRequestBytes) return drop();
      idle->start(idleMs);
    });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket, buffer, idle] {
      idle->stop();
      if (buffer->size() <= MaxRequestBytes && socket->isReadable())
        buffer->append(socket->read(MaxRequestBytes + 1 - buffer->size()));
      socket->deleteLater();
      if (buffer->isEmpty() || buffer->size() > MaxRequestBytes) return;
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
  // Topic NUL payload NUL, nothing more.
  if (!request.endsWith('\0')) return;
  const qsizetype split = request.indexOf('\0');
  if (split == request.size() - 1 || request.count('\0') != 2) return;
  const QByteArray topic = request.left(split);
  const QByteArray payload = request.mid(split + 1, request.size() - split - 2);
  if (topic == kRaiseTopic) {
    emit RaiseRequested();
  } else if (topic == OpenRequestTopic && !payload.isEmpty()) {
    emit OpenRequested({QFile::decodeName(payload)});
  }
}

}  // namespace vortan
