#include "jobs/environment.h"

#include <unistd.h>

#include "platform/platformprofile.h"

namespace vortan {

std::string TEnvironment::Key(std::string_view name) {
  std::string key(name);
  for (char& c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return key;
}

void TEnvironment::Add(const std::string& entry) {
  const std::size_t eq = entry.find('=');
  // A NUL would end the entry early in the block, so such an entry cannot be handed on.
  if (eq == std::string::npos || eq == 0 || entry.find('\0') != std::string::npos) return;
  const std::string key = Key(std::string_view(entry).substr(0, eq));
  const auto found = index_.find(key);
  if (found != index_.end()) {
    entries_[found->second] = entry;
  } else {
    index_.emplace(key, entries_.size());
    entries_.push_back(entry);
  }
  Changed();
}

void TEnvironment::LoadCurrent() {
  BeginUpdate();
  for (char** env = environ; env && *env; ++env) Add(*env);
  EndUpdate();
}

void TEnvironment::LoadForCompiler(const std::string& binDir, const std::string& libDir) {
  BeginUpdate();
  LoadCurrent();
  SetCompilerPaths(binDir, libDir);
  EndUpdate();
}

void TEnvironment::SetCompilerPaths(const std::string& binDir, const std::string& libDir) {
  // An empty folder is no folder: prepending it would leave a leading separator (the current
  // directory in PATH), and setting LIBRARY_PATH to it would wipe the user's own value.
  BeginUpdate();
  if (!binDir.empty()) {
    const std::string old = GetValue("PATH");
    SetValue("PATH", old.empty() ? binDir : binDir + platform::PathListSeparator + old);
  }
  if (!libDir.empty()) SetValue("LIBRARY_PATH", libDir);
  EndUpdate();
}

void TEnvironment::SetEnglishMessages() {
  BeginUpdate();
  const int all = IndexOfName("LC_ALL");
  if (all >= 0) {
    const std::string value = GetValue("LC_ALL");
    Delete(static_cast<std::size_t>(all));
    if (!value.empty()) {
      static constexpr const char* kCategories[] = {
          "LC_CTYPE",     "LC_NUMERIC",     "LC_TIME",          "LC_COLLATE",
          "LC_MONETARY",  "LC_PAPER",       "LC_NAME",          "LC_ADDRESS",
          "LC_TELEPHONE", "LC_MEASUREMENT", "LC_IDENTIFICATION"};
      for (const char* category : kCategories) SetValue(category, value);
    }
  }
  SetValue("LC_MESSAGES", "C");
  EndUpdate();
}

std::string TEnvironment::GetValue(std::string_view name) const {
  const int i = IndexOfName(name);
  if (i < 0) return std::string();
  const std::string& entry = entries_[static_cast<std::size_t>(i)];
  return entry.substr(entry.find('=') + 1);
}

void TEnvironment::SetValue(const std::string& name, const std::string& value) {
  Add(name + "=" + value);
}

int TEnvironment::IndexOfName(std::string_view name) const {
  const auto found = index_.find(Key(name));
  return found == index_.end() ? -1 : static_cast<int>(found->second);
}

void TEnvironment::Delete(std::size_t index) {
  if (index >= entries_.size()) return;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
  Reindex();
  Changed();
}

void TEnvironment::Clear() {
  entries_.clear();
  index_.clear();
  Changed();
}

void TEnvironment::BeginUpdate() { ++updates_; }

void TEnvironment::EndUpdate() {
  if (updates_ == 0) return;
  if (--updates_ == 0) Rebuild();
}

std::vector<char*> TEnvironment::Envp() {
  std::vector<char*> envp;
  if (!built_) return envp;
  envp.reserve(entries_.size() + 1);
  for (std::size_t at = 0; block_[at] != '\0'; ++at) {
    envp.push_back(&block_[at]);
    while (block_[at] != '\0') ++at;
  }
  envp.push_back(nullptr);
  return envp;
}

void TEnvironment::Changed() {
  if (updates_ == 0) Rebuild();
}

void TEnvironment::Rebuild() {
  std::size_t size = 1;
  for (const std::string& e : entries_) size += e.size() + 1;
  block_.clear();
  block_.reserve(size);
  for (const std::string& e : entries_) {
    block_.insert(block_.end(), e.begin(), e.end());
    block_.push_back('\0');
  }
  block_.push_back('\0');
  built_ = true;
}

void TEnvironment::Reindex() {
  index_.clear();
  for (std::size_t i = 0; i < entries_.size(); ++i)
    index_.emplace(Key(std::string_view(entries_[i]).substr(0, entries_[i].find('='))), i);
}

}  // namespace vortan
