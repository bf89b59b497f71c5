#pragma once
// Outcome codes of a worker job.

namespace vortan {

/// The value of a job's `ResultCode`. The numbers are fixed: the pipeline maps them to messages.
enum TJobResult : int {
  jrOK = 0,
  jrUnknownFailure = 1,
  jrCantExecute = 2,
  jrTerminated = 3,
  jrPipeFailure = 4,
  jrHandleFailure = 5,
  jrReadFailure = 6,
  jrNoReport = 7,
};

}  // namespace vortan
