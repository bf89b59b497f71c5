#pragma once
// What the build commands share: the progress window, the Messages tree, the Output panel,
// the reading of the compiler's findings and Stop. The steps themselves run in the runner.

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "jobs/analyzerhost.h"
#include "jobs/basethread.h"
#include "jobs/compilerfindings.h"

namespace vortan {

class TfrmEditor;
class TPipelineHost;
class TfrmProcess;
class TMessagesView;
class TOutputPanel;

/// Owned by the main window. Its handlers run in the interface thread; the jobs reach it
/// only there. A job that outlives its action (left running after a cancel) reaches nothing.
class TPipeline : public QObject, public TAnalyzerHost {
  Q_OBJECT
 public:
  explicit TPipeline(TPipelineHost* host, QObject* parent);
  ~TPipeline() override;

  TMessagesView& Messages() { return *messages_; }
  TOutputPanel& Output() { return *output_; }
  /// The progress window while one exists.
  TfrmProcess* ProcessForm() const;
  /// How the jobs call into the interface thread.
  const TMainThreadCall& MainThreadCall() const { return call_; }

  /// Starts a new action for the editor: handlers of jobs of earlier actions reach nothing
  /// from now on.
  void NewAction();
  /// Writes the active editor under its name, or asks for one; false when cancelled.
  bool SaveActiveEditor();
  TPipelineHost& Host() const { return *host_; }
  /// Stop: ends the run or debug job of the active editor.
  void StopExecute();
  /// Ends the run or debug job of an editor, ignoring any failure.
  void StopJob(TfrmEditor* editor);
  /// Ends the running step: the button reads OK, the process panel is emptied and the
  /// message is shown in bold.
  void Finish(const std::string& message);
  /// Ends the running step after a failed job: stopped by the user, the tool could not be
  /// started (`cantExecute`, told by `cantExecuteText`), or anything else.
  void FinishFailure(TJobResult code, TJobResult cantExecute, const std::string& cantExecuteText);
  /// Sets the status bar's process panel.
  void SetStatus(const std::string& text);
  /// Creates and shows the progress window with its first message (the main window stays
  /// blocked while it is open).
  TfrmProcess* ShowProcessForm(const std::string& message, int lines);

  /// After every compile and link: the findings in the tools' text become a group per tool
  /// and document in the Messages tree, the error lines of the `compiled` editors are marked
  /// anew from them, and the caret goes to the first error.
  struct TToolText {
    std::string Output;
    /// The folder the tool ran in, to which the names it printed are relative.
    std::string Dir;
  };
  void ShowCompilerFindings(const std::vector<TToolText>& texts,
                            const std::vector<TKnownSource>& known,
                            const std::vector<TfrmEditor*>& compiled);
  /// The window of a file a tool named: the open one, or the file opened in the background
  /// when it exists; null otherwise.
  TfrmEditor* EditorOfFile(const std::string& file);
  /// A double click on an Output line that names "file:line:" (or "file:line:column:"): opens
  /// the file there, marked as a message would be. False when the line names no place.
  bool OpenOutputPlace(const std::string& line);
  /// The folder to which the relative names of the Output text are taken.
  void SetOutputDir(const std::string& dir) { outputDir_ = dir; }
  /// The temporary copy of the action's document, which stands for it in the Output text.
  void SetTempCopy(const TKnownSource& copy);

  /// Wraps a job's handler so that it runs only while this pipeline exists and the action
  /// that made the job is still the current one: a job left running after a cancel must not
  /// drive a later action.
  TBaseThread::TNotify Guarded(TBaseThread::TNotify handler);

  // TAnalyzerHost
  TAnalyzerKeywords Keywords() override;
  TfrmEditor* EditorFor(const std::string& file) override;
  std::string Caption(TfrmEditor* editor) override;
  void BeginMessages() override;
  void AddMessages(std::vector<TMessageNode> entries) override;
  void EndMessages() override;
  void Progress(int lines, int hits, int errors) override;

 private:
  void ProcessClosing();

  /// The folder the last tool ran in, to which the names in its Output text are relative.
  std::string outputDir_;
  std::string tempSource_;
  std::string tempDocument_;
  QPointer<TfrmEditor> tempEditor_;
  TPipelineHost* host_;
  std::unique_ptr<TMessagesView> messages_;
  std::unique_ptr<TOutputPanel> output_;
  QPointer<TfrmProcess> frmProcess_;
  TMainThreadCall call_;
  std::uint64_t action_ = 0;
};

}  // namespace vortan
