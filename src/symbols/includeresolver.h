#pragma once
// Finds the file an INCLUDE line names and follows INCLUDE lines from file to file without
// going round a loop.

#include <functional>
#include <string>
#include <vector>

namespace vortan {

class TIncludeResolver {
 public:
  explicit TIncludeResolver(std::vector<std::string> folders = {}) : folders_(std::move(folders)) {}

  /// The file `name` stands for when `includer` includes it: beside the includer first, then
  /// in the include folders in order. Empty when none exists.
  std::string Resolve(const std::string& includer, const std::string& name) const;

  /// The INCLUDE names written in one file.
  using TIncludesOf = std::function<std::vector<std::string>(const std::string& file)>;

  /// Every file `file` includes, directly or through others, each once, in the order first
  /// met. A loop is cut where it closes and described in `loops` ("a.f -> b.inc -> a.f").
  std::vector<std::string> Closure(const std::string& file, const TIncludesOf& includesOf,
                                   std::vector<std::string>* loops = nullptr) const;

 private:
  std::vector<std::string> folders_;
};

}  // namespace vortan
