#pragma once
// The commands on every open source file at once: Compile All (compile what changed, link the
// program of the file that holds the main program) and Analyze all (the analyzer over all
// files in one run, so that it checks calls and COMMON blocks across them).

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <string>
#include <vector>

#include "jobs/basethread.h"
#include "jobs/buildplan.h"

namespace vortan {

class TfrmEditor;
class TPipelineHost;
class TPipeline;
class TBuildAllThread;

/// Owned by the pipeline; shows its steps in the pipeline's progress window and its results in
/// the same Messages tree and Output panel. Its handlers run in the interface thread.
class TMultiBuild : public QObject {
  Q_OBJECT
 public:
  TMultiBuild(TPipelineHost* host, TPipeline* pipeline);

  /// Compile All. `then` holds psRun or psDebug to go on with the linked program.
  void CompileAll(std::uint8_t then = 0);
  void AnalyzeAll();

  /// The editor of the main program of the last Compile All that linked, while it is open.
  TfrmEditor* LinkedMain() const { return linkedMain_.data(); }

 private:
  /// The open documents as the tools read them; temporary copies are written here. Empty
  /// after a failed write (reported).
  bool Collect(std::vector<TBuildSource>& sources, std::string& notes);
  void BuildDone(TBaseThread& job);
  void BuildFailed(TBaseThread& job);
  void AnalyzerDone(TBaseThread& job);
  void AnalyzerFailed(TBaseThread& job);
  void ParseDone(TBaseThread& job);
  void ParseFailed(TBaseThread& job);
  void MarkCompilerErrors(const TBuildAllThread& build);
  TBaseThread::TNotify Handler(void (TMultiBuild::*method)(TBaseThread&));

  TPipelineHost* host_;
  TPipeline* pipeline_;
  std::vector<TBuildSource> sources_;
  std::string notes_;
  std::string report_;
  std::uint8_t then_ = 0;
  QPointer<TfrmEditor> linkedMain_;
};

}  // namespace vortan
