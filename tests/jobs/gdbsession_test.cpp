// The debugger session against the real gdb and gfortran on small programs.
#include "jobs/gdbsession.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "jobs/debugbuild.h"
#include "platform/pseudoterminal.h"
#include "platform/terminal.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

// Line numbers matter: the tests stop at them.
const char* const kMain =
    "      PROGRAM MAIN\n"                        // 1
    "      REAL A(3,4)\n"                         // 2
    "      CHARACTER*20 NAME\n"                   // 3
    "      LOGICAL OK\n"                          // 4
    "      COMPLEX Z\n"                           // 5
    "      INTEGER I, J, N, ISUM\n"               // 6
    "      DOUBLE PRECISION BIG(0:5)\n"           // 7
    "      COMMON /BLK/ X, K\n"                   // 8
    "      X = 2.5\n"                             // 9
    "      K = 7\n"                               // 10
    "      NAME = 'HELLO WORLD'\n"                // 11
    "      OK = .TRUE.\n"                         // 12
    "      Z = (1.5, -2.0)\n"                     // 13
    "      ISUM = 0\n"                            // 14
    "      DO 20 J = 1, 4\n"                      // 15
    "        DO 10 I = 1, 3\n"                    // 16
    "          A(I,J) = I + 10*J\n"               // 17
    "   10   CONTINUE\n"                          // 18
    "   20 CONTINUE\n"                            // 19
    "      DO 30 N = 1, 10\n"                     // 20
    "C       the sum of the first N\n"            // 21
    "        ISUM = ISUM + N\n"                   // 22
    "   30 CONTINUE\n"                            // 23
    "      CALL SUB(ISUM)\n"                      // 24
    "      PRINT *, ISUM, NAME, OK, Z, BIG(0)\n"  // 25
    "      END\n";                                // 26

const char* const kSub =
    "      SUBROUTINE SUB(M)\n"  // 1
    "      INTEGER M\n"          // 2
    "      COMMON /BLK/ X, K\n"  // 3
    "      M = M + K\n"          // 4
    "      X = X * 2\n"          // 5
    "      END\n";               // 6

class GdbSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (platform::FindExecutable("gdb").empty() || platform::FindExecutable("gfortran").empty())
      GTEST_SKIP() << "gdb and gfortran are needed";
    ASSERT_TRUE(terminal_.Open());
  }

  // Builds the sources for debugging and starts gdb on them, the program's terminal ours.
  void Start(const std::vector<std::pair<std::string, std::string>>& files,
             const std::string& options = {}) {
    std::vector<std::string> sources;
    for (const auto& [name, text] : files) sources.push_back(dir_.Write(name, text));
    const std::string program = DebugProgramOf(dir_ / "prog");
    std::string output;
    ASSERT_TRUE(CompileForDebugging(DebugCompileArguments("gfortran", options, sources, program),
                                    dir_.Path(), output))
        << output;
    TGdbStart how;
    how.Program = program;
    how.WorkingDirectory = dir_.Path();
    how.Tty = terminal_.SlaveName();
    std::string error;
    ASSERT_TRUE(session_.Start(how, error)) << error;
  }

  // The next stop or end, the running notes passed over.
  TDebugEvent Next() {
    TDebugEvent event;
    while (session_.NextEvent(event, 30000))
      if (event.Kind != TDebugEvent::Running) {
        session_.SelectUserFrame(event);
        return event;
      }
    ADD_FAILURE() << "no event";
    return {};
  }

  const TDebugVariable* Find(const std::vector<TDebugVariable>& vars, const std::string& name) {
    for (const auto& v : vars)
      if (v.Name == name) return &v;
    return nullptr;
  }

  std::string Eval(const std::string& expression, int level = 0) {
    std::string value;
    EXPECT_TRUE(session_.Evaluate(expression, level, value)) << expression << ": " << value;
    return value;
  }

  test::TTempDir dir_;
  TPseudoTerminal terminal_;
  TGdbSession session_;
};

std::string FileName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

TEST_F(GdbSessionTest, LoopBreakpointLandsOnCodeAndHonoursItsCondition) {
  Start({{"main.f", kMain}, {"sub.f", kSub}});
  // Line 21 is a comment: the breakpoint lands on the statement below it.
  const TBreakpointPlace place = session_.InsertBreakpoint(dir_ / "main.f", 21, "N .EQ. 5");
  ASSERT_GT(place.Number, 0) << place.Error;
  EXPECT_EQ(place.Line, 22);
  ASSERT_TRUE(session_.Run());
  TDebugEvent stop = Next();
  EXPECT_EQ(stop.Kind, TDebugEvent::Stopped);
  EXPECT_EQ(stop.Reason, "breakpoint-hit");
  EXPECT_EQ(FileName(stop.File), "main.f");
  EXPECT_EQ(stop.Line, 22);
  EXPECT_EQ(Eval("N"), "5");
  EXPECT_EQ(Eval("ISUM"), "10");
  EXPECT_EQ(session_.State(), TDebugState::Stopped);

  // An ignore count passes the next hits over; without the condition every pass stops.
  ASSERT_TRUE(session_.SetCondition(place.Number, ""));
  ASSERT_TRUE(session_.SetIgnoreCount(place.Number, 2));
  ASSERT_TRUE(session_.Continue());
  stop = Next();
  EXPECT_EQ(stop.Line, 22);
  EXPECT_EQ(Eval("N"), "8");

  ASSERT_TRUE(session_.DeleteBreakpoint(place.Number));
  ASSERT_TRUE(session_.Continue());
  stop = Next();
  EXPECT_EQ(stop.Kind, TDebugEvent::Exited);
  EXPECT_EQ(stop.ExitCode, 0);
  std::string printed;
  while (printed.find("HELLO") == std::string::npos && terminal_.Read(printed, 10000)) {
  }
  EXPECT_NE(printed.find("62"), std::string::npos) << printed;
}

TEST_F(GdbSessionTest, StepsIntoASubroutineOfAnotherFileAndOut) {
  Start({{"main.f", kMain}, {"sub.f", kSub}});
  ASSERT_GT(session_.InsertBreakpoint("main.f", 24).Number, 0);
  ASSERT_TRUE(session_.Run());
  EXPECT_EQ(Next().Line, 24);
  ASSERT_TRUE(session_.StepInto());
  TDebugEvent stop = Next();
  EXPECT_EQ(FileName(stop.File), "sub.f");
  EXPECT_EQ(stop.Line, 4);
  EXPECT_EQ(stop.Routine, "SUB");
  const auto frames = session_.Frames();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0].Routine, "SUB");
  EXPECT_EQ(frames[1].Routine, "MAIN");
  EXPECT_EQ(frames[1].Line, 24);
  // The argument and the COMMON members as the subroutine sees them.
  const auto vars = session_.Variables(0);
  const TDebugVariable* m = Find(vars, "M");
  ASSERT_TRUE(m);
  EXPECT_TRUE(m->Argument);
  EXPECT_EQ(m->Value, "55");
  const TDebugVariable* k = Find(vars, "K");
  ASSERT_TRUE(k);
  EXPECT_EQ(k->Common, "BLK");
  EXPECT_EQ(k->Value, "7");
  // The caller's frame shows the caller's variables.
  EXPECT_TRUE(Find(session_.Variables(1), "ISUM"));

  ASSERT_TRUE(session_.StepOut());
  stop = Next();
  EXPECT_EQ(FileName(stop.File), "main.f");
  EXPECT_EQ(stop.Routine, "MAIN");
  EXPECT_EQ(Eval("ISUM"), "62");
}

TEST_F(GdbSessionTest, ShowsArraysCommonCharacterLogicalAndComplexInFortranTerms) {
  Start({{"main.f", kMain}, {"sub.f", kSub}});
  ASSERT_GT(session_.InsertBreakpoint("main.f", 20).Number, 0);
  ASSERT_TRUE(session_.Run());
  EXPECT_EQ(Next().Line, 20);

  auto vars = session_.Variables(0);
  const TDebugVariable* a = Find(vars, "A");
  ASSERT_TRUE(a);
  EXPECT_EQ(a->Type.Text(), "REAL*4 (3,4)");
  EXPECT_EQ(a->Children, 4);
  TDebugVariable array = *a;
  auto columns = session_.Children(array, 0, 0, 100);
  ASSERT_EQ(columns.size(), 4u);
  EXPECT_EQ(columns[2].Name, "A(:,3)");
  auto elements = session_.Children(columns[2], 0, 0, 100);
  ASSERT_EQ(elements.size(), 3u);
  EXPECT_EQ(elements[1].Name, "A(2,3)");
  EXPECT_EQ(elements[1].Value, "32");
  // A page from the middle.
  auto page = session_.Children(array, 0, 1, 2);
  ASSERT_EQ(page.size(), 2u);
  EXPECT_EQ(page[0].Name, "A(:,2)");

  const TDebugVariable* big = Find(vars, "BIG");
  ASSERT_TRUE(big);
  EXPECT_EQ(big->Type.Text(), "REAL*8 (0:5)");
  TDebugVariable bigArray = *big;
  auto bigElements = session_.Children(bigArray, 0, 0, 100);
  ASSERT_EQ(bigElements.size(), 6u);
  EXPECT_EQ(bigElements.front().Name, "BIG(0)");
  EXPECT_EQ(bigElements.back().Name, "BIG(5)");

  struct TCase {
    const char* Name;
    const char* Value;
    const char* Common;
  };
  const TCase scalars[] = {
      {"NAME", "'HELLO WORLD         '", ""},
      {"OK", ".TRUE.", ""},
      {"Z", "(1.5, -2)", ""},
      {"X", "2.5", "BLK"},
      {"K", "7", "BLK"},
  };
  for (const TCase& c : scalars) {
    SCOPED_TRACE(c.Name);
    const TDebugVariable* v = Find(vars, c.Name);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->Value, c.Value);
    EXPECT_EQ(v->Common, c.Common);
  }
  EXPECT_EQ(Find(vars, "NAME")->Type.Text(), "CHARACTER*20");

  // Watch expressions in Fortran syntax.
  EXPECT_EQ(Eval("A(2,3)"), "32");
  EXPECT_EQ(Eval("A(2,:)"), "(12, 22, 32, 42)");
  EXPECT_EQ(Eval("K*2"), "14");
  std::string message;
  EXPECT_FALSE(session_.Evaluate("NOSUCH", 0, message));
  EXPECT_FALSE(message.empty());
}

TEST_F(GdbSessionTest, CrashesStopAtTheirLine) {
  struct TCase {
    const char* Options;
    const char* Source;
    const char* Reason;
    const char* Probe;
    const char* ProbeValue;
  };
  const TCase cases[] = {
      {"-ffpe-trap=zero",
       "      PROGRAM DIV\n"
       "      REAL X, Y\n"
       "      X = 1.0\n"
       "      Y = 0.0\n"
       "      X = X / Y\n"
       "      PRINT *, X\n"
       "      END\n",
       "signal-received", "Y", "0"},
      {"-fcheck=bounds",
       "      PROGRAM OOB\n"
       "      INTEGER A(3), I\n"
       "      I = 4\n"
       "      I = I + 0\n"
       "      A(I) = 1\n"
       "      PRINT *, A(1)\n"
       "      END\n",
       "runtime-error", "I", "4"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Options);
    session_.Stop();
    Start({{"crash.f", c.Source}}, c.Options);
    ASSERT_TRUE(session_.Run());
    const TDebugEvent stop = Next();
    EXPECT_EQ(stop.Kind, TDebugEvent::Stopped);
    EXPECT_EQ(stop.Reason, c.Reason);
    EXPECT_EQ(FileName(stop.File), "crash.f");
    EXPECT_EQ(stop.Line, 5);
    if (stop.Reason == std::string("signal-received")) {
      EXPECT_EQ(stop.SignalName, "SIGFPE");
    }
    // The frame of the faulty line is the one looked at.
    EXPECT_EQ(Eval(c.Probe, stop.Frame), c.ProbeValue);
  }
}

TEST_F(GdbSessionTest, ProgramReadsItsTerminalAndEndsWithItsExitCode) {
  Start({{"read.f",
          "      PROGRAM RD\n"
          "      INTEGER N\n"
          "      READ *, N\n"
          "      PRINT *, 'TWICE', N*2\n"
          "      STOP 3\n"
          "      END\n"}});
  ASSERT_TRUE(session_.Run());
  ASSERT_TRUE(terminal_.Type("21\n"));
  const TDebugEvent end = Next();
  EXPECT_EQ(end.Kind, TDebugEvent::Exited);
  EXPECT_EQ(end.ExitCode, 3);
  std::string printed;
  while (printed.find("42") == std::string::npos && terminal_.Read(printed, 10000)) {
  }
  EXPECT_NE(printed.find("TWICE"), std::string::npos) << printed;
  EXPECT_NE(printed.find("42"), std::string::npos) << printed;
}

TEST_F(GdbSessionTest, PauseStopsARunningProgramAndStopEndsGdb) {
  Start({{"wait.f",
          "      PROGRAM WT\n"
          "      INTEGER N\n"
          "      READ *, N\n"
          "      END\n"}});
  ASSERT_TRUE(session_.Run());
  TDebugEvent event;
  ASSERT_TRUE(session_.NextEvent(event, 30000));
  EXPECT_EQ(event.Kind, TDebugEvent::Running);
  ASSERT_TRUE(session_.Pause());
  EXPECT_EQ(Next().Kind, TDebugEvent::Stopped);
  session_.Stop();
  EXPECT_FALSE(session_.Active());
}

TEST_F(GdbSessionTest, StartFailuresSayWhatHappened) {
  std::string error;
  TGdbStart how;
  how.Gdb = dir_ / "no-such-gdb";
  how.Program = dir_ / "prog";
  EXPECT_FALSE(session_.Start(how, error));
  EXPECT_EQ(session_.Failure(), TGdbFailure::Missing);
  how.Gdb = "gdb";
  error.clear();
  EXPECT_FALSE(session_.Start(how, error));
  EXPECT_EQ(session_.Failure(), TGdbFailure::CannotLoad);
  EXPECT_NE(error.find("prog"), std::string::npos) << error;
  EXPECT_FALSE(session_.Active());
}

}  // namespace
}  // namespace vortan
