// Execute, Run, Debug and Stop through the main window: against the stand-in terminal
// offscreen, and in real xterm windows when a display is there.
#include <dirent.h>
#include <signal.h>
#include <unistd.h>
#include <QMdiSubWindow>
#include <QProcess>

#include <optional>

#include "faketerminal.h"
#include "jobs/executethread.h"
#include "pipelinefixture.h"
#include "platform/terminal.h"
#include "system/product.h"

namespace vortan::test {
namespace {

namespace fs = std::filesystem;

// Writes a line and a file, both of which the tests look for.
const char* const kHello =
    "      PROGRAM HELLO\n"
    "      OPEN (UNIT=7, FILE='hello.txt', STATUS='UNKNOWN')\n"
    "      WRITE (7, *) 'HELLO FILE'\n"
    "      CLOSE (UNIT=7)\n"
    "      PRINT *, 'HELLO FROM VORTAN'\n"
    "      END\n";

// A program that records its pid and a mark, then waits until a file "go" appears.
const char* const kWaiting =
    "#!/bin/sh\n"
    "echo $$ > pid\n"
    "echo ran > ran.txt\n"
    "while [ ! -e go ]; do sleep 0.05; done\n";

bool ProcessGone(int pid) { return pid <= 1 || ::kill(pid, 0) != 0; }

struct TProcessInfo {
  int pid = 0;
  int ppid = 0;
  std::string exe;
  std::vector<std::string> arguments;
};

std::vector<TProcessInfo> Processes() {
  std::vector<TProcessInfo> list;
  DIR* proc = ::opendir("/proc");
  while (dirent* d = proc ? ::readdir(proc) : nullptr) {
    const std::string pid = d->d_name;
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string stat = ReadFile("/proc/" + pid + "/stat");
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    TProcessInfo info;
    info.pid = std::atoi(pid.c_str());
    std::istringstream rest(stat.substr(close + 2));
    char state = 0;
    rest >> state >> info.ppid;
    if (state == 'Z') continue;
    std::error_code ec;
    info.exe = fs::read_symlink("/proc/" + pid + "/exe", ec).string();
    const std::string cmdline = ReadFile("/proc/" + pid + "/cmdline");
    for (std::size_t start = 0; start < cmdline.size();) {
      const std::size_t end = cmdline.find('\0', start);
      info.arguments.push_back(cmdline.substr(start, end - start));
      start = end == std::string::npos ? cmdline.size() : end + 1;
    }
    // Gone while being read.
    if (info.arguments.empty()) continue;
    list.push_back(info);
  }
  if (proc) ::closedir(proc);
  return list;
}

// The children of `parent` whose executable is named `name`.
std::vector<TProcessInfo> Children(int parent, const std::string& name) {
  std::vector<TProcessInfo> found;
  for (const TProcessInfo& p : Processes())
    if (p.ppid == parent && fs::path(p.exe).filename() == name) found.push_back(p);
  return found;
}

// Remembers whether the window was ever minimized.
class TMinimizeLog : public QObject {
 public:
  explicit TMinimizeLog(QWidget* w) : w_(w) { w->installEventFilter(this); }
  bool seen = false;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::WindowStateChange && w_->isMinimized()) seen = true;
    return false;
  }

 private:
  QWidget* w_;
};

class RunSteps : public PipelineFixture {
 protected:
  std::vector<std::string> Tools() const override { return {"ftnchek", "gfortran", "gdb"}; }

  void SetUp() override {
    PipelineFixture::SetUp();
    terminalVar_.emplace("VORTAN_TERMINAL", fake_.Path().c_str());
    work_ = dir_.MakeDir("work") + "/";
  }
  void TearDown() override {
    // Nothing may keep running into the next test.
    for (TfrmEditor* e : main_->Editors()) main_->StopJob(e);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
          for (TfrmEditor* e : main_->Editors())
            if (e->RunningThread()) return false;
          return true;
        },
        5000));
    fake_.KillSession();
    PipelineFixture::TearDown();
    terminalVar_.reset();
  }

  std::string Executable(const std::string& name, const std::string& text) {
    const std::string file = dir_.Write("work/" + name, text);
    fs::permissions(file, fs::perms::owner_all);
    return file;
  }

  int WaitPid() {
    EXPECT_TRUE(QTest::qWaitFor([&] { return fs::exists(work_ + "ran.txt"); }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !ReadFile(work_ + "pid").empty(); }, 5000));
    return std::atoi(ReadFile(work_ + "pid").c_str());
  }

  bool WaitEnded(TfrmEditor* e, int timeoutMs = 10000) {
    return QTest::qWaitFor([&] { return e->RunningThread() == nullptr; }, timeoutMs);
  }

  bool Enabled(const char* action) { return main_->Action(action)->isEnabled(); }

  TFakeTerminal fake_{dir_};
  std::optional<TEnvVar> terminalVar_;
  std::string work_;
};

TEST_F(RunSteps, ExecuteFollowsTheProgramFileRunsItMinimizedAndStopEndsIt) {
  TfrmEditor* e = Open(dir_.Write("work/hello.f", kHello));
  WriteInteger(sidRunWith, rwExeDirect);
  main_->UpdateActions();
  EXPECT_FALSE(Enabled("actRun"));
  const std::string program = Executable("hello", kWaiting);
  // The editor looks once a second; the action follows without any user input.
  EXPECT_TRUE(QTest::qWaitFor([&] { return Enabled("actRun"); }, 3000));

  TMinimizeLog minimized(main_.get());
  QPointer<TfrmProcess> form = Trigger("actRun");
  ASSERT_TRUE(form);
  EXPECT_EQ(form->Message(), "Running...");
  const int pid = WaitPid();
  // Started: the progress window has gone, the IDE is out of the way, the editor is busy.
  EXPECT_TRUE(QTest::qWaitFor([&] { return !form; }, 5000));
  EXPECT_TRUE(main_->isMinimized());
  EXPECT_NE(e->RunningThread(), nullptr);
  main_->UpdateActions();
  for (const char* name : {"actRun", "actCompile", "actCompileandRun", "actDebug"})
    EXPECT_FALSE(Enabled(name)) << name;
  EXPECT_TRUE(Enabled("actStop"));
  EXPECT_EQ(fake_.Arguments(), (std::vector<std::string>{fake_.Path(), "-e", "/bin/sh", "-c",
                                                         "exec \"$1\"", "sh", program}));

  // The program ends by itself: the IDE comes back and Execute is open again.
  dir_.Write("work/go", "");
  ASSERT_TRUE(WaitEnded(e));
  EXPECT_TRUE(minimized.seen);
  EXPECT_FALSE(main_->isMinimized());
  EXPECT_TRUE(Enabled("actRun"));
  EXPECT_FALSE(Enabled("actStop"));
  EXPECT_EQ(main_->StatusPanel(3)->text(), "");

  // Stop ends a program that would wait for ever.
  fs::remove(work_ + "go");
  fs::remove(work_ + "ran.txt");
  fs::remove(work_ + "pid");
  Trigger("actRun");
  const int second = WaitPid();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Enabled("actStop"); }, 2000));
  main_->Action("actStop")->trigger();
  ASSERT_TRUE(WaitEnded(e, 5000));
  EXPECT_TRUE(ProcessGone(second));
  EXPECT_TRUE(ProcessGone(pid));
  EXPECT_FALSE(main_->isMinimized());
}

TEST_F(RunSteps, WhatCannotStartEndsWithCantExecuteAndNoJob) {
  TfrmEditor* e = Open(dir_.Write("work/hello.f", kHello));
  Executable("hello", kWaiting);
  const std::string empty = dir_.MakeDir("empty");
  struct TCase {
    const char* what;
    int mode;
    const char* terminal;
    const char* path;
    const char* shell;
  };
  const char* path = std::getenv("PATH");
  const TCase cases[] = {
      {"no terminal emulator", rwExeDirect, "", empty.c_str(), "/bin/sh"},
      {"SHELL unset", rwConsole, fake_.Path().c_str(), path, nullptr},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TEnvVar terminal("VORTAN_TERMINAL", c.terminal);
    TEnvVar pathVar("PATH", c.path);
    TEnvVar shell("SHELL", c.shell);
    WriteInteger(sidRunWith, c.mode);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Enabled("actRun"); }, 3000));
    QPointer<TfrmProcess> form = Trigger("actRun");
    ASSERT_TRUE(form);
    EXPECT_EQ(WaitOutcome(form, 10000), "Error.       Can't execute compiled file.");
    EXPECT_TRUE(WaitEnded(e, 2000));
    EXPECT_FALSE(main_->isMinimized());
    EXPECT_FALSE(fake_.Started());
    form->Cancel();  // reads OK: closes
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form; }, 2000));
  }
}

TEST_F(RunSteps, ClosingTheEditorStopsItsProgramAndNothingReachesTheWindowAfterwards) {
  TfrmEditor* e = Open(dir_.Write("work/hello.f", kHello));
  Executable("hello", kWaiting);
  WriteInteger(sidRunWith, rwExeDirect);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Enabled("actRun"); }, 3000));
  Trigger("actRun");
  const int pid = WaitPid();
  ASSERT_TRUE(QTest::qWaitFor([&] { return main_->isMinimized(); }, 5000));

  QPointer<TfrmEditor> editor(e);
  main_->SubWindowOf(e)->close();
  SettleDeletes();
  EXPECT_FALSE(editor);
  EXPECT_TRUE(QTest::qWaitFor([&] { return ProcessGone(pid); }, 5000));
  // The job's end still brings the IDE back, without the window it was working for.
  EXPECT_TRUE(QTest::qWaitFor([&] { return !main_->isMinimized(); }, 5000));
  QTest::qWait(300);
  EXPECT_TRUE(main_->Editors().empty());
}

TEST_F(RunSteps, RunAndDebugCompileFirstThenStartTheProgramOrTheDebuggerOnIt) {
  TfrmEditor* e = Open(dir_.Write("work/hello.f", kHello));
  const std::string program = work_ + "hello";
  WriteInteger(sidRunWith, rwExeDirect);

  QPointer<TfrmProcess> form = Trigger("actCompileandRun");
  ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(work_ + "hello.txt"); }, 60000));
  ASSERT_TRUE(WaitEnded(e));
  EXPECT_FALSE(form);
  EXPECT_EQ(fake_.Arguments(), (std::vector<std::string>{fake_.Path(), "-e", "/bin/sh", "-c",
                                                         "exec \"$1\"", "sh", program}));
  EXPECT_EQ(ReadFile(work_ + "hello.txt"), " HELLO FILE\n");

  // The debugger on no input ends at once.
  fake_.Forget();
  TMinimizeLog minimized(main_.get());
  form = Trigger("actDebug");
  ASSERT_TRUE(QTest::qWaitFor([&] { return fake_.Started(); }, 60000));
  ASSERT_TRUE(WaitEnded(e));
  EXPECT_FALSE(form);
  EXPECT_EQ(fake_.Arguments(),
            (std::vector<std::string>{fake_.Path(), "-e", install_ + "Bin/gdb", program}));
  EXPECT_TRUE(minimized.seen);
  EXPECT_FALSE(main_->isMinimized());
}

class NoDebugger : public RunSteps {
 protected:
  std::vector<std::string> Tools() const override { return {"ftnchek", "gfortran"}; }
};

TEST_F(NoDebugger, DebugAsksWhereToGetItAndBuildsNothing) {
  Open(dir_.Write("work/hello.f", kHello));
  prompts_.Answer(TModalResult::No);
  EXPECT_EQ(Trigger("actDebug"), nullptr);
  ASSERT_EQ(prompts_.asked.size(), 1u);
  const TMessageRequest& q = prompts_.asked.front();
  EXPECT_EQ(q.Text, FormatStr(Str(TStr::strMsgExtensionNotFound), {ProjectWebsite, "Vortan"}));
  EXPECT_EQ(q.Kind, TMsgDlgType::Information);
  EXPECT_TRUE(q.Buttons == (TMsgDlgButtons{TMsgDlgBtn::Yes, TMsgDlgBtn::No}));
  QTest::qWait(200);
  EXPECT_FALSE(fs::exists(work_ + "hello"));
  EXPECT_FALSE(fake_.Started());
  EXPECT_EQ(main_->MessagesTree()->topLevelItemCount(), 0);
}

// --- in real terminal windows ---------------------------------------------------------------

class RealTerminal : public RunSteps, public ::testing::WithParamInterface<int> {
 protected:
  void SetUp() override {
    RunSteps::SetUp();
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "no X display";
    const std::string xterm = platform::FindExecutable("xterm");
    if (xterm.empty()) GTEST_SKIP() << "xterm is not installed";
    // The real xterm behind a note that it was started: a window that closes with a short
    // program can be gone before any look at the process list.
    started_ = dir_.Path() + "/terminal-started";
    const std::string wrapper = dir_.Write(
        "terminal/xterm", "#!/bin/sh\n: > '" + started_ + "'\nexec '" + xterm + "' \"$@\"\n");
    fs::permissions(wrapper, fs::perms::owner_all);
    terminalVar_.emplace("VORTAN_TERMINAL", wrapper.c_str());
  }

  std::string started_;

  // Our terminal windows.
  std::vector<TProcessInfo> Xterms() { return Children(::getpid(), "xterm"); }

  void Screenshot(const char* name) {
    const QByteArray dir = qgetenv("VORTAN_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QTest::qWait(700);  // let the terminal draw
    EXPECT_EQ(
        QProcess::execute("import", {"-window", "root", QString::fromLocal8Bit(dir) + "/" + name}),
        0);
  }
};

TEST_P(RealTerminal, RunShowsTheProgramInAnXtermOfItsOwn) {
  const int mode = GetParam();
  TEnvVar shell("SHELL", "/bin/sh");
  TfrmEditor* e = Open(dir_.Write("work/hello.f", kHello));
  WriteInteger(sidRunWith, mode);
  TMinimizeLog minimized(main_.get());
  Trigger("actCompileandRun");
  // Modes 2 and 3 close the window with the program; the wrapper's note tells it was there.
  ASSERT_TRUE(QTest::qWaitFor([&] { return fs::exists(work_ + "hello.txt"); }, 60000));
  EXPECT_TRUE(fs::exists(started_)) << "the program did not run in the terminal";
  EXPECT_TRUE(minimized.seen);
  if (mode == rwPifFile) Screenshot("run-terminal.png");

  if (mode == rwExeDirect || mode == rwConsole) {
    // The window closes with the program, and the IDE comes back.
    ASSERT_TRUE(WaitEnded(e));
  } else {
    // The window waits for the user after the program.
    QTest::qWait(1000);
    ASSERT_NE(e->RunningThread(), nullptr);
    ASSERT_EQ(Xterms().size(), 1u);
    main_->Action("actStop")->trigger();
    ASSERT_TRUE(WaitEnded(e, 5000));
  }
  EXPECT_TRUE(QTest::qWaitFor([&] { return Xterms().empty(); }, 5000));
  EXPECT_FALSE(main_->isMinimized());
}

INSTANTIATE_TEST_SUITE_P(Modes, RealTerminal,
                         ::testing::Values(rwPifFile, rwBatFile, rwExeDirect, rwConsole));

using RealDebugger = RealTerminal;

TEST_F(RealDebugger, DebugShowsGdbOnTheProgramInAnXtermAndStopEndsIt) {
  TfrmEditor* e = Open(dir_.Write("work/hello.f", kHello));
  Trigger("actDebug");
  std::vector<TProcessInfo> gdb;
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        const std::vector<TProcessInfo> xterms = Xterms();
        gdb = xterms.empty() ? gdb : Children(xterms.front().pid, "gdb");
        return !gdb.empty();
      },
      60000));
  EXPECT_EQ(gdb.front().arguments.back(), work_ + "hello");
  EXPECT_NE(e->RunningThread(), nullptr);
  Screenshot("debug-terminal.png");

  main_->Action("actStop")->trigger();
  ASSERT_TRUE(WaitEnded(e, 5000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return Xterms().empty(); }, 5000));
  // The debugger loses its terminal and goes too.
  EXPECT_TRUE(QTest::qWaitFor([&] { return ProcessGone(gdb.front().pid); }, 5000));
  EXPECT_FALSE(main_->isMinimized());
}

}  // namespace
}  // namespace vortan::test
