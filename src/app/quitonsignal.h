#pragma once
// Turns the signals that ask a program to end (SIGTERM, SIGINT, SIGHUP) into closing the
// application's windows in the event loop, so the usual tear-down runs.

#include <QObject>

class QSocketNotifier;

namespace vortan {

class TQuitOnSignal : public QObject {
  Q_OBJECT
 public:
  explicit TQuitOnSignal(QObject* parent = nullptr);
  ~TQuitOnSignal() override;

 private:
  void OnSignal();

  QSocketNotifier* notifier_ = nullptr;
  bool asked_ = false;
};

}  // namespace vortan
