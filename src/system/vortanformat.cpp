#include "system/vortanformat.h"

#include <atomic>

namespace vortan {

namespace {
std::atomic<TVortanFormat*> g_formats{nullptr};
}  // namespace

TVortanFormat* VortanFormat() { return g_formats.load(); }
void SetVortanFormat(TVortanFormat* formats) { g_formats.store(formats); }

TVortanFormat::TVortanFormat(TSettingsStore& store) : store_(store) {
  for (int id = FirstId; id <= LastId; ++id) slots_[id - FirstId] = store_.ReadString(id);
}

TVortanFormat::~TVortanFormat() {
  for (int id = FirstId; id <= LastId; ++id)
    if (!slots_[id - FirstId].empty()) store_.WriteString(id, slots_[id - FirstId]);
}

std::string TVortanFormat::GetFormat(int id) {
  if (id < FirstId || id > LastId) return std::string();
  std::lock_guard lock(mutex_);
  std::string& slot = slots_[id - FirstId];
  if (slot.empty()) slot = store_.ReadString(id);
  return slot;
}

std::string FormatOf(int id) {
  TVortanFormat* f = VortanFormat();
  return f ? f->GetFormat(id) : std::string();
}

}  // namespace vortan
