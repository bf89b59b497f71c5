#include "system/desktoptools.h"

#include "platform/terminal.h"

namespace vortan {

std::string FirstProgramFound(const std::vector<std::string>& candidates) {
  for (const std::string& c : candidates)
    if (!c.empty())
      if (std::string found = platform::FindExecutable(c); !found.empty()) return found;
  return {};
}

std::vector<std::string> CalculatorCandidates() {
  return {"gnome-calculator", "kcalc", "galculator", "xcalc"};
}

}  // namespace vortan
