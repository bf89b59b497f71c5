#include "i18n/currentlanguage.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "platform/text.h"

namespace vortan {

std::string& CurrentLanguageFile() {
  static std::string name;
  return name;
}

std::vector<std::string> FindLanguageFiles(const std::vector<std::string>& directories) {
  namespace fs = std::filesystem;
  std::vector<std::string> result;
  std::vector<fs::path> seen;
  for (const std::string& dir : directories) {
    if (dir.empty()) continue;
    std::error_code ec;
    std::vector<fs::path> found;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string ext = LowerAscii(it->path().extension().string());
      std::error_code fe;
      if (ext == ".prlx" && it->is_regular_file(fe)) found.push_back(it->path());
    }
    std::sort(found.begin(), found.end());
    for (const fs::path& p : found) {
      std::error_code ce;
      fs::path canon = fs::weakly_canonical(p, ce);
      if (std::find(seen.begin(), seen.end(), canon) != seen.end()) continue;
      seen.push_back(canon);
      result.push_back(p.string());
    }
  }
  return result;
}

}  // namespace vortan
