#include "jobs/threadpriority.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace vortan {

TThreadScheduling SchedulingOf(int level) {
  switch (level) {
    case tpIdle:
      return {true, 0};
    case tpLowest:
      return {false, 10};
    case tpLower:
      return {false, 5};
    case tpHigher:
      return {false, -5};
    case tpHighest:
      return {false, -10};
    case tpTimeCritical:
      return {false, -20};
    default:
      return {false, 0};
  }
}

bool ApplyThreadPriority(int level) {
  const TThreadScheduling how = SchedulingOf(level);
  if (how.Idle) {
    sched_param param{};
    param.sched_priority = 0;
    return pthread_setschedparam(pthread_self(), SCHED_IDLE, &param) == 0;
  }
  if (how.NiceOffset == 0) return true;
  // On Linux the nice value belongs to the thread, so this leaves the rest of the program alone.
  const id_t self = static_cast<id_t>(gettid());
  errno = 0;
  const int base = getpriority(PRIO_PROCESS, self);
  if (base == -1 && errno != 0) return false;
  const int nice = std::clamp(base + how.NiceOffset, -20, 19);
  return setpriority(PRIO_PROCESS, self, nice) == 0;
}

}  // namespace vortan
