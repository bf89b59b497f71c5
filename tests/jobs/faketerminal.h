#pragma once
// A stand-in terminal emulator for the run and debug jobs: it records its arguments (one per
// line, itself first) and its pid, then runs the command after -e in a session of its own
// with no input, so that nothing needs a display and a test can end what a stopped command
// left behind.
#include <signal.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/tempdir.h"

namespace vortan::test {

class TFakeTerminal {
 public:
  explicit TFakeTerminal(const TTempDir& dir) : dir_(dir) {
    path_ = dir.Write("term",
                      "#!/bin/sh\n"
                      "printf '%s\\n' \"$0\" \"$@\" > '" +
                          dir / "term.args" +
                          "'\n"
                          "echo $$ > '" +
                          dir / "term.pid" +
                          "'\n"
                          "shift\n"
                          "exec setsid \"$@\" < /dev/null > '" +
                          dir / "term.out" + "' 2>&1\n");
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all);
  }
  ~TFakeTerminal() { KillSession(); }

  const std::string& Path() const { return path_; }

  /// The arguments of the last start; empty when it was not started.
  std::vector<std::string> Arguments() const {
    std::vector<std::string> lines;
    std::istringstream in(Read(dir_ / "term.args"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  bool Started() const { return std::filesystem::exists(dir_ / "term.args"); }
  void Forget() {
    KillSession();
    std::filesystem::remove(dir_ / "term.args");
  }

  /// Ends whatever the last start left running.
  void KillSession() {
    const int pid = std::atoi(Read(dir_ / "term.pid").c_str());
    if (pid > 1) ::kill(-pid, SIGKILL);
    std::filesystem::remove(dir_ / "term.pid");
  }

 private:
  static std::string Read(const std::string& name) { return ReadFile(name); }

  const TTempDir& dir_;
  std::string path_;
};

/// Sets an environment variable (null: unsets it) for a scope and puts the old value back.
class TEnvVar {
 public:
  TEnvVar(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    hadOld_ = old != nullptr;
    if (hadOld_) old_ = old;
    if (value)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~TEnvVar() {
    if (hadOld_)
      ::setenv(name_, old_.c_str(), 1);
    else
      ::unsetenv(name_);
  }
  TEnvVar(const TEnvVar&) = delete;
  TEnvVar& operator=(const TEnvVar&) = delete;

 private:
  const char* name_;
  std::string old_;
  bool hadOld_ = false;
};

}  // namespace vortan::test
