#include "jobs/threadpriority.h"

#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

using namespace vortan;

namespace {

int OwnNice() { return ::getpriority(PRIO_PROCESS, static_cast<id_t>(gettid())); }

// Applies a level in a fresh thread (so the test's own thread keeps its priority) and
// reports the result, the nice value and the scheduling class seen there.
struct TApplied {
  bool applied;
  int nice;
  int policy;
};
TApplied ApplyInThread(int level) {
  TApplied out{};
  std::thread([&] {
    out.applied = ApplyThreadPriority(level);
    out.nice = OwnNice();
    out.policy = ::sched_getscheduler(0);
  }).join();
  return out;
}

}  // namespace

TEST(ThreadPriorityTest, LevelsMapToSchedulingChoices) {
  const struct {
    int level;
    bool idle;
    int offset;
  } cases[] = {
      {tpIdle, true, 0},
      {tpLowest, false, 10},
      {tpLower, false, 5},
      {tpNormal, false, 0},
      {tpHigher, false, -5},
      {tpHighest, false, -10},
      {tpTimeCritical, false, -20},
      {-1, false, 0},
      {7, false, 0},
  };
  for (const auto& c : cases) {
    const TThreadScheduling s = SchedulingOf(c.level);
    EXPECT_EQ(s.Idle, c.idle) << c.level;
    EXPECT_EQ(s.NiceOffset, c.offset) << c.level;
  }
}

TEST(ThreadPriorityTest, LoweringIsAppliedToTheCallingThreadOnly) {
  const int base = OwnNice();
  const int policy = ::sched_getscheduler(0);
  const struct {
    int level;
    int nice;
    int policy;
  } cases[] = {
      {tpIdle, base, SCHED_IDLE},
      {tpLowest, std::min(base + 10, 19), policy},
      {tpLower, std::min(base + 5, 19), policy},
      {tpNormal, base, policy},
  };
  for (const auto& c : cases) {
    const TApplied got = ApplyInThread(c.level);
    EXPECT_TRUE(got.applied) << c.level;
    EXPECT_EQ(got.nice, c.nice) << c.level;
    EXPECT_EQ(got.policy, c.policy) << c.level;
  }
  EXPECT_EQ(OwnNice(), base);
  EXPECT_EQ(::sched_getscheduler(0), policy);
}

TEST(ThreadPriorityTest, RaisingIsAppliedOrSilentlyLeftOut) {
  const int base = OwnNice();
  const TApplied got = ApplyInThread(tpHighest);
  EXPECT_EQ(got.nice, got.applied ? std::max(base - 10, -20) : base);
}
