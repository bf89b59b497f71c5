#include "jobs/executethread.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "platform/platform.h"
#include "platform/terminal.h"
#include "system/vortanpath.h"

namespace vortan {

namespace {

// Mode 0: the window keeps the program's output after it has ended, until the user closes it.
// A shell stands in for the terminal's own hold option, which not every terminal has; it
// also gives the window the program's name as its title.
constexpr const char* HoldScript =
    "printf '\\033]0;%s\\007' \"${1##*/}\"; \"$1\"; while :; do sleep 3600; done";

bool EntryExists(const std::string& name) {
  struct stat st;
  return ::lstat(name.c_str(), &st) == 0;
}

// Writes the script under a temporary name and links it into place, so that no one ever
// runs a half-written script and a script that appeared meanwhile is not replaced.
bool WriteScript(const std::string& name) {
  std::string temp = name + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return false;
  const std::size_t size = std::strlen(RunWithScriptText);
  bool ok = ::write(fd, RunWithScriptText, size) == static_cast<ssize_t>(size) &&
            ::fchmod(fd, 0755) == 0;
  ok = ::close(fd) == 0 && ok;
  if (ok && ::link(temp.c_str(), name.c_str()) != 0 && errno != EEXIST) ok = false;
  ::unlink(temp.c_str());
  return ok && EntryExists(name);
}

// The user's own Vortan directory, next to the settings file.
std::string UserVortanDir() {
  std::string base = platform::GetEnv("XDG_CONFIG_HOME");
  if (base.empty() || base.front() != '/') {
    const std::string home = platform::GetEnv("HOME");
    if (home.empty()) return {};
    base = platform::IncludeTrailingSeparator(home) + ".config";
  }
  return platform::IncludeTrailingSeparator(base) + "vortan/";
}

}  // namespace

const char* const RunWithScriptText =
    "#!/bin/sh\n"
    "\"$1\"\n"
    "stty -icanon -echo min 1 time 0 2>/dev/null\n"
    "dd bs=1 count=1 >/dev/null 2>&1\n"
    "exit\n";

std::string RunWithBatName(const std::string& installDir, const std::string& fallbackDir) {
  for (const std::string* dir : {&installDir, &fallbackDir}) {
    if (dir->empty()) continue;
    const std::string name = *dir + platform::RunWithScriptName;
    if (EntryExists(name)) return name;
    // The user's directory may not be there yet; the installation's must be.
    if (dir == &fallbackDir) {
      std::error_code ec;
      std::filesystem::create_directories(*dir, ec);
    }
    if (WriteScript(name)) return name;
  }
  return {};
}

std::string RunWithBatName() {
  TVortanPath* paths = VortanPath();
  return RunWithBatName(paths ? paths->GetPath(sidInstallPath) : std::string(), UserVortanDir());
}

TExecuteThread::TExecuteThread(TMainThreadCall runInMainThread)
    : TProcessThread(std::move(runInMainThread)) {}

std::vector<std::string> TExecuteThread::RunCommand(int mode, const std::string& terminal,
                                                    const std::string& program,
                                                    const std::string& runWithScript,
                                                    const std::string& shell) {
  if (terminal.empty() || program.empty()) return {};
  switch (mode) {
    case rwPifFile:
      return platform::TerminalCommand(terminal, {"/bin/sh", "-c", HoldScript, "sh", program});
    case rwBatFile:
      if (runWithScript.empty()) return {};
      return platform::TerminalCommand(terminal, {runWithScript, program});
    case rwExeDirect:
      return platform::TerminalCommand(terminal, {program});
    case rwConsole:
      if (shell.empty()) return {};
      return platform::TerminalCommand(terminal, {shell, platform::ShellArgument,
                                                  platform::ShellQuote(program)});
    default:
      return {};
  }
}

void TExecuteThread::Execute() {
  const int mode = ReadInteger(sidRunWith);
  std::vector<std::string> args;
  // A terminal would only flash up and vanish on a program that cannot start.
  if (!platform::FindExecutable(ProgramPath).empty()) {
    args = RunCommand(mode, platform::FindTerminal(), ProgramPath,
                      mode == rwBatFile ? RunWithBatName() : std::string(),
                      mode == rwConsole ? platform::GetEnv(platform::ShellVariable) : std::string());
  }
  if (args.empty()) {
    ResultCode = jrCantExecute;
    DoError();
    return;
  }
  TChildStart how;
  how.Arguments = std::move(args);
  how.Show = TShowMode::Normal;
  how.NullStdio = true;
  StartAndWatchChild(std::move(how));
}

}  // namespace vortan
