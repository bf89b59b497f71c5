#include "platform/terminal.h"

#include <unistd.h>

#include "platform/platform.h"

namespace vortan::platform {

namespace {

bool IsExecutable(const std::string& path) {
  return FileExists(path) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string FindExecutable(const std::string& name) {
  if (name.empty()) return {};
  if (name.find(PathSeparator) != std::string::npos)
    return IsExecutable(name) ? name : std::string();
  const std::string path = GetEnv("PATH");
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(PathListSeparator, start);
    if (end == std::string::npos) end = path.size();
    const std::string dir = path.substr(start, end - start);
    if (!dir.empty()) {
      const std::string full = IncludeTrailingSeparator(dir) + name;
      if (IsExecutable(full)) return full;
    }
    start = end + 1;
  }
  return {};
}

std::string FindTerminal() {
  for (const std::string& candidate :
       {GetEnv("VORTAN_TERMINAL"), std::string("x-terminal-emulator"), std::string("xterm")}) {
    std::string found = FindExecutable(candidate);
    if (!found.empty()) return found;
  }
  return {};
}

std::vector<std::string> TerminalCommand(const std::string& terminal,
                                         const std::vector<std::string>& command) {
  std::vector<std::string> args{terminal, "-e"};
  args.insert(args.end(), command.begin(), command.end());
  return args;
}

}  // namespace vortan::platform
