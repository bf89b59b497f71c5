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
// also gives the window the program's name as its title, and says at the end that the
// program ended, with its exit code ($2 and $3 around it), and how to close the window.
// Enter closes it; without a keyboard to read from it stays until it is closed.
constexpr const char* HoldScript =
    "printf '\\033]0;%s\\007' \"${1##*/}\"; \"$1\"; rc=$?; "
    "printf '\\n%s%d%s\\n' \"$2\" \"$rc\" \"$3\"; "
    "read -r line || while :; do sleep 3600; done";

// Modes 2 and 3: the program named by $1 replaces the shell. Handing a terminal a single
// argument after -e would let it run that argument through a shell of its own.
constexpr const char* ExecScript = "exec \"$1\"";

// Shells that read "-c SCRIPT NAME ARG" as a POSIX shell does, so that the program's name
// stays a positional parameter; any other is replaced by /bin/sh.
bool IsPosixShell(const std::string& shell) {
  const std::string name = shell.substr(shell.rfind('/') + 1);
  for (const char* known : {"sh", "bash", "dash", "ash", "ksh", "ksh93", "mksh", "pdksh", "zsh",
                            "yash", "posh", "busybox"})
    if (name == known) return true;
  return false;
}

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
  bool ok =
      ::write(fd, RunWithScriptText, size) == static_cast<ssize_t>(size) && ::fchmod(fd, 0755) == 0;
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
                                                    const std::string& shell,
                                                    const std::string& endedText) {
  if (terminal.empty() || program.empty()) return {};
  switch (mode) {
    case rwPifFile: {
      // The exit code goes where the text says "%d".
      const std::size_t at = endedText.find("%d");
      const std::string before =
          at == std::string::npos ? endedText + " " : endedText.substr(0, at);
      const std::string after = at == std::string::npos ? std::string() : endedText.substr(at + 2);
      return platform::TerminalCommand(terminal,
                                       {"/bin/sh", "-c", HoldScript, "sh", program, before, after});
    }
    case rwBatFile:
      if (runWithScript.empty()) return {};
      return platform::TerminalCommand(terminal, {runWithScript, program});
    case rwExeDirect:
      return platform::TerminalCommand(terminal, {"/bin/sh", "-c", ExecScript, "sh", program});
    case rwConsole:
      if (shell.empty()) return {};
      return platform::TerminalCommand(
          terminal, {IsPosixShell(shell) ? shell : std::string("/bin/sh"), platform::ShellArgument,
                     ExecScript, "sh", program});
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
                      mode == rwConsole ? platform::GetEnv(platform::ShellVariable) : std::string(),
                      EndedText);
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
