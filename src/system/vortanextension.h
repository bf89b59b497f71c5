#pragma once
// Where the tools, manuals, help files and the translation tool are.

#include <array>
#include <mutex>
#include <string>

#include "config/settingids.h"
#include "config/settingsstore.h"

namespace vortan {

class TVortanPath;

/// Resolves the file settings 33..41 the way TVortanPath resolves directories, testing for
/// existing files. Defaults are built from the directories of `paths`.
class TVortanExtension {
 public:
  explicit TVortanExtension(TVortanPath& paths, TSettingsStore& store = Store());
  ~TVortanExtension();
  TVortanExtension(const TVortanExtension&) = delete;
  TVortanExtension& operator=(const TVortanExtension&) = delete;

  /// Full file name for setting id 33..41, or empty when the file does not exist.
  std::string GetExtension(int id);
  /// Forgets every slot and empties the stored values, so the next lookup uses the default.
  void ClearExtensions();

 private:
  static constexpr int FirstId = sidAnalyzerExtension;
  static constexpr int LastId = sidParlaxExtension;

  std::string Resolve(int id);
  std::string Default(int id);
  std::string ParlaxDefault();
  std::string& Slot(int id) { return slots_[id - FirstId]; }

  TVortanPath& paths_;
  TSettingsStore& store_;
  std::array<std::string, LastId - FirstId + 1> slots_;
  std::mutex mutex_;
};

/// The process-wide instance, owned by the start-up code; null before it is set.
TVortanExtension* VortanExtension();
/// The tool or file of an extension id through the installed resolver; empty without one.
std::string ExtensionOf(int id);
void SetVortanExtension(TVortanExtension* extensions);

}  // namespace vortan
