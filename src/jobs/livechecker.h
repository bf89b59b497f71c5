#pragma once
// The background checks of the open documents: one worker at low priority, one check per
// document at a time, and only the newest result of a document handed on.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "jobs/livecheck.h"

namespace vortan {

class TLiveChecker {
 public:
  /// Gets the result of a document's newest check, in the worker's thread. A tool's
  /// Missing, TimedOut and Flooded states are handed on once (the first time); later results
  /// show it as Ran, so the user is told once. A missing tool is left out from then on.
  using TDeliver =
      std::function<void(TfrmEditor* document, std::uint64_t ticket, TLiveResult result)>;

  explicit TLiveChecker(TDeliver deliver);
  /// Stops the running check and waits for the worker.
  ~TLiveChecker();
  TLiveChecker(const TLiveChecker&) = delete;
  TLiveChecker& operator=(const TLiveChecker&) = delete;

  /// The tools of the checks requested from now on.
  void SetTools(TLiveTools tools);

  /// Asks for a check of the request's first source (its Editor names the document). A check
  /// of that document still waiting is replaced, one running is stopped. Returns the ticket
  /// the result will carry.
  std::uint64_t Request(TLiveRequest request);
  /// Drops the document's waiting check and stops its running one (the text changed, or the
  /// window closed): no result of it is handed on.
  void Cancel(TfrmEditor* document);
  /// True once nothing waits or runs; false when `timeoutMs` passed first.
  bool WaitIdle(int timeoutMs);

 private:
  struct TPending {
    std::uint64_t Ticket = 0;
    TLiveRequest Request;
  };
  void Work();
  TLiveToolState SayOnce(const std::string& program, TLiveToolState state);

  TDeliver deliver_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<TPending> pending_;
  std::map<TfrmEditor*, std::uint64_t> newest_;
  TLiveTools tools_;
  std::set<std::string> missing_;
  std::set<std::pair<std::string, TLiveToolState>> said_;
  std::uint64_t nextTicket_ = 0;
  TfrmEditor* running_ = nullptr;
  bool busy_ = false;
  bool quit_ = false;
  std::atomic<bool> stopRunning_{false};
  std::thread worker_;
};

}  // namespace vortan
