#include "config/settingsstore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>

#include "config/headerfooter.h"
#include "config/registry.h"
#include "config/settingstable.h"
#include "platform/platform.h"

namespace vortan {

namespace {

using TKeyId = TRegistry::TKeyId;
using TTransaction = TRegistry::TScopedTransaction;

const TSettingRow* RowOf(int id, TSettingType type) {
  if (id < 0 || id >= SettingsCount) return nullptr;
  const TSettingRow& row = SettingsTable[static_cast<size_t>(id)];
  bool fits =
      row.Type == type || ((type == TSettingType::Bool || type == TSettingType::Integer) &&
                           (row.Type == TSettingType::Bool || row.Type == TSettingType::Integer));
  return fits ? &row : nullptr;
}

std::string EncodeLE(uint64_t v, size_t bytes) {
  std::string s(bytes, '\0');
  for (size_t i = 0; i < bytes; ++i) s[i] = static_cast<char>((v >> (8 * i)) & 0xff);
  return s;
}

uint64_t DecodeLE(const std::string& s) {
  uint64_t v = 0;
  for (size_t i = s.size(); i-- > 0;) v = (v << 8) | static_cast<unsigned char>(s[i]);
  return v;
}

std::string EncodeDword(int32_t v) { return EncodeLE(static_cast<uint32_t>(v), 4); }
int32_t DecodeDword(const std::string& s) { return static_cast<int32_t>(DecodeLE(s)); }
std::string EncodeDouble(double v) { return EncodeLE(std::bit_cast<uint64_t>(v), 8); }
double DecodeDouble(const std::string& s) { return std::bit_cast<double>(DecodeLE(s)); }

// Only data of the right length can be read back as the type's number.
bool WellFormed(TRegType type, const std::string& data) {
  if (type == TRegType::Dword) return data.size() == 4;
  if (type == TRegType::Binary) return data.size() == 8;
  return true;
}

// Lines as a multi-line text holds them: CR LF, CR or LF ends a line; a break at the very end
// adds no empty item.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t i = 0;
  while (i < text.size()) {
    size_t end = text.find_first_of("\r\n", i);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(i));
      break;
    }
    lines.emplace_back(text.substr(i, end - i));
    i = end + 1;
    if (text[end] == '\r' && i < text.size() && text[i] == '\n') ++i;
  }
  return lines;
}

bool SameNameNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x + 32);
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y + 32);
    if (x != y) return false;
  }
  return true;
}

void WriteListItems(TRegistry& reg, TKeyId key, const std::string& prefix,
                    const std::vector<std::string>& items) {
  for (size_t i = 0; i < items.size(); ++i)
    reg.WriteValue(key, prefix + std::to_string(i), TRegType::Sz, items[i]);
}

std::string Timestamp() {
  std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  char buf[32];
  std::strftime(buf, sizeof buf, "%Y%m%d-%H%M%S", &tm);
  return buf;
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// Renames without ever replacing an existing target.
bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without RENAME_NOREPLACE: a hard link fails on an existing target.
  if (::link(from.c_str(), to.c_str()) == 0) return ::unlink(from.c_str()) == 0;
  if (Exists(to)) return false;
  return std::rename(from.c_str(), to.c_str()) == 0;
}

// Moves the store file and its journal files aside; returns the new name of the store file,
// or an empty string (with `error` set) when it could not be moved.
std::string MoveAside(const std::string& path, std::string& error) {
  const std::string base = path + ".damaged-" + Timestamp();
  std::string target;
  for (int n = 0; n < 1000 && target.empty(); ++n) {
    std::string candidate = n == 0 ? base : base + "-" + std::to_string(n);
    // The journal names must be free too, or a stale journal would land on another one.
    if (Exists(candidate) || Exists(candidate + "-wal") || Exists(candidate + "-shm")) continue;
    if (RenameNoReplace(path, candidate)) {
      target = candidate;
    } else if (errno != EEXIST) {
      error = "cannot move " + path + " aside: " + std::strerror(errno);
      return std::string();
    }
  }
  if (target.empty()) {
    error = "cannot move " + path + " aside: no free name";
    return std::string();
  }
  for (const char* suffix : {"-wal", "-shm"}) {
    std::string journal = path + suffix;
    if (Exists(journal) && !RenameNoReplace(journal, target + suffix)) {
      error = "cannot move " + journal + " aside: " + std::strerror(errno);
      return std::string();
    }
  }
  return target;
}

}  // namespace

TSettingsStore::TSettingsStore() : reg_(std::make_unique<TRegistry>()) {}

TSettingsStore::~TSettingsStore() = default;

TStoreOpenResult TSettingsStore::Open(const std::string& path) {
  std::lock_guard lock(mutex_);
  Changed();
  reg_->Close();
  TStoreOpenResult result;
  std::filesystem::path parent = std::filesystem::path(path).parent_path();
  std::error_code ec;
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);

  std::string error;
  if (reg_->Open(path, error)) {
    result.Ok = true;
    result.ReadOnly = reg_->IsReadOnly();
    return result;
  }
  result.Error = error;
  // A locked or temporarily unwritable store is left alone: moving it would lose settings
  // that are fine.
  if (reg_->LastOpenFailure() != TRegOpenFailure::Unusable || !Exists(path)) return result;

  std::string moveError;
  std::string aside = MoveAside(path, moveError);
  if (aside.empty()) {
    result.Error += "; " + moveError;
    return result;
  }
  result.WasDamaged = true;
  result.MovedAsideTo = aside;
  if (reg_->Open(path, error))
    result.Ok = true;
  else
    result.Error += "; " + error;
  return result;
}

void TSettingsStore::Close() {
  std::lock_guard lock(mutex_);
  Changed();
  reg_->Close();
}

bool TSettingsStore::IsOpen() const {
  std::lock_guard lock(mutex_);
  return reg_->IsOpen();
}

bool TSettingsStore::RootExists() {
  std::lock_guard lock(mutex_);
  return reg_->KeyExists(RootPath);
}

void TSettingsStore::DeleteRoot() {
  std::lock_guard lock(mutex_);
  Changed();
  reg_->DeleteKeyTree(RootPath);
}

void TSettingsStore::Uninstall() {
  std::lock_guard lock(mutex_);
  Changed();
  TTransaction tx(*reg_);
  if (!tx.Active()) return;
  reg_->DeleteKeyTree(RootPath);
  // Another version's subkey keeps its parents.
  for (const char* parent : {"Software\\Ostrel\\Vortan", "Software\\Ostrel"}) {
    auto key = reg_->OpenKey(parent, false);
    if (!key || reg_->HasSubkeys(parent)) break;
    reg_->DeleteKeyTree(*key);
  }
}

void TSettingsStore::CreateMissingSettings() {
  std::lock_guard lock(mutex_);
  if (!reg_->IsOpen() || reg_->IsReadOnly()) return;
  TTransaction tx(*reg_);
  if (!tx.Active()) return;
  for (int id = 0; id < SettingsCount; ++id) {
    // Each typed read writes the default of a missing or wrongly typed value.
    switch (SettingsTable[static_cast<size_t>(id)].Type) {
      case TSettingType::Bool:
        ReadBool(id);
        break;
      case TSettingType::Integer:
        ReadInteger(id);
        break;
      case TSettingType::Float:
        ReadFloat(id);
        break;
      case TSettingType::String:
        ReadString(id);
        break;
      case TSettingType::List:
        ReadList(id);
        break;
      case TSettingType::Object:
        ReadObjectBytes(id, [](std::string_view) {});
        break;
    }
  }
}

// --- scalars ---------------------------------------------------------------------------

std::optional<std::string> TSettingsStore::ReadScalar(int id, TRegType type,
                                                      const std::string& def) {
  const TSettingRow& row = SettingsTable[static_cast<size_t>(id)];
  TTransaction tx(*reg_);
  if (!tx.Active()) return std::nullopt;
  auto key = reg_->OpenKey(SettingKeyPath(id), true);
  if (!key) return std::nullopt;
  if (auto v = reg_->ReadValue(*key, row.ValueName)) {
    if (v->Type == type && WellFormed(type, v->Data)) return std::move(v->Data);
    reg_->DeleteValue(*key, row.ValueName);
  }
  reg_->WriteValue(*key, row.ValueName, type, def);
  return def;
}

void TSettingsStore::WriteScalar(int id, TRegType type, const std::string& data) {
  const TSettingRow& row = SettingsTable[static_cast<size_t>(id)];
  Changed();
  TTransaction tx(*reg_);
  if (!tx.Active()) return;
  auto key = reg_->OpenKey(SettingKeyPath(id), true);
  // A value of another type is replaced (deleted, then written anew).
  if (key) reg_->WriteValue(*key, row.ValueName, type, data);
}

bool TSettingsStore::ReadBool(int id) { return ReadInteger(id) != 0; }

void TSettingsStore::WriteBool(int id, bool value) { WriteInteger(id, value ? 1 : 0); }

int32_t TSettingsStore::ReadInteger(int id) {
  std::lock_guard lock(mutex_);
  const TSettingRow* row = RowOf(id, TSettingType::Integer);
  if (!row) return 0;
  auto data = ReadScalar(id, TRegType::Dword, EncodeDword(row->DefaultInt));
  return data ? DecodeDword(*data) : 0;
}

void TSettingsStore::WriteInteger(int id, int32_t value) {
  std::lock_guard lock(mutex_);
  if (RowOf(id, TSettingType::Integer)) WriteScalar(id, TRegType::Dword, EncodeDword(value));
}

double TSettingsStore::ReadFloat(int id) {
  std::lock_guard lock(mutex_);
  const TSettingRow* row = RowOf(id, TSettingType::Float);
  if (!row) return 0.0;
  auto data = ReadScalar(id, TRegType::Binary, EncodeDouble(row->DefaultFloat));
  return data ? DecodeDouble(*data) : 0.0;
}

void TSettingsStore::WriteFloat(int id, double value) {
  std::lock_guard lock(mutex_);
  if (RowOf(id, TSettingType::Float)) WriteScalar(id, TRegType::Binary, EncodeDouble(value));
}

void TSettingsStore::ReadString(int id, std::string& value) {
  std::lock_guard lock(mutex_);
  const TSettingRow* row = RowOf(id, TSettingType::String);
  if (!row) return;
  if (auto data = ReadScalar(id, TRegType::Sz, row->DefaultText)) value = std::move(*data);
}

std::string TSettingsStore::ReadString(int id) {
  std::string value;
  ReadString(id, value);
  return value;
}

void TSettingsStore::WriteString(int id, const std::string& value) {
  std::lock_guard lock(mutex_);
  if (RowOf(id, TSettingType::String)) WriteScalar(id, TRegType::Sz, value);
}

// --- lists -----------------------------------------------------------------------------

void TSettingsStore::ReadList(int id, std::vector<std::string>& list) {
  std::lock_guard lock(mutex_);
  const TSettingRow* row = RowOf(id, TSettingType::List);
  if (!row) return;
  TTransaction tx(*reg_);
  if (!tx.Active()) return;
  auto key = reg_->OpenKey(SettingKeyPath(id), true);
  if (!key) return;
  const std::string prefix = row->ValueName;
  const std::string first = prefix + "0";
  std::vector<std::string> items;
  bool present = false;
  for (TRegValue& v : reg_->Values(*key)) {
    if (v.Type != TRegType::Sz) {
      reg_->DeleteValue(*key, v.Name);
      continue;
    }
    present = present || SameNameNoCase(v.Name, first);
    items.push_back(std::move(v.Data));
  }
  if (present) {
    list = std::move(items);
    return;
  }
  // Leftovers of a broken list would otherwise sit between the default items and spoil
  // their order, so the key starts empty.
  list = SplitLines(row->DefaultText);
  reg_->DeleteValues(*key);
  WriteListItems(*reg_, *key, prefix, list);
}

std::vector<std::string> TSettingsStore::ReadList(int id) {
  std::vector<std::string> list;
  ReadList(id, list);
  return list;
}

void TSettingsStore::WriteList(int id, const std::vector<std::string>& list) {
  std::lock_guard lock(mutex_);
  const TSettingRow* row = RowOf(id, TSettingType::List);
  if (!row) return;
  Changed();
  TTransaction tx(*reg_);
  if (!tx.Active()) return;
  const std::string path = SettingKeyPath(id);
  reg_->DeleteKeyTree(path);
  if (auto key = reg_->OpenKey(path, true)) WriteListItems(*reg_, *key, row->ValueName, list);
}

// --- objects ---------------------------------------------------------------------------

int TSettingsStore::ReadObjectLocked(int id, const std::function<bool(std::string_view)>& load) {
  const TSettingRow* row = RowOf(id, TSettingType::Object);
  if (!row) return 0;
  TTransaction tx(*reg_);
  if (!tx.Active()) return 0;
  auto key = reg_->OpenKey(SettingKeyPath(id), true);
  if (!key) return 0;
  auto v = reg_->ReadValue(*key, row->ValueName);
  if (v && v->Type != TRegType::Binary) {
    reg_->DeleteValue(*key, row->ValueName);
    v.reset();
  }
  if (v) {
    if (v->Data.empty()) return 0;
    if (load(v->Data)) return static_cast<int>(v->Data.size());
    // Bytes that do not decode are as useless as a value of the wrong type.
    reg_->DeleteValue(*key, row->ValueName);
  }
  const std::string def = row->DefaultText;
  if (def.empty()) return 0;
  reg_->WriteValue(*key, row->ValueName, TRegType::Binary, def);
  load(def);
  return static_cast<int>(def.size());
}

int TSettingsStore::ReadObjectBytes(int id, const std::function<void(std::string_view)>& load) {
  std::lock_guard lock(mutex_);
  return ReadObjectLocked(id, [&](std::string_view bytes) {
    load(bytes);
    return true;
  });
}

void TSettingsStore::WriteObjectBytes(int id, std::string_view bytes) {
  std::lock_guard lock(mutex_);
  const TSettingRow* row = RowOf(id, TSettingType::Object);
  if (!row) return;
  Changed();
  TTransaction tx(*reg_);
  if (!tx.Active()) return;
  auto key = reg_->OpenKey(SettingKeyPath(id), true);
  if (!key) return;
  auto v = reg_->ReadValue(*key, row->ValueName);
  if (v && v->Type != TRegType::Binary) reg_->DeleteValue(*key, row->ValueName);
  if (bytes.empty())
    reg_->DeleteValue(*key, row->ValueName);
  else if (bytes.size() <= MaxObjectSize)
    reg_->WriteValue(*key, row->ValueName, TRegType::Binary, std::string(bytes));
}

int TSettingsStore::ReadObject(int id, std::vector<std::string>& list) {
  std::lock_guard lock(mutex_);
  return ReadObjectLocked(id, [&](std::string_view bytes) {
    list = SplitLines(bytes);
    return true;
  });
}

void TSettingsStore::WriteObject(int id, const std::vector<std::string>& list) {
  std::string bytes;
  for (const std::string& item : list) {
    bytes += item;
    bytes += "\r\n";
  }
  WriteObjectBytes(id, bytes);
}

int TSettingsStore::ReadObject(int id, THeaderFooter& hf) {
  std::lock_guard lock(mutex_);
  return ReadObjectLocked(id, [&](std::string_view bytes) {
    THeaderFooter decoded;
    if (!DecodeHeaderFooter(bytes, decoded)) return false;
    hf = std::move(decoded);
    return true;
  });
}

void TSettingsStore::WriteObject(int id, const THeaderFooter& hf) {
  WriteObjectBytes(id, EncodeHeaderFooter(hf));
}

TRegistry* TSettingsStore::Registry() { return reg_.get(); }

// --- the process-wide store ------------------------------------------------------------

std::string DefaultStorePath() {
  if (const char* p = std::getenv("VORTAN_STORE"); p && *p) return p;
  // Relative values are invalid by the XDG rules and ignored.
  const char* x = std::getenv("XDG_CONFIG_HOME");
  const std::string config = x && *x == '/' ? std::string(x) : platform::HomeDir() + "/.config";
  return config + "/vortan/registry.sqlite";
}

TSettingsStore& Store() {
  static TSettingsStore store;
  return store;
}

TStoreOpenResult OpenStore(const std::string& path) { return Store().Open(path); }
void CloseStore() { Store().Close(); }
bool ReadBool(int id) { return Store().ReadBool(id); }
void WriteBool(int id, bool value) { Store().WriteBool(id, value); }
int32_t ReadInteger(int id) { return Store().ReadInteger(id); }
void WriteInteger(int id, int32_t value) { Store().WriteInteger(id, value); }
double ReadFloat(int id) { return Store().ReadFloat(id); }
void WriteFloat(int id, double value) { Store().WriteFloat(id, value); }
void ReadString(int id, std::string& value) { Store().ReadString(id, value); }
std::string ReadString(int id) { return Store().ReadString(id); }
void WriteString(int id, const std::string& value) { Store().WriteString(id, value); }
void ReadList(int id, std::vector<std::string>& list) { Store().ReadList(id, list); }
std::vector<std::string> ReadList(int id) { return Store().ReadList(id); }
void WriteList(int id, const std::vector<std::string>& list) { Store().WriteList(id, list); }
int ReadObject(int id, std::vector<std::string>& list) { return Store().ReadObject(id, list); }
void WriteObject(int id, const std::vector<std::string>& list) { Store().WriteObject(id, list); }
int ReadObject(int id, THeaderFooter& hf) { return Store().ReadObject(id, hf); }
void WriteObject(int id, const THeaderFooter& hf) { Store().WriteObject(id, hf); }

}  // namespace vortan
