#include "jobs/livechecker.h"

#include <chrono>

#include "jobs/threadpriority.h"

namespace vortan {

namespace {

TfrmEditor* DocumentOf(const TLiveRequest& request) {
  return request.Sources.empty() ? nullptr : request.Sources.front().Editor;
}

}  // namespace

TLiveChecker::TLiveChecker(TDeliver deliver)
    : deliver_(std::move(deliver)), worker_([this] { Work(); }) {}

TLiveChecker::~TLiveChecker() {
  {
    std::lock_guard lock(mutex_);
    quit_ = true;
    stopRunning_ = true;
  }
  changed_.notify_all();
  worker_.join();
}

void TLiveChecker::SetTools(TLiveTools tools) {
  std::lock_guard lock(mutex_);
  tools_ = std::move(tools);
}

std::uint64_t TLiveChecker::Request(TLiveRequest request) {
  TfrmEditor* document = DocumentOf(request);
  std::uint64_t ticket;
  {
    std::lock_guard lock(mutex_);
    ticket = ++nextTicket_;
    newest_[document] = ticket;
    bool replaced = false;
    for (TPending& p : pending_)
      if (DocumentOf(p.Request) == document) {
        p = TPending{ticket, std::move(request)};
        replaced = true;
        break;
      }
    if (!replaced) pending_.push_back(TPending{ticket, std::move(request)});
    if (busy_ && running_ == document) stopRunning_ = true;
  }
  changed_.notify_all();
  return ticket;
}

void TLiveChecker::Cancel(TfrmEditor* document) {
  std::lock_guard lock(mutex_);
  // A new ticket nobody holds makes every earlier result of the document stale.
  newest_[document] = ++nextTicket_;
  std::erase_if(pending_, [&](const TPending& p) { return DocumentOf(p.Request) == document; });
  if (busy_ && running_ == document) stopRunning_ = true;
}

bool TLiveChecker::WaitIdle(int timeoutMs) {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return pending_.empty() && !busy_; });
}

TLiveToolState TLiveChecker::SayOnce(const std::string& program, TLiveToolState state) {
  if (state == TLiveToolState::Ran || state == TLiveToolState::Stopped) return state;
  if (state == TLiveToolState::Missing) missing_.insert(program);
  return said_.insert({program, state}).second ? state : TLiveToolState::Ran;
}

void TLiveChecker::Work() {
  // The tools inherit the thread's lower priority, so typing keeps the processor first.
  ApplyThreadPriority(tpLowest);
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return quit_ || !pending_.empty(); });
    if (quit_) return;
    TPending job = std::move(pending_.front());
    pending_.pop_front();
    TfrmEditor* document = DocumentOf(job.Request);
    TLiveTools tools = tools_;
    if (missing_.count(tools.Compiler)) tools.Compiler.clear();
    if (missing_.count(tools.Analyzer)) tools.Analyzer.clear();
    running_ = document;
    busy_ = true;
    stopRunning_ = false;
    lock.unlock();

    for (TLiveSource& source : job.Request.Sources)
      if (source.Copy) {
        source.Text = source.Copy->FileBytes();
        source.Copy.reset();
      }
    TLiveResult result = RunLiveCheck(job.Request, tools, [this] { return stopRunning_.load(); });

    lock.lock();
    result.Compiler = SayOnce(tools.Compiler, result.Compiler);
    result.Analyzer = SayOnce(tools.Analyzer, result.Analyzer);
    const bool newest = newest_[document] == job.Ticket;
    if (newest) newest_.erase(document);
    if (!result.Stopped && newest && !quit_) {
      lock.unlock();
      deliver_(document, job.Ticket, std::move(result));
      lock.lock();
    }
    running_ = nullptr;
    busy_ = false;
    changed_.notify_all();
  }
}

}  // namespace vortan
