// Opening files named on the command line: the main window opens 1 and then 20 generated
// LAPACK-style routines (about 1,200 lines each) and the time until the interface is idle
// again (no event, timer or background work left) is printed, with what each file beyond
// the first adds.
//
// Runs offscreen: openfiles_bench [rounds]

#include <unistd.h>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "shell/mainwindow.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

// Processor time of this thread: on a machine shared with other work the wall time says
// little, this says what the program itself spent.
double CpuMilliseconds() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// One routine in the style of the LAPACK sources: a long comment block with the argument
// descriptions, declarations, nested DO loops, IF blocks and calls, continuation lines.
std::string Routine(int n) {
  std::string name = "DGEX" + std::to_string(n);
  std::string t;
  auto line = [&t](const std::string& s) { t += s + "\n"; };
  line("      SUBROUTINE " + name + "( M, N, A, LDA, IPIV, WORK, LWORK, INFO )");
  line("*");
  line("*  -- LAPACK-style routine --");
  line("*     Generated for timing only.");
  line("*");
  line("*     .. Scalar Arguments ..");
  line("      INTEGER            INFO, LDA, LWORK, M, N");
  line("*     ..");
  line("*     .. Array Arguments ..");
  line("      INTEGER            IPIV( * )");
  line("      DOUBLE PRECISION   A( LDA, * ), WORK( * )");
  line("*     ..");
  line("*");
  line("*  Purpose");
  line("*  =======");
  for (int i = 0; i < 40; ++i)
    line("*  " + name + " computes step " + std::to_string(i) +
         " of the factorization of a general M-by-N matrix A using partial pivoting.");
  line("*");
  line("*     .. Parameters ..");
  line("      DOUBLE PRECISION   ONE, ZERO");
  line("      PARAMETER          ( ONE = 1.0D+0, ZERO = 0.0D+0 )");
  line("*     ..");
  line("*     .. Local Scalars ..");
  line("      INTEGER            I, IINFO, J, JB, NB");
  line("      DOUBLE PRECISION   TEMP");
  line("*     ..");
  line("*     .. External Subroutines ..");
  line("      EXTERNAL           DGEMM, DGETF2, DLASWP, DTRSM, XERBLA");
  line("*     ..");
  line("      INFO = 0");
  line("      IF( M.LT.0 ) THEN");
  line("         INFO = -1");
  line("      ELSE IF( N.LT.0 ) THEN");
  line("         INFO = -2");
  line("      ELSE IF( LDA.LT.MAX( 1, M ) ) THEN");
  line("         INFO = -4");
  line("      END IF");
  line("      IF( INFO.NE.0 ) THEN");
  line("         CALL XERBLA( '" + name + "', -INFO )");
  line("         RETURN");
  line("      END IF");
  for (int block = 0; block < 60; ++block) {
    const std::string label = std::to_string(10 + block * 10);
    line("*");
    line("*        Update block " + std::to_string(block) + " of the trailing submatrix.");
    line("*");
    line("      DO " + label + " J = 1, MIN( M, N ), NB");
    line("         JB = MIN( MIN( M, N )-J+1, NB )");
    line("         CALL DGETF2( M-J+1, JB, A( J, J ), LDA, IPIV( J ), IINFO )");
    line("         IF( INFO.EQ.0 .AND. IINFO.GT.0 )");
    line("     $      INFO = IINFO + J - 1");
    line("         DO 5" + label + " I = J, MIN( M, J+JB-1 )");
    line("            IPIV( I ) = J - 1 + IPIV( I )");
    line("            TEMP = A( I, J ) * 2.5D-1 + ONE");
    line("            WORK( I ) = TEMP / ( ONE + ABS( A( I, J ) ) )");
    line(" 5" + label + "    CONTINUE");
    line("         CALL DLASWP( J-1, A, LDA, J, J+JB-1, IPIV, 1 )");
    line("         CALL DTRSM( 'Left', 'Lower', 'No transpose', 'Unit', JB,");
    line("     $               N-J-JB+1, ONE, A( J, J ), LDA, A( J, J+JB ),");
    line("     $               LDA )");
    line("   " + label + " CONTINUE");
  }
  line("      RETURN");
  line("*");
  line("*     End of " + name);
  line("*");
  line("      END");
  return t;
}

// Runs events until a pass finds nothing left to do.
void RunUntilIdle() {
  QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance();
  while (d->processEvents(QEventLoop::AllEvents)) {
  }
}

struct TTimes {
  double Opened = 0;  // OpenFileList returned
  double Idle = 0;    // nothing left to do
  double Cpu = 0;     // processor time until idle
};

TTimes OpenOnce(const std::vector<std::string>& files) {
  auto main = std::make_unique<vortan::TfrmMain>();
  main->show();
  RunUntilIdle();
  const auto start = Clock::now();
  const double cpu = CpuMilliseconds();
  main->OpenFileList(files);
  TTimes t;
  t.Opened = Milliseconds(start);
  RunUntilIdle();
  t.Idle = Milliseconds(start);
  t.Cpu = CpuMilliseconds() - cpu;
  main.reset();
  RunUntilIdle();
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("openfiles-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  vortan::OpenStore((dir / "store.sqlite").string());

  std::vector<std::string> files;
  std::size_t bytes = 0, lines = 0;
  for (int i = 0; i < 20; ++i) {
    const std::string text = Routine(i + 1);
    bytes += text.size();
    lines += static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    files.push_back((dir / ("dgex" + std::to_string(i + 1) + ".f")).string());
    std::ofstream(files.back(), std::ios::binary) << text;
  }
  std::printf("files: 20 routines, %zu lines each, %.0f KiB in all\n", lines / 20,
              static_cast<double>(bytes) / 1024.0);

  OpenOnce({files[0]});  // warms up fonts and caches
  auto best = [&](std::size_t count) {
    const std::vector<std::string> some(files.begin(), files.begin() + static_cast<long>(count));
    TTimes b{1e300, 1e300, 1e300};
    for (int r = 0; r < rounds; ++r) {
      const TTimes t = OpenOnce(some);
      b.Opened = std::min(b.Opened, t.Opened);
      b.Idle = std::min(b.Idle, t.Idle);
      b.Cpu = std::min(b.Cpu, t.Cpu);
    }
    return b;
  };
  const TTimes one = best(1), twenty = best(20);
  std::printf(" 1 file:  opened %7.1f ms, idle %7.1f ms (processor %7.1f ms)\n", one.Opened,
              one.Idle, one.Cpu);
  std::printf("20 files: opened %7.1f ms, idle %7.1f ms (processor %7.1f ms)\n", twenty.Opened,
              twenty.Idle, twenty.Cpu);
  std::printf("each file beyond the first adds %.1f ms to idle (processor %.1f ms)\n",
              (twenty.Idle - one.Idle) / 19.0, (twenty.Cpu - one.Cpu) / 19.0);

  vortan::CloseStore();
  std::filesystem::remove_all(dir);
  return 0;
}
