#pragma once
// How worker jobs call into the interface thread of the Qt application.

#include "jobs/basethread.h"

namespace vortan {

/// Runs the function in the application's interface thread and returns once it has run:
/// inline when called from that thread, otherwise as a blocking queued call. A call still
/// queued when the application goes away is dropped and the worker goes on.
TMainThreadCall QtMainThreadCall();

}  // namespace vortan
