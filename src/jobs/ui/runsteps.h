#pragma once
// The last step of Execute, Run and Debug: the compiled program, or the debugger on it, in a
// terminal window of its own, watched by a job that works for its editor while the IDE stays
// usable.

#include <QObject>
#include <string>

#include "jobs/basethread.h"

namespace vortan {

class TfrmEditor;
class TPipelineHost;
class TPipeline;
class TProcessThread;

/// Owned by the pipeline; installs itself as the pipeline's run and debug steps. Its handlers
/// run in the interface thread and reach an editor only while it still exists.
class TRunSteps : public QObject {
  Q_OBJECT
 public:
  explicit TRunSteps(TPipeline* pipeline);

  /// The run step: `program` just compiled, or empty for Execute, which runs the editor's
  /// program under its own progress window.
  void StartRun(TfrmEditor* editor, const std::string& program);
  /// The debug step on the program just compiled.
  void StartDebug(TfrmEditor* editor, const std::string& program);

 private:
  using TStep = void (TRunSteps::*)(TBaseThread&, TfrmEditor*);
  TBaseThread::TNotify Handler(TStep step, TfrmEditor* editor);
  void Begin(TProcessThread* job, TfrmEditor* editor);

  void RunStarted(TBaseThread& job, TfrmEditor* editor);
  void RunFailed(TBaseThread& job, TfrmEditor* editor);
  void RunEnded(TBaseThread& job, TfrmEditor* editor);
  void DebugStarted(TBaseThread& job, TfrmEditor* editor);
  void DebugFailed(TBaseThread& job, TfrmEditor* editor);
  void DebugEnded(TBaseThread& job, TfrmEditor* editor);

  void Started(TBaseThread& job, int minimizeSetting);
  void Failed(TBaseThread& job, const std::string& cantExecuteText);
  void Ended(TBaseThread& job, TfrmEditor* editor, int minimizeSetting);

  TPipeline* pipeline_;
};

}  // namespace vortan
