#include "shell/desktoptools.h"

#include <unistd.h>

#include "platform/platform.h"

namespace vortan {

namespace {
bool IsExecutable(const std::string& path) {
  return platform::FileExists(path) && ::access(path.c_str(), X_OK) == 0;
}
}  // namespace

std::string FirstProgramFound(const std::vector<std::string>& candidates) {
  const std::string path = platform::GetEnv("PATH");
  for (const std::string& c : candidates) {
    if (c.empty()) continue;
    if (c.find('/') != std::string::npos) {
      if (IsExecutable(c)) return c;
      continue;
    }
    std::size_t start = 0;
    while (start <= path.size()) {
      std::size_t end = path.find(platform::PathListSeparator, start);
      if (end == std::string::npos) end = path.size();
      const std::string dir = path.substr(start, end - start);
      if (!dir.empty()) {
        const std::string full = platform::IncludeTrailingSeparator(dir) + c;
        if (IsExecutable(full)) return full;
      }
      start = end + 1;
    }
  }
  return {};
}

std::vector<std::string> TerminalCandidates() {
  std::vector<std::string> list;
  const std::string own = platform::GetEnv("VORTAN_TERMINAL");
  if (!own.empty()) list.push_back(own);
  list.push_back("x-terminal-emulator");
  list.push_back("xterm");
  return list;
}

std::vector<std::string> CalculatorCandidates() {
  return {"gnome-calculator", "kcalc", "galculator", "xcalc"};
}

}  // namespace vortan
