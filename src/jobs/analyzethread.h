#pragma once
// The report parse job: the analyzer's report becomes entries of the Messages tree.

#include <atomic>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "jobs/analyzerhost.h"
#include "jobs/basethread.h"
#include "jobs/reportparser.h"

namespace vortan {

/// Parses `ReportLines` (see TReportParser), attributes every message to an editor window and
/// hands the entries to the host in batches, all inside one BeginMessages/EndMessages bracket.
///
/// A file named in the report is the analyzed window's when it is that window's file (its
/// temporary copy while the window is modified). Any other name is taken from the analyzed
/// file's folder when it has no folder of its own; an existing file then goes to the window the
/// host finds or opens for it, a missing one to a new untitled window. Each name is looked up
/// once per report, so a missing file named by many messages opens one window, not many.
/// Outcome: OnSuccess with jrOK; OnError with jrNoReport (the report has no lines),
/// jrTerminated (stopped; the stop is looked at before every line) or jrUnknownFailure.
class TAnalyzeThread : public TBaseThread {
 public:
  /// Entries handed over per call into the interface thread, at the most (a single message
  /// with more lines below it goes whole).
  static constexpr std::size_t BatchSize = 512;

  /// `host` may be null: then no entry is added and no window is looked for.
  TAnalyzeThread(TMainThreadCall runInMainThread, TAnalyzerHost* host);

  /// The report, one line per item.
  std::vector<std::string> ReportLines;
  /// State of the analyzed window (`Editor`), taken when the job is made.
  bool EditorModified = false;
  /// The window's file; empty for a new document.
  std::string EditorFileName;
  /// The temporary copy that is analyzed while the window is modified.
  std::string EditorTempName;
  /// Further windows analyzed in the same run, each with the file the analyzer read for it
  /// (its file, or its temporary copy). A message naming one of these files goes to its window.
  std::vector<std::pair<std::string, TfrmEditor*>> AnalyzedFiles;

  std::atomic<int> ErrorCount{0};
  /// Warnings and may-be messages.
  std::atomic<int> HitCount{0};

  /// Sets ReportLines from the capture job's output.
  void SetReport(std::string_view output);

 protected:
  ~TAnalyzeThread() override;
  void Execute() override;

 private:
  TReportParser::TResolved Resolve(const std::string& file);
  TfrmEditor* FindWindow(const std::string& file);
  void Hand(std::vector<TMessageNode> entries, int lines, const TReportParser& parser);

  TAnalyzerHost* host_;
  // One report names few files, often many times: each is looked up once.
  std::map<std::string, TReportParser::TResolved> resolved_;
  std::map<TfrmEditor*, std::string> shown_;
};

}  // namespace vortan
