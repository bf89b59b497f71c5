#pragma once
// The report parse job as the pipeline runs it: its calls into the main window go through
// the job itself, so that they stop reaching the window's side when that side is gone or
// the job has been told to stop.

#include <QPointer>

#include "jobs/analyzethread.h"

namespace vortan {

class TParseJob : private TAnalyzerHost, public TAnalyzeThread {
 public:
  /// `host` is reached only while `owner` exists; both live in the interface thread.
  TParseJob(TMainThreadCall runInMainThread, TAnalyzerHost* host, QObject* owner);

 protected:
  ~TParseJob() override;

 private:
  TAnalyzerHost* Host() const { return owner_ ? host_ : nullptr; }

  TAnalyzerKeywords Keywords() override;
  TfrmEditor* EditorFor(const std::string& file) override;
  std::string Caption(TfrmEditor* editor) override;
  void BeginMessages() override;
  void AddMessages(std::vector<TMessageNode> entries) override;
  void EndMessages() override;
  void Progress(int lines, int hits, int errors) override;

  TAnalyzerHost* host_;
  QPointer<QObject> owner_;
};

}  // namespace vortan
