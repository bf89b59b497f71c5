// The debugger's panels on the real gdb and gfortran: a step until the Call Stack and
// Variables panels show the new place, and a 1,000,000-element array's first page in the
// Variables panel. Prints the figures; asserts nothing.
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "jobs/debugbuild.h"
#include "jobs/gdbsession.h"
#include "jobs/ui/callstackpanel.h"
#include "jobs/ui/variablespanel.h"
#include "platform/pseudoterminal.h"

using namespace vortan;
using Clock = std::chrono::steady_clock;

namespace {

const char* const kSource =
    "      PROGRAM BENCH\n"
    "      INTEGER BIG(1000000), I, N\n"
    "      REAL A(3,4)\n"
    "      DO 10 I = 1, 1000000\n"
    "        BIG(I) = I\n"
    "   10 CONTINUE\n"
    "      N = 0\n"
    "      DO 20 I = 1, 100\n"
    "        N = N + BIG(I)\n"
    "   20 CONTINUE\n"
    "      A(1,1) = N\n"
    "      PRINT *, N, A(1,1)\n"
    "      END\n";

double Ms(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

bool NextStop(TGdbSession& session, TDebugEvent& event) {
  while (session.NextEvent(event, 30000))
    if (event.Kind != TDebugEvent::Running) return event.Kind == TDebugEvent::Stopped;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const std::string dir =
      (std::filesystem::temp_directory_path() / "vortan-debugger-bench").string();
  std::filesystem::create_directories(dir);
  const std::string source = dir + "/bench.f";
  std::ofstream(source) << kSource;
  const std::string program = DebugProgramOf(dir + "/bench");
  std::string output;
  if (!CompileForDebugging(DebugCompileArguments("gfortran", "", {source}, program), dir, output)) {
    std::fprintf(stderr, "compile failed: %s\n", output.c_str());
    return 1;
  }
  TPseudoTerminal terminal;
  terminal.Open();
  TGdbSession session;
  TGdbStart how;
  how.Program = program;
  how.WorkingDirectory = dir;
  how.Tty = terminal.SlaveName();
  std::string error;
  if (!session.Start(how, error)) {
    std::fprintf(stderr, "gdb: %s\n", error.c_str());
    return 1;
  }
  TCallStackPanel stack;
  TVariablesPanel variables;
  stack.show();
  variables.show();
  session.InsertBreakpoint(source, 9);
  session.Run();
  TDebugEvent event;
  if (!NextStop(session, event)) return 1;

  // The panels as the debugger fills them after each stop.
  auto fill = [&] {
    stack.ShowFrames(session.Frames(), 0);
    variables.ShowVariables(session.Variables(0), [&](TDebugVariable& p, long from, long count) {
      return session.Children(p, 0, from, count);
    });
    app.processEvents();
  };
  fill();
  // Continue keeps to the breakpoint inside the loop.
  const int steps = 20;
  std::vector<double> times;
  for (int i = 0; i < steps; ++i) {
    const auto start = Clock::now();
    session.StepOver();
    if (!NextStop(session, event)) return 1;
    fill();
    times.push_back(Ms(start));
  }
  std::sort(times.begin(), times.end());
  std::printf("step to updated panels: median %.1f ms, worst %.1f ms (%d steps)\n",
              times[times.size() / 2], times.back(), steps);

  const auto found = variables.findItems("BIG", Qt::MatchExactly);
  if (found.isEmpty()) return 1;
  const auto start = Clock::now();
  found.front()->setExpanded(true);
  app.processEvents();
  const double firstPage = Ms(start);
  std::printf(
      "1,000,000-element array, first page of %ld in the Variables panel: %.1f ms "
      "(%d rows, \"more...\" last: %s)\n",
      TVariablesPanel::PageSize, firstPage, found.front()->childCount(),
      found.front()->child(found.front()->childCount() - 1)->text(0).toUtf8().constData());
  session.Stop();
  std::filesystem::remove_all(dir);
  return 0;
}
