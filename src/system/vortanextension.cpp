#include "system/vortanextension.h"

#include <atomic>

#include "config/registry.h"
#include "config/settingids.h"
#include "config/settingstable.h"
#include "platform/platform.h"
#include "system/vortanpath.h"

namespace vortan {

namespace {

std::atomic<TVortanExtension*> g_extensions{nullptr};

// A file below a resolved directory; nothing when the directory was not found, so that a
// bare relative name is never tested against the current directory.
std::string InDir(const std::string& dir, const std::string& name) {
  return dir.empty() ? std::string() : dir + name;
}

std::string Manual(const char* folder, const char* file) {
  return std::string(folder) + platform::PathSeparator + file;
}

}  // namespace

TVortanExtension* VortanExtension() { return g_extensions.load(); }
void SetVortanExtension(TVortanExtension* extensions) { g_extensions.store(extensions); }

TVortanExtension::TVortanExtension(TVortanPath& paths, TSettingsStore& store)
    : paths_(paths), store_(store) {
  for (int id = FirstId; id <= LastId; ++id) Slot(id) = store_.ReadString(id);
}

TVortanExtension::~TVortanExtension() {
  for (int id = FirstId; id <= LastId; ++id) store_.WriteString(id, Slot(id));
}

std::string TVortanExtension::GetExtension(int id) {
  if (id < FirstId || id > LastId) return std::string();
  std::lock_guard lock(mutex_);
  return Resolve(id);
}

void TVortanExtension::ClearExtensions() {
  std::lock_guard lock(mutex_);
  for (int id = FirstId; id <= LastId; ++id) {
    Slot(id).clear();
    store_.WriteString(id, std::string());
  }
}

std::string TVortanExtension::Resolve(int id) {
  std::string& slot = Slot(id);
  if (!slot.empty() && platform::FileExists(slot)) return slot;
  slot = store_.ReadString(id);
  if (!slot.empty() && platform::FileExists(slot)) return slot;
  slot = Default(id);
  if (!platform::FileExists(slot)) slot.clear();
  return slot;
}

std::string TVortanExtension::Default(int id) {
  switch (id) {
    case sidAnalyzerExtension:
      return InDir(paths_.GetPath(sidBinPath), platform::AnalyzerFileName);
    case sidCompilerExtension:
      return InDir(paths_.GetPath(sidBinPath), platform::CompilerFileName);
    case sidDebuggerExtension:
      return InDir(paths_.GetPath(sidBinPath), platform::DebuggerFileName);
    case sidFtnchekManualExtension:
      return InDir(paths_.GetPath(sidDocPath), Manual("Ftnchek", "index.html"));
    case sidG77ManualExtension:
      return InDir(paths_.GetPath(sidDocPath), Manual("G77", "g77.html"));
    case sidGDBManualExtension:
      return InDir(paths_.GetPath(sidDocPath), Manual("GDB", "gdb.html"));
    case sidHelpExtension:
      return InDir(paths_.GetPath(sidInstallPath), platform::HelpFileName);
    case sidTutorialExtension:
      return InDir(paths_.GetPath(sidInstallPath), platform::TutorialFileName);
    case sidParlaxExtension:
      return ParlaxDefault();
  }
  return std::string();
}

std::string TVortanExtension::ParlaxDefault() {
  std::string beside = InDir(paths_.GetPath(sidInstallPath), platform::ParlaxFileName);
  if (platform::FileExists(beside)) return beside;
  // The companion tool records its own installation directory under its key.
  TRegistry* reg = store_.Registry();
  if (!reg || !reg->IsOpen()) return beside;
  auto value = reg->ReadValue(ParlaxKeyPath, "InstallPath");
  if (!value || value->Type != TRegType::Sz || value->Data.empty()) return beside;
  return platform::IncludeTrailingSeparator(value->Data) + platform::ParlaxFileName;
}

std::string ExtensionOf(int id) {
  TVortanExtension* e = VortanExtension();
  return e ? e->GetExtension(id) : std::string();
}

}  // namespace vortan
