#pragma once
// A folder of the program's own under the system's temporary folder, closed to other users,
// removed with everything in it when it goes.

#include <string>

namespace vortan::platform {

class TPrivateTempDir {
 public:
  /// Creates "<base>/vortan-<prefix>XXXXXX" with mode 0700; `base` empty means $TMPDIR or /tmp.
  explicit TPrivateTempDir(const std::string& prefix, const std::string& base = std::string());
  ~TPrivateTempDir();
  TPrivateTempDir(const TPrivateTempDir&) = delete;
  TPrivateTempDir& operator=(const TPrivateTempDir&) = delete;

  /// The folder with a trailing separator; empty when it could not be made.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace vortan::platform
