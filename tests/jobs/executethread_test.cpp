// The run and debug jobs against a stand-in terminal that records what it is asked to run
// and runs it, so no display is needed.
#include "jobs/executethread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "faketerminal.h"
#include "jobs/commandline.h"
#include "jobs/debugthread.h"
#include "jobs/testmainthread.h"
#include "support/files.h"
#include "support/tempdir.h"
#include "system/vortanpath.h"

using namespace vortan;
using namespace std::chrono_literals;
using vortan::test::TEnvVar;
using vortan::test::TFakeTerminal;
using vortan::test::TTempDir;
using vortan::test::TTestMainThread;

namespace {

namespace fs = std::filesystem;

using vortan::test::ReadFile;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Executable(const TTempDir& dir, const std::string& name, const std::string& text) {
  const std::string file = dir.Write(name, text);
  fs::permissions(file, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
  return file;
}

class RunJobs : public ::testing::Test {
 protected:
  void SetUp() override {
    install_ = dir_.MakeDir("install") + "/";
    ASSERT_TRUE(OpenStore(dir_ / "store.sqlite").Ok);
    paths_ = std::make_unique<TVortanPath>(Store(), install_);
    SetVortanPath(paths_.get());
    terminal_ = fake_.Path();
    // The program: a name a shell would split and expand, writing where it runs.
    program_ = Executable(dir_, "bin dir/my prog$HOME", "#!/bin/sh\necho ran > ran.txt\n");
  }

  void TearDown() override {
    fake_.KillSession();
    SetVortanPath(nullptr);
    paths_.reset();
    CloseStore();
  }

  struct TOutcome {
    std::vector<std::string> events;
    bool done = false;
  };

  // Starts the job; `stopOnceRan` stops it after the program has written its file.
  TOutcome Run(TProcessThread* job, bool stopOnceRan = false) {
    TOutcome out;
    job->OnSuccess = [&](TBaseThread&) { out.events.push_back("started"); };
    job->OnError = [&](TBaseThread& t) {
      out.events.push_back("error " + std::to_string(t.ResultCode));
    };
    job->OnFinished = [&](TBaseThread& t) {
      out.events.push_back("finished " + std::to_string(t.ResultCode));
      out.done = true;
    };
    job->Start();
    if (stopOnceRan) {
      // The whole line: the shell creates the file before it writes to it.
      EXPECT_TRUE(
          ui_.RunUntil([&] { return ReadFile(dir_ / "bin dir/ran.txt") == "ran\n" || out.done; }));
      job->RequestStop();
    }
    EXPECT_TRUE(ui_.RunUntil([&] { return out.done; }));
    return out;
  }

  TExecuteThread* RunJob(const std::string& program) {
    auto* job = new TExecuteThread(ui_.Dispatcher());
    job->ProgramPath = program;
    job->WorkingDirectory = fs::path(program).parent_path().string();
    job->FileName = program;
    job->EndedText = "ended %d.";
    return job;
  }

  TTempDir dir_;
  TFakeTerminal fake_{dir_};
  TTestMainThread ui_;
  std::string install_;
  std::string terminal_;
  std::string program_;
  std::unique_ptr<TVortanPath> paths_;
};

}  // namespace

TEST_F(RunJobs, EachModeRunsTheProgramInTheTerminalInItsDirectory) {
  TEnvVar term("VORTAN_TERMINAL", terminal_.c_str());
  TEnvVar shell("SHELL", "/bin/sh");
  struct TCase {
    int mode;
    std::vector<std::string> head;  // the terminal's first arguments
    std::vector<std::string> tail;  // and its last ones
    bool endsByItself;
  };
  const TCase cases[] = {
      // Stays open after the program: only Stop (or the user) ends it.
      {rwPifFile, {terminal_, "-e", "/bin/sh", "-c"}, {"sh", program_, "ended ", "."}, false},
      // The script's key wait ends at once on the terminal's empty input.
      {rwBatFile, {terminal_, "-e", install_ + "RunWith.sh", program_}, {}, true},
      {rwExeDirect, {terminal_, "-e", "/bin/sh", "-c", "exec \"$1\"", "sh", program_}, {}, true},
      {rwConsole, {terminal_, "-e", "/bin/sh", "-c", "exec \"$1\"", "sh", program_}, {}, true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE("mode " + std::to_string(c.mode));
    fs::remove(dir_ / "bin dir/ran.txt");
    WriteInteger(sidRunWith, c.mode);
    const TOutcome out = Run(RunJob(program_), !c.endsByItself);
    fake_.KillSession();
    EXPECT_EQ(ReadFile(dir_ / "bin dir/ran.txt"), "ran\n");
    if (c.endsByItself)
      EXPECT_EQ(out.events, (std::vector<std::string>{"started", "finished 0"}));
    else
      EXPECT_EQ(out.events, (std::vector<std::string>{"started", "error 3", "finished 3"}));
    const std::vector<std::string> args = fake_.Arguments();
    ASSERT_GE(args.size(), c.head.size() + c.tail.size());
    EXPECT_EQ(std::vector<std::string>(args.begin(), args.begin() + c.head.size()), c.head);
    EXPECT_EQ(std::vector<std::string>(args.end() - c.tail.size(), args.end()), c.tail);
  }
}

TEST_F(RunJobs, WhatCannotStartIsReportedAsCantExecuteAtOnce) {
  TEnvVar term("VORTAN_TERMINAL", terminal_.c_str());
  struct TCase {
    const char* what;
    int mode;
    const char* terminal;  // null keeps the stand-in
    const char* shell;
    bool programMissing;
  };
  const std::string nowhere = dir_.MakeDir("empty");
  const TCase cases[] = {
      {"no terminal emulator", rwExeDirect, "", "/bin/sh", false},
      {"SHELL unset in mode 3", rwConsole, nullptr, nullptr, false},
      {"unknown mode", 7, nullptr, "/bin/sh", false},
      {"program missing", rwExeDirect, nullptr, "/bin/sh", true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TEnvVar shell("SHELL", c.shell);
    // Without a terminal of its own the search must not find the system's either.
    TEnvVar terminal("VORTAN_TERMINAL", c.terminal ? c.terminal : terminal_.c_str());
    TEnvVar path("PATH", c.terminal ? nowhere.c_str() : std::getenv("PATH"));
    WriteInteger(sidRunWith, c.mode);
    const TOutcome out = Run(RunJob(c.programMissing ? dir_ / "missing" : program_));
    EXPECT_EQ(out.events, (std::vector<std::string>{"error 2", "finished 2"}));
    EXPECT_FALSE(fake_.Started());
  }
}

TEST(RunWithScript, WrittenOnceWhereItCanBeAndNeverRewritten) {
  TTempDir dir;
  const std::string install = dir.MakeDir("install") + "/";
  const std::string user = dir / "config/vortan/";
  const std::string script = install + "RunWith.sh";

  EXPECT_EQ(RunWithBatName(install, user), script);
  EXPECT_EQ(ReadFile(script), RunWithScriptText);
  EXPECT_EQ(fs::status(script).permissions() & fs::perms::all, fs::perms(0755));

  // The user's own version stays as it is, text and mode.
  std::ofstream(script, std::ios::trunc) << "#!/bin/sh\n\"$1\"\nsleep 5\n";
  fs::permissions(script, fs::perms(0700));
  EXPECT_EQ(RunWithBatName(install, user), script);
  EXPECT_EQ(ReadFile(script), "#!/bin/sh\n\"$1\"\nsleep 5\n");
  EXPECT_EQ(fs::status(script).permissions() & fs::perms::all, fs::perms(0700));

  // An installation directory that takes no file: the user's directory instead, made when
  // missing; nowhere at all: empty.
  const std::string missing = dir / "no-such-install/";
  EXPECT_EQ(RunWithBatName(missing, user), user + "RunWith.sh");
  EXPECT_EQ(ReadFile(user + "RunWith.sh"), RunWithScriptText);
  dir.Write("file", "x");
  EXPECT_EQ(RunWithBatName(missing, dir / "file/sub/"), "");
  EXPECT_EQ(RunWithBatName(missing, std::string()), "");
}

TEST(RunWithScript, RunsTheProgramThenEndsOnOneKey) {
  TTempDir dir;
  const std::string script = RunWithBatName(dir.Path() + "/", std::string());
  const std::string program = Executable(dir, "my prog", "#!/bin/sh\necho ran\n");
  const std::string command = "printf 'k' | '" + script + "' '" + program + "' 2>&1";
  FILE* p = ::popen(command.c_str(), "r");
  ASSERT_NE(p, nullptr);
  char buffer[64] = {};
  const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, p);
  EXPECT_EQ(::pclose(p), 0);
  EXPECT_EQ(std::string(buffer, n), "ran\n");
}

TEST_F(RunJobs, TheDebuggerRunsInTheTerminalWithTheFormattedCommandLine) {
  TEnvVar term("VORTAN_TERMINAL", terminal_.c_str());
  const std::string debugger =
      Executable(dir_, "bin dir/my gdb", "#!/bin/sh\nprintf '%s\\n' \"$@\" > gdb.args\n");
  struct TCase {
    const char* what;
    std::string programPath;
    std::vector<std::string> events;
  };
  const TCase cases[] = {
      {"found", QuoteArgument(debugger), {"started", "finished 0"}},
      {"missing", QuoteArgument(dir_ / "nowhere/gdb"), {"error 2", "finished 2"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    auto* job = new TDebugThread(ui_.Dispatcher());
    job->ProgramPath = c.programPath;
    job->Parameters = FormatArguments("%s %s", {"-q -nx", QuoteArgument(program_)});
    job->WorkingDirectory = dir_ / "bin dir";
    job->FileName = program_;
    EXPECT_EQ(Run(job).events, c.events);
  }
  EXPECT_EQ(fake_.Arguments(),
            (std::vector<std::string>{terminal_, "-e", debugger, "-q", "-nx", program_}));
  EXPECT_EQ(Lines(ReadFile(dir_ / "bin dir/gdb.args")),
            (std::vector<std::string>{"-q", "-nx", program_}));
}

TEST_F(RunJobs, ProgramNamesNeverBecomeShellText) {
  TEnvVar term("VORTAN_TERMINAL", terminal_.c_str());
  // Each name would run "touch pwned" if a shell read it as a command.
  const std::vector<std::string> names = {"two  blanks",   "it's \"quoted\"", "$(touch pwned)",
                                          "x;touch pwned", "`touch pwned`",   "-x",
                                          "back\\"};
  struct TMode {
    int mode;
    const char* shell;
    std::string expectedShell;  // what runs the program in mode 3
  };
  const TMode modes[] = {
      {rwPifFile, "/bin/sh", ""},
      {rwBatFile, "/bin/sh", ""},
      {rwExeDirect, "/bin/sh", ""},
      {rwConsole, "/bin/bash", "/bin/bash"},
      // A shell that reads its arguments otherwise is not trusted with the name.
      {rwConsole, "/usr/bin/fish", "/bin/sh"},
  };
  for (const std::string& name : names) {
    const std::string program =
        Executable(dir_, "bin dir/" + name, "#!/bin/sh\necho ran > ran.txt\n");
    for (const TMode& m : modes) {
      SCOPED_TRACE(name + " in mode " + std::to_string(m.mode) + " with " + m.shell);
      TEnvVar shell("SHELL", m.shell);
      fs::remove(dir_ / "bin dir/ran.txt");
      WriteInteger(sidRunWith, m.mode);
      Run(RunJob(program), m.mode == rwPifFile);
      fake_.KillSession();
      EXPECT_EQ(ReadFile(dir_ / "bin dir/ran.txt"), "ran\n");
      EXPECT_FALSE(fs::exists(dir_ / "bin dir/pwned"));
      EXPECT_FALSE(fs::exists(dir_ / "pwned"));
      // A terminal given a single command argument may hand it to a shell.
      const std::vector<std::string> args = fake_.Arguments();
      ASSERT_GE(args.size(), 4u);
      EXPECT_EQ(std::count(args.begin(), args.end(), program), 1);
      if (!m.expectedShell.empty()) {
        EXPECT_EQ(args[2], m.expectedShell);
      }
    }
  }
}

TEST_F(RunJobs, ModeZeroSaysThatTheProgramEndedWithItsCodeAndHowToClose) {
  TEnvVar term("VORTAN_TERMINAL", terminal_.c_str());
  const std::string program = Executable(dir_, "bin dir/fails", "#!/bin/sh\necho output\nexit 3\n");
  WriteInteger(sidRunWith, rwPifFile);
  auto* job = RunJob(program);
  job->EndedText = "Program ended with exit code %d. Press Enter to close this window.";
  TOutcome out;
  job->OnFinished = [&](TBaseThread&) { out.done = true; };
  job->Start();
  // The window holds after the program, telling so; the run lasts until it is closed.
  EXPECT_TRUE(ui_.RunUntil(
      [&] { return ReadFile(dir_ / "term.out").find("exit code 3.") != std::string::npos; }));
  EXPECT_NE(
      ReadFile(dir_ / "term.out")
          .find("output\n\nProgram ended with exit code 3. Press Enter to close this window.\n"),
      std::string::npos)
      << ReadFile(dir_ / "term.out");
  EXPECT_FALSE(out.done);
  job->RequestStop();
  EXPECT_TRUE(ui_.RunUntil([&] { return out.done; }));

  // Enter in the window ends it.
  const std::vector<std::string> args =
      TExecuteThread::RunCommand(rwPifFile, terminal_, program, "", "", "ended %d.");
  std::string command;
  for (std::size_t i = 2; i < args.size(); ++i) {
    std::string quoted = "'";
    for (char c : args[i]) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    command += quoted + "' ";
  }
  FILE* p = ::popen(("echo | " + command + "2>&1").c_str(), "r");
  ASSERT_NE(p, nullptr);
  char buffer[256] = {};
  const std::size_t n = std::fread(buffer, 1, sizeof buffer - 1, p);
  EXPECT_EQ(::pclose(p), 0);
  EXPECT_NE(std::string(buffer, n).find("output\n\nended 3.\n"), std::string::npos);
}
