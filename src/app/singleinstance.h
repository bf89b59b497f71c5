#pragma once
// One running instance per user: a lock file settles who is first, and a local socket
// carries the requests of later launches (bring to front, open a file) to the first one.

#include <QLockFile>
#include <QObject>
#include <QStringList>
#include <memory>

class QLocalServer;

namespace vortan {

class TSingleInstance : public QObject {
  Q_OBJECT
 public:
  /// `name` identifies the channel; the default is per program and user.
  explicit TSingleInstance(QString name = DefaultName(), QObject* parent = nullptr);
  ~TSingleInstance() override;

  static QString DefaultName();

  /// True when this process is now the running instance and listens for requests.
  bool TryBecomePrimary();
  /// Called in a second launch: forwards one open request per existing file, then asks the
  /// running instance to come to the front. False when no instance could be reached.
  bool ForwardToPrimary(const QStringList& files, int timeoutMs = 3000);

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
  bool delivering_ = false;
  QList<QByteArray> pending_;
};

}  // namespace vortan
