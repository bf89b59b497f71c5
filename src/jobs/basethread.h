#pragma once
// The base of every worker job.

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "jobs/jobresult.h"
#include "jobs/threadpriority.h"

namespace vortan {

class TfrmEditor;

/// Runs a function in the interface thread and returns once it has run there.
using TMainThreadCall = std::function<void(std::function<void()>)>;

/// A worker job. It is created held (with new), filled in by its creator and released by Start.
/// The body runs in a thread of its own; the outcome handlers (OnError, OnSuccess) and the end
/// handler (OnFinished) run in the interface thread while the worker waits, and the job deletes
/// itself right after OnFinished has returned: its pointer must not be used after that.
///
/// A handler is read at the moment it is to run, in the interface thread. So the interface
/// thread may change or clear handlers at any time until OnFinished has run, and a change takes
/// effect at once; another thread must make its changes under Hold.
class TBaseThread {
 public:
  using TNotify = std::function<void(TBaseThread&)>;

  /// `runInMainThread` carries calls into the interface thread; empty runs them in the worker.
  explicit TBaseThread(TMainThreadCall runInMainThread);
  TBaseThread(const TBaseThread&) = delete;
  TBaseThread& operator=(const TBaseThread&) = delete;

  /// The job failed or was stopped; ResultCode tells why.
  TNotify OnError;
  /// The job's main task succeeded.
  TNotify OnSuccess;
  /// Runs after the body has returned, just before the job is deleted.
  TNotify OnFinished;
  /// The editor window whose file the job works on; not owned, never touched by the job.
  TfrmEditor* Editor = nullptr;
  std::string FileName;
  std::atomic<TJobResult> ResultCode{jrUnknownFailure};
  /// A TThreadPriority level for the job's thread.
  int Priority = tpNormal;

  /// Releases the job. Returns false when the system gives no thread: the job then reports
  /// jrUnknownFailure through OnError and OnFinished at once, in the caller's thread, and is
  /// deleted.
  bool Start();

  bool StopRequested() const { return stopRequested_.load(); }
  /// Asks the body to stop; a body waiting for its child or its pipe notices at once.
  void RequestStop();

  /// While the returned lock is held the job cannot begin running a handler, so a change of
  /// handlers made together with a stop request is atomic with respect to the job's end.
  [[nodiscard]] std::unique_lock<std::recursive_mutex> Hold();
  /// Replaces the end handler under Hold and returns the one it replaced.
  TNotify ExchangeOnFinished(TNotify handler);
  /// Clears the three handlers and Editor under Hold, for an owner that goes away first.
  void Detach();

 protected:
  virtual ~TBaseThread();

  /// The body. ResultCode is jrUnknownFailure when it begins; an exception that leaves it is
  /// reported as jrUnknownFailure through OnError.
  virtual void Execute() = 0;
  /// Whether the thread takes its Priority before the body. A job that starts a child takes
  /// it after the start instead, because a child would inherit it.
  virtual bool PriorityBeforeBody() const { return true; }
  void ApplyPriority();

  /// Run OnError or OnSuccess in the interface thread, if set, and wait for it.
  void DoError();
  void DoSuccess();
  /// Runs `fn` in the interface thread and waits until it has run.
  void RunInMainThread(const std::function<void()>& fn);
  /// A descriptor that becomes readable once a stop is requested; -1 when the system gave none.
  int StopEvent() const { return stopEvent_; }

 private:
  void ThreadMain();
  void Notify(TNotify TBaseThread::*handler);
  TNotify Take(TNotify TBaseThread::*handler);

  TMainThreadCall runInMainThread_;
  std::recursive_mutex hold_;
  std::atomic<bool> stopRequested_{false};
  int stopEvent_ = -1;
};

}  // namespace vortan
