// Throughput of the Fortran scanner over a generated fixed-form file of 100,000 lines, scanned
// line by line with the state carried from line to line, as the text control does.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "editor/fortranhighlighter.h"
#include "editor/fortranscanner.h"

namespace {

struct TSource {
  std::string text;
  std::vector<std::string_view> lines;
};

// Statements of a typical numerical program, with labels, comments, strings, continuation lines
// and sequence numbers in columns 73-80; names and numbers vary so no two blocks are equal.
const TSource& Source() {
  static const TSource source = [] {
    TSource s;
    const char* templates[] = {
        "C     COMPUTE THE RESIDUAL OF BLOCK %d AND UPDATE THE SOLUTION VECTOR",
        "      SUBROUTINE SOLV%d(A, B, X, N, TOL, IERR)",
        "      IMPLICIT NONE",
        "      DOUBLE PRECISION A(N,N), B(N), X(N), TOL, R%d, SUM",
        "      INTEGER N, I, J, K%d, IERR",
        "      CHARACTER*40 MSG",
        "      DATA MSG /'Solver %d didn''t converge'/",
        "*",
        "      DO %d I = 1, N",
        "         SUM = 0.0D+00",
        "         DO 20 J = 1, N",
        "            SUM = SUM + A(I,J)*X(J) - 1.5E-3*R%d",
        "   20    CONTINUE",
        "         IF (ABS(SUM - B(I)) .GT. TOL .AND. .NOT. DONE) GO TO 900",
        "         X(I) = X(I) + (B(I) - SUM) / A(I,I)                             SLV%05d",
        "  %d CONTINUE",
        "      IF (IERR.EQ.0) THEN",
        "         WRITE (*, 100) N, TOL, R%d",
        "  100    FORMAT (1X, 'N = ', I6, ' TOL = ', 1PE12.4,",
        "     &           3F10.2, 2X, 'done')",
        "      ELSE",
        "         PRINT *, \"failed: \\\"\", IERR   ! report it",
        "      END IF",
        "      RETURN",
        "  900 IERR = %d",
        "      END",
    };
    char buffer[160];
    std::vector<std::size_t> ends;
    for (int line = 0; line < 100000; ++line) {
      const int n = line / static_cast<int>(std::size(templates));
      std::snprintf(buffer, sizeof buffer,
                    templates[static_cast<std::size_t>(line) % std::size(templates)],
                    10 + n % 89990);
      s.text += buffer;
      ends.push_back(s.text.size());
      s.text += '\n';
    }
    std::size_t start = 0;
    for (std::size_t end : ends) {
      s.lines.emplace_back(s.text.data() + start, end - start);
      start = end + 1;
    }
    return s;
  }();
  return source;
}

template <class TScan>
void ScanAll(benchmark::State& state, TScan& scan) {
  const TSource& source = Source();
  for (auto _ : state) {
    int range = vortan::rsNone;
    unsigned tokens = 0;
    for (std::string_view line : source.lines) {
      scan.SetRange(range);
      for (scan.SetLine(line, 0); !scan.GetEol(); scan.Next())
        tokens += static_cast<unsigned>(scan.GetTokenKind());
      range = scan.GetRange();
    }
    benchmark::DoNotOptimize(tokens);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(source.text.size()));
}

void BM_ScanFixedForm(benchmark::State& state) {
  vortan::TFortranScanner scanner;
  ScanAll(state, scanner);
}
BENCHMARK(BM_ScanFixedForm)->Unit(benchmark::kMillisecond);

// The same through the shared highlighter, as the text control calls it.
void BM_HighlightFixedForm(benchmark::State& state) {
  vortan::TSynFortranSyn highlighter;
  ScanAll(state, highlighter);
}
BENCHMARK(BM_HighlightFixedForm)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
