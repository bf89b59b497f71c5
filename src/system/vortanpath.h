#pragma once
// Where the installation's directories and the user's shell folders are.

#include <array>
#include <mutex>
#include <string>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "platform/platform.h"

namespace vortan {

/// Resolves the directory settings 42..50. A stored directory that still exists wins; else
/// the default next to the installation (or the shell folder) is used; an empty result means
/// the directory does not exist. What was found is written back to the settings on
/// destruction. Lookups may come from several threads.
class TVortanPath {
 public:
  explicit TVortanPath(TSettingsStore& store = Store(),
                       std::string installDir = platform::ExecutableDir());
  ~TVortanPath();
  TVortanPath(const TVortanPath&) = delete;
  TVortanPath& operator=(const TVortanPath&) = delete;

  /// Directory for setting id 42..50, with a trailing separator, or empty.
  std::string GetPath(int id);
  /// Forgets every slot and empties the stored values, so the next lookup uses the default.
  void ClearPaths();

 private:
  static constexpr int FirstId = sidInstallPath;
  static constexpr int LastId = sidDesktopPath;

  std::string Resolve(int id);
  std::string Default(int id);
  std::string& Slot(int id) { return slots_[id - FirstId]; }

  TSettingsStore& store_;
  std::string installDir_;
  std::array<std::string, LastId - FirstId + 1> slots_;
  std::mutex mutex_;
};

/// The process-wide instance, owned by the start-up code; null before it is set.
TVortanPath* VortanPath();
/// A folder of the installation through the installed resolver; empty without one.
std::string PathOf(int id);
void SetVortanPath(TVortanPath* paths);

}  // namespace vortan
