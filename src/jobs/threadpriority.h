#pragma once
// The seven priority levels of setting "Process priority" and how they map onto thread scheduling.

namespace vortan {

enum TThreadPriority : int {
  tpIdle = 0,
  tpLowest = 1,
  tpLower = 2,
  tpNormal = 3,
  tpHigher = 4,
  tpHighest = 5,
  tpTimeCritical = 6,
};

/// How a level is realised: the idle scheduling class, or a nice value relative to the thread's
/// own (lower is more urgent).
struct TThreadScheduling {
  bool Idle = false;
  int NiceOffset = 0;
};

/// The scheduling of a level. A level outside 0..6 (a damaged setting) is treated as Normal.
TThreadScheduling SchedulingOf(int level);

/// Applies a level to the calling thread. A change the system does not permit (raising priority
/// without the right to) is left out silently; returns whether the level is in force.
bool ApplyThreadPriority(int level);

}  // namespace vortan
