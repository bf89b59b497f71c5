#pragma once
// Running a shown editor in the benchmarks: clocks, medians, a paint counter and the wait
// until the interface is idle with every line coloured.

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QPaintEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

#include "editor/ui/fortranlexer.h"
#include "editor/ui/streaksynedit.h"

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// Processor time of this thread: on a shared machine the wall time says little.
[[maybe_unused]] double CpuMs() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// Counts the paint events of the text area, and those that cover all of it.
class TPaintCounter : public QObject {
 public:
  explicit TPaintCounter(QWidget* viewport) : viewport_(viewport) {
    viewport_->installEventFilter(this);
  }
  ~TPaintCounter() override {
    if (viewport_) viewport_->removeEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      ++paints;
      if (static_cast<QPaintEvent*>(e)->region().contains(viewport_->rect())) ++full;
    }
    return false;
  }
  int paints = 0, full = 0;

 private:
  QPointer<QWidget> viewport_;  // may go with its editor first
};

// Runs events until a pass finds nothing to do, or the time is up.
[[maybe_unused]] void RunUntilIdle(double ms = 5000) {
  const auto start = Clock::now();
  QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance();
  while (d->processEvents(QEventLoop::AllEvents) && Ms(start) < ms) {
  }
}

// Runs events until every line is coloured and nothing is left to do (an edit's colouring
// waits for the typing to pause first).
void RunUntilColoured(vortan::TStreakSynEdit* s, double ms = 60000) {
  const auto start = Clock::now();
  QTimer beat;  // wakes the wait below now and then
  beat.start(50);
  QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance();
  while (Ms(start) < ms) {
    if (d->processEvents(QEventLoop::AllEvents)) continue;
    if (s->FortranLexer()->FullyStyled()) break;
    d->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
}

}  // namespace
