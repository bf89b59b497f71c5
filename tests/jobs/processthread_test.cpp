#include "jobs/processthread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "jobs/commandline.h"
#include "jobs/testmainthread.h"

using namespace vortan;
using vortan::test::TTestMainThread;
using namespace std::chrono_literals;

namespace {

// The watch used by the run and debug jobs, on the fake tool.
class TWatchJob : public TProcessThread {
 public:
  using TProcessThread::TProcessThread;

 protected:
  void Execute() override {
    TChildStart how;
    how.Arguments = SplitCommandLine(CommandLine());
    how.Show = TShowMode::Normal;
    StartAndWatchChild(std::move(how));
  }
};

struct TWatchCase {
  const char* what;
  std::string program;
  std::string parameters;
  bool stop;
  std::vector<std::string> events;
};

}  // namespace

TEST(ProcessThreadTest, WatchOfAStartedChild) {
  const std::string tool = QuoteArgument(VORTAN_FAKETOOL);
  const TWatchCase cases[] = {
      {"ends by itself", tool, "exit 7", false, {"started", "finished 0 exit 7"}},
      {"stopped", tool, "hang", true, {"started", "error 3", "finished 3 exit 0"}},
      {"cannot start", "\"/nonexistent/prog\"", "", false, {"error 2", "finished 2 exit 0"}},
  };
  for (const TWatchCase& c : cases) {
    SCOPED_TRACE(c.what);
    TTestMainThread ui;
    std::vector<std::string> events;
    bool done = false;
    auto* job = new TWatchJob(ui.Dispatcher());
    job->ProgramPath = c.program;
    job->Parameters = c.parameters;
    job->OnSuccess = [&](TBaseThread&) { events.push_back("started"); };
    job->OnError = [&](TBaseThread& t) {
      events.push_back("error " + std::to_string(t.ResultCode));
    };
    job->OnFinished = [&](TBaseThread& t) {
      events.push_back("finished " + std::to_string(t.ResultCode) + " exit " +
                       std::to_string(static_cast<TProcessThread&>(t).ExitCode));
      done = true;
    };
    job->Start();
    if (c.stop) {
      ASSERT_TRUE(ui.RunUntil([&] { return !events.empty(); }));
      ui.RunFor(50ms);
      job->RequestStop();
    }
    ASSERT_TRUE(ui.RunUntil([&] { return done; }));
    EXPECT_EQ(events, c.events);
  }
}
