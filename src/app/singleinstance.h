#pragma once
// One running instance per user: a lock file settles who is first, and a local socket
// carries the requests of later launches (bring to front, open a file) to the first one.
// Both live only in a folder private to the user; both ends check that the other side is the
// same user, and a request is small and must arrive in time.

#include <QLockFile>
#include <QObject>
#include <QStringList>
#include <memory>

class QLocalServer;
class QLocalSocket;

namespace vortan {

class TSingleInstance : public QObject {
  Q_OBJECT
 public:
  /// `name` is the full path of the channel without extension (the lock adds ".lock"); the
  /// default is per program and user. An empty name means no private place exists: every
  /// launch then runs on its own.
  explicit TSingleInstance(QString name = DefaultName(), QObject* parent = nullptr);
  ~TSingleInstance() override;

  /// The channel in the user's private runtime folder; empty when there is none.
  static QString DefaultName();
  /// The same for a given runtime folder and fallback base (tests).
  static QString NameIn(const std::string& runtimeDir, const std::string& fallbackBase);

  /// Largest request taken: a topic and one path.
  static constexpr int MaxRequestBytes = 64 * 1024;
  /// A connection that sends nothing for this long is dropped.
  void SetIdleTimeout(int ms) { idleTimeoutMs_ = ms; }

  /// True when this process is now the running instance (listening for requests when a
  /// channel exists).
  bool TryBecomePrimary();
  /// Called in a second launch: forwards one open request per existing file, then asks the
  /// running instance to come to the front. False when no instance of this user could be
  /// reached.
  bool ForwardToPrimary(const QStringList& files, int timeoutMs = 3000);
  bool HasChannel() const { return server_ != nullptr; }

  /// Requests that arrived before anyone listened are held and delivered by this call.
  void DeliverPending();
  void SetDelivering(bool on);
  int PendingCount() const { return int(pending_.size()); }

 signals:
  void OpenRequested(const QStringList& lines);
  void RaiseRequested();

 private:
  void OnConnection();
  void Handle(const QByteArray& request);

  QString name_;
  std::unique_ptr<QLockFile> lock_;
  QLocalServer* server_ = nullptr;
  int idleTimeoutMs_ = 5000;
  bool delivering_ = false;
  QList<QByteArray> pending_;
};

}  // namespace vortan
