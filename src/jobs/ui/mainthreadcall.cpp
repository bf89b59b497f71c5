#include "jobs/ui/mainthreadcall.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace vortan {

TMainThreadCall QtMainThreadCall() {
  return [](std::function<void()> fn) {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr) return;
    if (QThread::currentThread() == app->thread()) {
      fn();
      return;
    }
    QMetaObject::invokeMethod(app, std::move(fn), Qt::BlockingQueuedConnection);
  };
}

}  // namespace vortan
