// Fixed-form editing: the block structure and fold levels of a 100,000-line file (read again
// whenever the typing pauses), and the re-indent of a 5,000-line file through findent.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "editor/fixedformblocks.h"
#include "editor/reindenter.h"

namespace {

// Units of nested DO and IF blocks, a labelled DO ended by a statement other than CONTINUE,
// a shared terminal statement, comments and continuation lines.
std::vector<std::string> Lines(int count) {
  const char* unit[] = {
      "C     UNIT %d",
      "      SUBROUTINE S%d(A, N)",
      "      DOUBLE PRECISION A(N)",
      "      DO 10 I = 1, N",
      "      DO 10 J = 1, N",
      "      IF (A(I) .GT. 0.0D0 .AND.",
      "     $    J .GT. %d) THEN",
      "      A(I) = A(I) - 1.0D0",
      "      ELSE IF (A(I) .LT. 0.0D0) THEN",
      "      A(I) = 0.0D0",
      "      ELSE",
      "      DO WHILE (A(I) .LT. %d)",
      "      A(I) = A(I) + 1",
      "      END DO",
      "      END IF",
      "   10 CONTINUE",
      "      DO 20 K = 1, N",
      "   20 A(K) = A(K) * 2",
      "      RETURN",
      "      END",
  };
  std::vector<std::string> lines;
  char buffer[128];
  for (int u = 0; static_cast<int>(lines.size()) < count; ++u)
    for (const char* line : unit) {
      std::snprintf(buffer, sizeof buffer, line, u);
      lines.emplace_back(buffer);
      if (static_cast<int>(lines.size()) == count) break;
    }
  return lines;
}

void BM_FoldLevels100k(benchmark::State& state) {
  const std::vector<std::string> lines = Lines(100000);
  const std::vector<std::string_view> views(lines.begin(), lines.end());
  for (auto _ : state) {
    const vortan::TFixedFormBlocks blocks(views);
    benchmark::DoNotOptimize(blocks.FoldLevels().data());
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_FoldLevels100k)->Unit(benchmark::kMillisecond);

void BM_Reindent5000(benchmark::State& state) {
  const std::string tool = vortan::TReindenter::FindTool("");
  if (tool.empty()) {
    state.SkipWithError("findent is not installed");
    return;
  }
  const std::vector<std::string> lines = Lines(5000);
  const vortan::TReindenter reindenter(tool, "-i3 -r0 -k-");
  for (auto _ : state) {
    const vortan::TReindentResult r = reindenter.Run(lines, false);
    if (r.Status != vortan::TReindentResult::Ok) state.SkipWithError(r.Detail.c_str());
  }
}
BENCHMARK(BM_Reindent5000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
