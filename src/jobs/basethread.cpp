#include "jobs/basethread.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <system_error>
#include <thread>

namespace vortan {

TBaseThread::TBaseThread(TMainThreadCall runInMainThread)
    : runInMainThread_(std::move(runInMainThread)),
      stopEvent_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

TBaseThread::~TBaseThread() {
  if (stopEvent_ >= 0) ::close(stopEvent_);
}

bool TBaseThread::Start() {
  try {
    std::thread(&TBaseThread::ThreadMain, this).detach();
    return true;
  } catch (const std::system_error&) {
    ResultCode = jrUnknownFailure;
    if (TNotify h = Take(&TBaseThread::OnError)) h(*this);
    if (TNotify h = Take(&TBaseThread::OnFinished)) h(*this);
    delete this;
    return false;
  }
}

void TBaseThread::RequestStop() {
  stopRequested_ = true;
  if (stopEvent_ >= 0) {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = ::write(stopEvent_, &one, sizeof one);
  }
}

std::unique_lock<std::recursive_mutex> TBaseThread::Hold() {
  return std::unique_lock<std::recursive_mutex>(hold_);
}

TBaseThread::TNotify TBaseThread::ExchangeOnFinished(TNotify handler) {
  auto hold = Hold();
  std::swap(handler, OnFinished);
  return handler;
}

void TBaseThread::Detach() {
  auto hold = Hold();
  OnError = nullptr;
  OnSuccess = nullptr;
  OnFinished = nullptr;
  Editor = nullptr;
}

void TBaseThread::ApplyPriority() { ApplyThreadPriority(Priority); }

void TBaseThread::DoError() { Notify(&TBaseThread::OnError); }
void TBaseThread::DoSuccess() { Notify(&TBaseThread::OnSuccess); }

void TBaseThread::RunInMainThread(const std::function<void()>& fn) {
  if (runInMainThread_)
    runInMainThread_(fn);
  else
    fn();
}

TBaseThread::TNotify TBaseThread::Take(TNotify TBaseThread::*handler) {
  auto hold = Hold();
  return this->*handler;
}

void TBaseThread::Notify(TNotify TBaseThread::*handler) {
  // The handler is looked up only once in the interface thread, so that an owner that has
  // cleared it meanwhile is not called any more.
  RunInMainThread([this, handler] {
    if (TNotify h = Take(handler)) h(*this);
  });
}

void TBaseThread::ThreadMain() {
  if (PriorityBeforeBody()) ApplyPriority();
  ResultCode = jrUnknownFailure;
  try {
    Execute();
  } catch (...) {
    ResultCode = jrUnknownFailure;
    DoError();
  }
  // The call deletes the job, dispatcher included, so it is made from a copy.
  const TMainThreadCall call = runInMainThread_;
  auto end = [this] {
    if (TNotify h = Take(&TBaseThread::OnFinished)) h(*this);
    delete this;
  };
  if (call)
    call(end);
  else
    end();
}

}  // namespace vortan
