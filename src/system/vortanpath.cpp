#include "system/vortanpath.h"

#include <atomic>

#include "config/settingids.h"

namespace vortan {

namespace {

std::atomic<TVortanPath*> g_paths{nullptr};

std::string SubDir(const char* name) { return std::string(name) + platform::PathSeparator; }

}  // namespace

TVortanPath* VortanPath() { return g_paths.load(); }
void SetVortanPath(TVortanPath* paths) { g_paths.store(paths); }

TVortanPath::TVortanPath(TSettingsStore& store, std::string installDir)
    : store_(store), installDir_(std::move(installDir)) {
  for (int id = FirstId; id <= LastId; ++id) Slot(id) = store_.ReadString(id);
}

TVortanPath::~TVortanPath() {
  for (int id = FirstId; id <= LastId; ++id) store_.WriteString(id, Slot(id));
}

std::string TVortanPath::GetPath(int id) {
  if (id < FirstId || id > LastId) return std::string();
  std::lock_guard lock(mutex_);
  return Resolve(id);
}

void TVortanPath::ClearPaths() {
  std::lock_guard lock(mutex_);
  for (int id = FirstId; id <= LastId; ++id) {
    Slot(id).clear();
    store_.WriteString(id, std::string());
  }
}

std::string TVortanPath::Resolve(int id) {
  std::string& slot = Slot(id);
  if (!slot.empty() && platform::DirectoryExists(slot)) return slot;
  slot = store_.ReadString(id);
  if (!slot.empty() && platform::DirectoryExists(slot)) return slot;
  slot = Default(id);
  if (!platform::DirectoryExists(slot)) slot.clear();
  return slot;
}

std::string TVortanPath::Default(int id) {
  // Subdirectories of a missing installation directory stay empty rather than becoming
  // names relative to whatever the current directory happens to be.
  auto below = [this](const char* name) {
    std::string install = Resolve(sidInstallPath);
    return install.empty() ? std::string() : install + SubDir(name);
  };
  switch (id) {
    case sidInstallPath:
      return platform::IncludeTrailingSeparator(installDir_);
    case sidLanguagePath:
      return below("Lang");
    case sidBinPath:
      return below("Bin");
    case sidLibPath:
      return below("Lib");
    case sidTempPath: {
      std::string dir;
      for (const char* variable : platform::TempVariables) {
        std::string value = platform::GetEnv(variable);
        if (!value.empty() && platform::DirectoryExists(value)) {
          dir = value;
          break;
        }
      }
      if (dir.empty()) dir = below("Tmp");
      return platform::IncludeTrailingSeparator(platform::AbsolutePath(dir));
    }
    case sidDocPath:
      return below("Doc");
    case sidStartMenuPath:
      return platform::IncludeTrailingSeparator(platform::SpecialFolder(platform::FolderStartMenu));
    case sidProgramsGroupPath:
      return platform::IncludeTrailingSeparator(platform::SpecialFolder(platform::FolderPrograms));
    case sidDesktopPath:
      return platform::IncludeTrailingSeparator(platform::SpecialFolder(platform::FolderDesktop));
  }
  return std::string();
}

std::string PathOf(int id) {
  TVortanPath* p = VortanPath();
  return p ? p->GetPath(id) : std::string();
}

}  // namespace vortan
