#include "jobs/analyzethread.h"

#include "i18n/stringtable.h"
#include "platform/platform.h"
#include "system/sourcefilenames.h"

namespace vortan {

TAnalyzeThread::TAnalyzeThread(TMainThreadCall runInMainThread, TAnalyzerHost* host)
    : TBaseThread(std::move(runInMainThread)), host_(host) {}

TAnalyzeThread::~TAnalyzeThread() = default;

void TAnalyzeThread::SetReport(std::string_view output) { ReportLines = SplitReportLines(output); }

void TAnalyzeThread::Execute() {
  if (ReportLines.empty()) {
    ResultCode = jrNoReport;
    DoError();
    return;
  }
  TAnalyzerKeywords keywords;
  TReportParser::TLabels labels;
  RunInMainThread([&] {
    if (host_ != nullptr) keywords = host_->Keywords();
    labels[mkError] = StrText(TStr::strError);
    labels[mkWarning] = StrText(TStr::strWarning);
    labels[mkMaybe] = StrText(TStr::strMayBe);
  });
  if (host_ != nullptr) RunInMainThread([this] { host_->BeginMessages(); });

  TReportParser parser(std::move(keywords), std::move(labels),
                       [this](const std::string& file) { return Resolve(file); });
  bool failed = false;
  int lines = 0;
  try {
    for (const std::string& line : ReportLines) {
      if (StopRequested()) break;
      parser.Parse(line);
      ++lines;
      if (parser.ClosedEntries() >= BatchSize) Hand(parser.TakeClosed(), lines, parser);
    }
  } catch (...) {
    failed = true;
  }
  // What was read before a stop or a failure still goes to the tree, and the bracket is
  // closed in every case.
  try {
    Hand(parser.TakeAll(), lines, parser);
  } catch (...) {
    failed = true;
  }
  if (host_ != nullptr) RunInMainThread([this] { host_->EndMessages(); });

  if (failed) {
    ResultCode = jrUnknownFailure;
    DoError();
  } else if (StopRequested()) {
    ResultCode = jrTerminated;
    DoError();
  } else {
    ResultCode = jrOK;
    DoSuccess();
  }
}

void TAnalyzeThread::Hand(std::vector<TMessageNode> entries, int lines,
                          const TReportParser& parser) {
  const int hits = parser.HitCount();
  const int errors = parser.ErrorCount();
  HitCount = hits;
  ErrorCount = errors;
  if (host_ == nullptr) return;
  RunInMainThread([&] {
    if (!entries.empty()) host_->AddMessages(std::move(entries));
    host_->Progress(lines, hits, errors);
  });
}

TReportParser::TResolved TAnalyzeThread::Resolve(const std::string& file) {
  if (const auto known = resolved_.find(file); known != resolved_.end()) return known->second;

  TReportParser::TResolved result;
  bool own = false;
  if (Editor != nullptr) {
    const std::string& name = EditorModified ? EditorTempName : EditorFileName;
    own = !name.empty() && platform::IsSameFile(file, name);
  }
  if (own) {
    result.Editor = Editor;
  } else {
    // The analyzer names the files as it was given them; the same file under another name is
    // looked for only when no name matches.
    for (const auto& [name, editor] : AnalyzedFiles)
      if (name == file) {
        result.Editor = editor;
        break;
      }
    if (result.Editor == nullptr)
      for (const auto& [name, editor] : AnalyzedFiles)
        if (platform::IsSameFile(file, name)) {
          result.Editor = editor;
          break;
        }
    if (result.Editor == nullptr) result.Editor = FindWindow(file);
  }

  if (result.Editor == nullptr) {
    result.Shown = FileNamePart(file);
  } else if (const auto shown = shown_.find(result.Editor); shown != shown_.end()) {
    result.Shown = shown->second;
  } else {
    std::string caption;
    if (host_ != nullptr) RunInMainThread([&] { caption = host_->Caption(result.Editor); });
    result.Shown = FileNamePart(caption.empty() ? file : caption);
    shown_.emplace(result.Editor, result.Shown);
  }
  resolved_.emplace(file, result);
  return result;
}

TfrmEditor* TAnalyzeThread::FindWindow(const std::string& file) {
  if (host_ == nullptr) return nullptr;
  std::string name = file;
  if (name.find(platform::PathSeparator) == std::string::npos) {
    if (EditorFileName.empty())
      name.clear();
    else
      name = DirectoryPart(EditorFileName) + name;
  }
  if (!name.empty() && !platform::FileExists(name)) name.clear();
  TfrmEditor* editor = nullptr;
  RunInMainThread([&] { editor = host_->EditorFor(name); });
  return editor;
}

}  // namespace vortan
