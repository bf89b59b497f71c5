#include "symbols/includeresolver.h"

#include <algorithm>
#include <filesystem>
#include <set>

#include "platform/platform.h"

namespace vortan {

std::string TIncludeResolver::Resolve(const std::string& includer, const std::string& name) const {
  if (name.empty()) return {};
  namespace fs = std::filesystem;
  if (fs::path(name).is_absolute()) return platform::FileExists(name) ? name : std::string();
  std::vector<std::string> places{fs::path(includer).parent_path().string()};
  places.insert(places.end(), folders_.begin(), folders_.end());
  for (const std::string& folder : places) {
    const std::string full = (fs::path(folder) / name).lexically_normal().string();
    if (platform::FileExists(full)) return full;
  }
  return {};
}

std::vector<std::string> TIncludeResolver::Closure(const std::string& file,
                                                   const TIncludesOf& includesOf,
                                                   std::vector<std::string>* loops) const {
  std::vector<std::string> found;
  std::set<std::string> seen{file};
  std::vector<std::string> chain{file};
  std::function<void(const std::string&)> walk = [&](const std::string& from) {
    for (const std::string& name : includesOf(from)) {
      const std::string to = Resolve(from, name);
      if (to.empty()) continue;
      if (std::find(chain.begin(), chain.end(), to) != chain.end()) {
        if (loops) {
          std::string text;
          for (auto it = std::find(chain.begin(), chain.end(), to); it != chain.end(); ++it)
            text += *it + " -> ";
          loops->push_back(text + to);
        }
        continue;
      }
      if (!seen.insert(to).second) continue;
      found.push_back(to);
      chain.push_back(to);
      walk(to);
      chain.pop_back();
    }
  };
  walk(file);
  return found;
}

}  // namespace vortan
