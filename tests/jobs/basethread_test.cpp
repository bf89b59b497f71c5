#include "jobs/basethread.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <iostream>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "jobs/commandline.h"
#include "jobs/outputthread.h"
#include "jobs/testmainthread.h"

using namespace vortan;
using vortan::test::TTestMainThread;
using namespace std::chrono_literals;

namespace {

class TScriptedJob : public TBaseThread {
 public:
  TScriptedJob(TMainThreadCall call, std::function<void(TScriptedJob&)> body,
               std::atomic<bool>& deleted)
      : TBaseThread(std::move(call)), body_(std::move(body)), deleted_(deleted) {}
  using TBaseThread::DoError;
  using TBaseThread::DoSuccess;

 protected:
  ~TScriptedJob() override { deleted_ = true; }
  void Execute() override { body_(*this); }

 private:
  std::function<void(TScriptedJob&)> body_;
  std::atomic<bool>& deleted_;
};

class TCountedCapture : public TOutputThread {
 public:
  TCountedCapture(TMainThreadCall call, std::atomic<bool>& deleted)
      : TOutputThread(std::move(call)), deleted_(deleted) {}

 protected:
  ~TCountedCapture() override { deleted_ = true; }

 private:
  std::atomic<bool>& deleted_;
};

}  // namespace

TEST(BaseThreadTest, HandlersRunInTheInterfaceThreadThenTheJobIsDeleted) {
  TTestMainThread ui;
  std::atomic<bool> deleted{false};
  std::vector<std::string> events;
  TJobResult atStart = jrOK;
  auto* job = new TScriptedJob(
      ui.Dispatcher(),
      [&](TScriptedJob& j) {
        atStart = j.ResultCode;
        j.ResultCode = jrOK;
        j.DoSuccess();
      },
      deleted);
  const auto me = std::this_thread::get_id();
  job->OnSuccess = [&](TBaseThread&) {
    events.push_back(std::this_thread::get_id() == me ? "success" : "success elsewhere");
  };
  job->OnFinished = [&](TBaseThread& t) {
    events.push_back(std::this_thread::get_id() == me ? "finished" : "finished elsewhere");
    events.push_back(deleted ? "already deleted" : std::to_string(t.ResultCode));
  };
  job->Start();
  ASSERT_TRUE(ui.RunUntil([&] { return deleted.load(); }));
  EXPECT_EQ(atStart, jrUnknownFailure);
  EXPECT_EQ(events, (std::vector<std::string>{"success", "finished", "0"}));
}

TEST(BaseThreadTest, ExceptionInTheBodyIsAnUnknownFailure) {
  TTestMainThread ui;
  std::atomic<bool> deleted{false};
  std::vector<std::string> events;
  auto* job = new TScriptedJob(
      ui.Dispatcher(),
      [](TScriptedJob& j) {
        j.ResultCode = jrOK;
        throw std::runtime_error("boom");
      },
      deleted);
  job->OnError = [&](TBaseThread& t) { events.push_back("error " + std::to_string(t.ResultCode)); };
  job->OnFinished = [&](TBaseThread&) { events.push_back("finished"); };
  job->Start();
  ASSERT_TRUE(ui.RunUntil([&] { return deleted.load(); }));
  EXPECT_EQ(events, (std::vector<std::string>{"error 1", "finished"}));
}

TEST(BaseThreadTest, WithoutADispatcherHandlersRunInTheWorker) {
  std::atomic<bool> deleted{false};
  std::atomic<int> calls{0};
  auto* job = new TScriptedJob(
      {}, [](TScriptedJob& j) { j.DoError(); }, deleted);
  job->OnError = [&](TBaseThread&) { ++calls; };
  job->OnFinished = [&](TBaseThread&) { ++calls; };
  job->Start();
  for (int i = 0; i < 2000 && !deleted; ++i) std::this_thread::sleep_for(1ms);
  EXPECT_TRUE(deleted);
  EXPECT_EQ(calls, 2);
}

TEST(BaseThreadTest, HandlersClearedWhileTheReportWaitsAreNotCalled) {
  TTestMainThread ui;
  std::atomic<bool> deleted{false};
  std::atomic<bool> reporting{false};
  int calls = 0;
  auto* job = new TScriptedJob(
      ui.Dispatcher(),
      [&](TScriptedJob& j) {
        reporting = true;
        j.DoError();
        j.DoSuccess();
      },
      deleted);
  job->OnError = job->OnSuccess = job->OnFinished = [&](TBaseThread&) { ++calls; };
  job->Start();
  while (!reporting) std::this_thread::sleep_for(1ms);
  std::this_thread::sleep_for(5ms);  // the report is now (most likely) queued
  job->Detach();
  ASSERT_TRUE(ui.RunUntil([&] { return deleted.load(); }));
  EXPECT_EQ(calls, 0);
}

TEST(BaseThreadTest, JobThreadTakesItsPriority) {
  TTestMainThread ui;
  std::atomic<bool> deleted{false};
  const int base = ::getpriority(PRIO_PROCESS, static_cast<id_t>(gettid()));
  int seen = 100;
  auto* job = new TScriptedJob(
      ui.Dispatcher(),
      [&](TScriptedJob&) { seen = ::getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())); },
      deleted);
  job->Priority = tpLower;
  job->Start();
  ASSERT_TRUE(ui.RunUntil([&] { return deleted.load(); }));
  EXPECT_EQ(seen, std::min(base + 5, 19));
}

// The owner swaps the end handler (and asks for a stop) or detaches its handlers at a random
// moment while a real capture job is ending. Whatever the moment, every job reports exactly
// one outcome, the end handler in force when the end begins runs exactly once, a detached
// owner hears nothing more, and the job is deleted.
TEST(BaseThreadTest, OwnerChangesHandlersWhileTheJobEnds) {
  TTestMainThread ui;
  auto makeJob = [&](std::atomic<bool>& deleted) {
    auto* job = new TCountedCapture(ui.Dispatcher(), deleted);
    job->ProgramPath = QuoteArgument(VORTAN_FAKETOOL);
    job->Parameters = "out x";
    return job;
  };
  // The moments are spread over one and a half times a job's life, so that both the running
  // job and the ending one are met, however fast this build is.
  std::chrono::microseconds life{};
  for (int probe = 0; probe < 2; ++probe) {  // the second one, once the tool is warm
    std::atomic<bool> probeDeleted{false};
    const auto probeStart = std::chrono::steady_clock::now();
    makeJob(probeDeleted)->Start();
    ASSERT_TRUE(ui.RunUntil([&] { return probeDeleted.load(); }));
    life = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 probeStart);
  }
  const auto window = static_cast<unsigned>(life.count() * 3 / 2 + 1);

  std::mt19937 random(20240607);
  int swappedRunning = 0, stoppedInTime = 0, endedFirst = 0, detached = 0;
  for (int i = 0; i < 200; ++i) {
    SCOPED_TRACE(i);
    struct {
      int success = 0, error = 0, original = 0, waitEnded = 0;
      TJobResult result = jrUnknownFailure;
    } c;
    std::atomic<bool> deleted{false};
    TCountedCapture* job = makeJob(deleted);
    job->OnSuccess = [&](TBaseThread& t) {
      ++c.success;
      c.result = t.ResultCode;
    };
    job->OnError = [&](TBaseThread& t) {
      ++c.error;
      c.result = t.ResultCode;
    };
    job->OnFinished = [&](TBaseThread&) { ++c.original; };
    job->Start();
    ui.RunFor(std::chrono::microseconds(random() % window));

    TBaseThread::TNotify saved;
    bool swapped = false;
    bool wasDetached = false;
    auto snapshot = c;
    if (!deleted) {
      if (i % 2 == 0) {
        auto hold = job->Hold();
        saved = job->ExchangeOnFinished([&](TBaseThread& t) {
          ++c.waitEnded;
          if (saved) saved(t);
        });
        job->RequestStop();
        swapped = true;
      } else {
        snapshot = c;
        job->Detach();
        wasDetached = true;
        ++detached;
      }
    }
    ASSERT_TRUE(ui.RunUntil([&] { return deleted.load(); }));

    if (wasDetached) {
      EXPECT_EQ(c.success, snapshot.success);
      EXPECT_EQ(c.error, snapshot.error);
      EXPECT_EQ(c.original, 0);
      continue;
    }
    EXPECT_EQ(c.success + c.error, 1);
    EXPECT_EQ(c.original, 1);
    EXPECT_EQ(c.waitEnded, swapped ? 1 : 0);
    EXPECT_EQ(c.result, c.error ? jrTerminated : jrOK);
    if (swapped) ++swappedRunning;
    if (c.error) ++stoppedInTime;
    if (!swapped && i % 2 == 0) ++endedFirst;
  }
  std::cout << "[ measure  ] job life " << life.count() << " us; of 100 swaps: " << swappedRunning
            << " while running (" << stoppedInTime << " stopped in time), " << endedFirst
            << " after the end; detached while running: " << detached << " of 100\n";
}
