#include "jobs/ui/parsejob.h"

namespace vortan {

TParseJob::TParseJob(TMainThreadCall runInMainThread, TAnalyzerHost* host, QObject* owner)
    : TAnalyzeThread(std::move(runInMainThread), this), host_(host), owner_(owner) {}

TParseJob::~TParseJob() = default;

TAnalyzerKeywords TParseJob::Keywords() {
  TAnalyzerHost* h = Host();
  return h ? h->Keywords() : TAnalyzerKeywords{};
}

TfrmEditor* TParseJob::EditorFor(const std::string& file) {
  TAnalyzerHost* h = Host();
  return h && !StopRequested() ? h->EditorFor(file) : nullptr;
}

std::string TParseJob::Caption(TfrmEditor* editor) {
  TAnalyzerHost* h = Host();
  return h ? h->Caption(editor) : std::string();
}

void TParseJob::BeginMessages() {
  if (TAnalyzerHost* h = Host()) h->BeginMessages();
}

void TParseJob::AddMessages(std::vector<TMessageNode> entries) {
  // A cancel has cleared the tree: what was read before it must not come back.
  if (StopRequested()) return;
  if (TAnalyzerHost* h = Host()) h->AddMessages(std::move(entries));
}

void TParseJob::EndMessages() {
  if (TAnalyzerHost* h = Host()) h->EndMessages();
}

void TParseJob::Progress(int lines, int hits, int errors) {
  if (StopRequested()) return;
  if (TAnalyzerHost* h = Host()) h->Progress(lines, hits, errors);
}

}  // namespace vortan
