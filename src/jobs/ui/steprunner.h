#pragma once
// The one runner of every build command: it walks the command's list of steps, each a tool
// job and the reading of its output, and ends every list in the progress window.

#include <QObject>
#include <QPointer>
#include <cstddef>
#include <string>
#include <vector>

#include "jobs/analyzerrun.h"
#include "jobs/basethread.h"
#include "jobs/buildplan.h"
#include "jobs/commandsteps.h"

namespace vortan {

class TfrmEditor;
class TPipeline;
class TPipelineHost;
class TBuildAllThread;

/// Owned by the main window; shows its steps in the pipeline's progress window and its
/// results in the pipeline's Messages tree and Output panel. Its handlers run in the interface
/// thread.
class TStepRunner : public QObject {
  Q_OBJECT
 public:
  TStepRunner(TPipelineHost* host, TPipeline* pipeline);

  /// A build action by its number (Compile 0, Execute 1, Analyze 2, Run 3, Debug 6).
  void Execute(int tag);
  /// Starts the command's list on the active editor or on every open document; nothing while
  /// another list runs.
  void Run(TBuildCommand command);

  /// The editor of the main program of the last Compile All that linked, while it is open.
  TfrmEditor* LinkedMain() const { return linkedMain_.data(); }

 signals:
  /// A command's list has begun: what the tools will report replaces earlier findings.
  void Started();

 private:
  /// Which job a handler hears from; the handler keeps it, the runner may be on a later list.
  enum class TJob { Analyzer, Parse, Compiler, BuildAll, Program, Debugger };
  using THandler = void (TStepRunner::*)(TBaseThread&, TJob, TfrmEditor*);
  TBaseThread::TNotify Handler(THandler method, TJob role, TfrmEditor* editor = nullptr);

  TStepKind Current() const { return list_->Steps[step_]; }
  /// Starts the next step, or ends the list with `doneMessage` after the last.
  void Advance(const std::string& doneMessage);
  void StartStep();
  void StartAnalyzeFile();
  void StartAnalyzeAll();
  /// The analyzer over one file or many, reporting to the one set of handlers.
  void StartAnalyzer(const TAnalyzerRun& run, const std::string& first, TfrmEditor* editor);
  void StartCompile();
  void StartCompileAll();
  void StartProgram(bool debug);
  void Begin(TBaseThread* job);

  bool SaveBeforeContinue(TfrmEditor* editor);
  /// The open documents as the tools read them; temporary copies are written here. False
  /// after a failed write (reported).
  bool Collect();
  int OpenLines() const;

  // The one set of outcome handlers.
  void Failed(TBaseThread& job, TJob role, TfrmEditor* editor);
  void Done(TBaseThread& job, TJob role, TfrmEditor* editor);
  void Ended(TBaseThread& job, TJob role, TfrmEditor* editor);

  void AnalyzerDone(TBaseThread& job);
  void ParseDone(TBaseThread& job);
  void CompileDone(TBaseThread& job);
  void BuildDone(TBaseThread& job);
  void ProgramStarted(TBaseThread& job, TJob role);
  void MarkCompilerErrors(const TBuildAllThread& build);

  TPipelineHost* host_;
  TPipeline* pipeline_;
  const TCommandSteps* list_ = nullptr;
  std::size_t step_ = 0;
  QPointer<TfrmEditor> editor_;
  /// The file of the active document the tools read: the document's or its temporary copy.
  std::string source_;
  /// Directory (with separator) and name of the active document.
  std::string dir_;
  std::string name_;
  bool tempCopy_ = false;
  /// Every open document, for the lists on all of them, and the notes on those left out.
  std::vector<TBuildSource> sources_;
  std::string notes_;
  std::string report_;
  /// The program the steps built, and the editor it belongs to.
  std::string program_;
  QPointer<TfrmEditor> programEditor_;
  QPointer<TfrmEditor> linkedMain_;
};

}  // namespace vortan
