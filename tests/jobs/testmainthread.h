#pragma once
// A stand-in for the interface thread: workers queue calls, the test thread runs them.
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "jobs/basethread.h"

namespace vortan::test {

class TTestMainThread {
 public:
  TTestMainThread() : state_(std::make_shared<TState>()) {}
  // A worker still waiting when the test gives up is let go without its call being run.
  ~TTestMainThread() {
    std::lock_guard lock(state_->mutex);
    state_->closed = true;
    state_->changed.notify_all();
  }

  TMainThreadCall Dispatcher() {
    return [state = state_](std::function<void()> fn) {
      auto done = std::make_shared<bool>(false);
      std::unique_lock lock(state->mutex);
      if (state->closed) return;
      state->calls.push_back({std::move(fn), done});
      state->changed.notify_all();
      state->changed.wait(lock, [&] { return *done || state->closed; });
    };
  }

  /// Runs queued calls in this thread until `until()` holds; false after `timeout`.
  bool RunUntil(const std::function<bool()>& until,
                std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(state_->mutex);
    while (!until()) {
      if (state_->calls.empty()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        // Short waits, so that conditions that no call changes are seen too.
        state_->changed.wait_for(lock, std::chrono::milliseconds(1));
        continue;
      }
      TCall call = std::move(state_->calls.front());
      state_->calls.pop_front();
      lock.unlock();
      call.fn();
      lock.lock();
      *call.done = true;
      state_->changed.notify_all();
    }
    return true;
  }

  /// Runs queued calls for a while.
  void RunFor(std::chrono::microseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    RunUntil([&] { return std::chrono::steady_clock::now() >= end; },
             std::chrono::duration_cast<std::chrono::milliseconds>(span) +
                 std::chrono::milliseconds(10));
  }

 private:
  struct TCall {
    std::function<void()> fn;
    std::shared_ptr<bool> done;
  };
  struct TState {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<TCall> calls;
    bool closed = false;
  };
  std::shared_ptr<TState> state_;
};

}  // namespace vortan::test
