#include "platform/privatetempdir.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/platform.h"

namespace vortan::platform {

TPrivateTempDir::TPrivateTempDir(const std::string& prefix, const std::string& base) {
  std::string root = base.empty() ? GetEnv("TMPDIR") : base;
  if (root.empty() || !DirectoryExists(root)) root = "/tmp";
  std::string pattern = IncludeTrailingSeparator(root) + "vortan-" + prefix + "XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  // mkdtemp makes the folder with mode 0700 under a name no one could have planted.
  if (::mkdtemp(name.data()) != nullptr) path_ = IncludeTrailingSeparator(name.data());
}

TPrivateTempDir::~TPrivateTempDir() {
  if (path_.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace vortan::platform
