#include "system/combohistory.h"

#include <algorithm>

#include "i18n/parlax.h"

namespace vortan {

void AddToHistory(std::vector<std::string>& history, const std::string& text) {
  if (text.empty()) return;
  history.erase(std::remove_if(history.begin(), history.end(),
                               [&](const std::string& item) { return SameText(item, text); }),
                history.end());
  history.insert(history.begin(), text);
}

std::vector<std::string> HistoryThatFits(const std::vector<std::string>& history,
                                         std::size_t maxBytes) {
  std::vector<std::string> out;
  std::size_t used = 0;
  for (const std::string& item : history) {
    used += item.size() + 2;
    if (used > maxBytes) break;
    out.push_back(item);
  }
  return out;
}

}  // namespace vortan
