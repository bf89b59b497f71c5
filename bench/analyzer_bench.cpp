// Time to turn an analyzer report of 10,000 messages (each with a detail line) into the sorted
// contents of the Messages tree: the grammar alone, and the whole parse job with a host that
// fills a message list.

#include <benchmark/benchmark.h>

#include <future>
#include <string>
#include <vector>

#include "jobs/analyzethread.h"
#include "jobs/messagelist.h"
#include "jobs/reportparser.h"

namespace {

constexpr int kMessages = 10000;

const std::string& Report() {
  static const std::string report = [] {
    std::string r = "FTNCHEK Version 3.3 November 2004\nFile /src/big.f:\n";
    const char* kinds[] = {"Warning", "Error", "Possibly misleading appearance"};
    for (int i = 1; i <= kMessages; ++i) {
      const std::string line = std::to_string(i * 7 % 5000 + 1);
      r += "\"/src/big.f\", line " + line + " col 9: " + kinds[i % 3] + ": message number " +
           std::to_string(i) + " about X" + std::to_string(i) + "\n";
      r += "\"/src/big.f\", line " + line + ":     X" + std::to_string(i) + " declared\n";
    }
    return r;
  }();
  return report;
}

class TListHost : public vortan::TAnalyzerHost {
 public:
  vortan::TAnalyzerKeywords Keywords() override { return {}; }
  vortan::TfrmEditor* EditorFor(const std::string&) override { return nullptr; }
  std::string Caption(vortan::TfrmEditor*) override { return "big.f"; }
  void BeginMessages() override { list.BeginUpdate(); }
  void AddMessages(std::vector<vortan::TMessageNode> entries) override {
    list.Add(std::move(entries));
  }
  void EndMessages() override { list.EndUpdate(); }
  vortan::TMessageList list;
};

void BM_Grammar(benchmark::State& state) {
  const std::vector<std::string> lines = vortan::SplitReportLines(Report());
  for (auto _ : state) {
    vortan::TReportParser parser({}, {"Error", "Warning", "May be", "", "", "", ""},
                                 [](const std::string&) {
                                   return vortan::TReportParser::TResolved{nullptr, "big.f"};
                                 });
    for (const std::string& line : lines) parser.Parse(line);
    benchmark::DoNotOptimize(parser.TakeAll());
  }
  state.counters["messages"] = kMessages;
}
BENCHMARK(BM_Grammar)->Unit(benchmark::kMillisecond);

void BM_ParseJobToSortedList(benchmark::State& state) {
  // The analyzed window is a stand-in; its address is never followed.
  static char window;
  auto* editor = reinterpret_cast<vortan::TfrmEditor*>(&window);
  for (auto _ : state) {
    TListHost host;
    host.list.ActiveEditor = [editor] { return editor; };
    std::promise<void> ended;
    // Without a dispatcher the interface calls run in the job's thread; the timing is that of
    // the job's own work.
    auto* job = new vortan::TAnalyzeThread({}, &host);
    job->SetReport(Report());
    job->Editor = editor;
    job->EditorFileName = "/src/big.f";
    job->OnFinished = [&ended](vortan::TBaseThread&) { ended.set_value(); };
    job->Start();
    ended.get_future().wait();
    if (host.list.Top().size() != kMessages) state.SkipWithError("messages lost");
  }
  state.counters["messages"] = kMessages;
}
BENCHMARK(BM_ParseJobToSortedList)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
