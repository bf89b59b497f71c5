#pragma once
// The settings store: every persistent setting addressed by its id in the settings table.
//
// Reads never fail: a value of the wrong stored type is deleted, a missing value is created
// with the table's default, and the caller receives the stored value or the default.
// Every operation opens its key, does its work in one transaction and closes the key again.
// Every operation is serialized by a lock, so another thread may call it too.
//
// Cases the platform registry leaves open, decided here:
// - a float stored as binary of a length other than 8, or a DWORD whose data is not 4 bytes,
//   counts as the wrong type (deleted, then the default is written);
// - a value in a list key that is not a plain string counts as the wrong type and is deleted;
//   the list is read from the remaining string values;
// - when a list is missing (no string value ValueName + "0"), the key's leftover values are
//   removed before the default items are written, so the key holds exactly the default list;
// - a header/footer object that does not decode is deleted and the target is left unchanged;
// - an operation whose setting row has another type (ReadString on a Bool row, ...) does
//   nothing, as if the key could not be opened; Bool and Integer operations share rows.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vortan {

class TRegistry;
struct THeaderFooter;
enum class TRegType : int;

/// Outcome of opening the store file.
struct TStoreOpenResult {
  bool Ok = false;           ///< a usable store is open (possibly a fresh one)
  bool WasDamaged = false;   ///< the old file could not be used and was moved aside
  std::string MovedAsideTo;  ///< where the damaged file now is (empty when not moved)
  bool ReadOnly = false;     ///< the file may not be written: read, and changes are not saved
  std::string Error;         ///< what went wrong, for the message shown to the user
};

/// One store handle over a registry database. Tests create their own instances on a
/// temporary file; the program uses the process-wide one behind the free functions below.
class TSettingsStore {
 public:
  TSettingsStore();
  ~TSettingsStore();
  TSettingsStore(const TSettingsStore&) = delete;
  TSettingsStore& operator=(const TSettingsStore&) = delete;

  /// Opens (creating when missing) the database file. A file that SQLite or the header check
  /// finds damaged is renamed aside (never overwritten) and a fresh store is created in its
  /// place. A sound file the user may not write is used read-only for the run.
  TStoreOpenResult Open(const std::string& path);
  void Close();
  bool IsOpen() const;

  /// True when the program's root key exists (false means a first start).
  bool RootExists();
  /// "/r": deletes the root key with everything below it.
  void DeleteRoot();
  /// "/u": deletes the root key, then the parent keys that are left without subkeys.
  void Uninstall();
  /// Gives every setting that is missing or of the wrong type its default, all in one
  /// transaction: a program that ends abnormally afterwards never leaves a store in which
  /// some settings exist and others are missing. Nothing happens on a read-only store.
  void CreateMissingSettings();

  bool ReadBool(int id);
  void WriteBool(int id, bool value);
  int32_t ReadInteger(int id);
  void WriteInteger(int id, int32_t value);
  double ReadFloat(int id);
  void WriteFloat(int id, double value);
  void ReadString(int id, std::string& value);
  std::string ReadString(int id);
  void WriteString(int id, const std::string& value);
  void ReadList(int id, std::vector<std::string>& list);
  std::vector<std::string> ReadList(int id);
  void WriteList(int id, const std::vector<std::string>& list);

  /// Object values. `load` receives the stored bytes (or the default text's bytes);
  /// the result is the number of bytes loaded, 0 when nothing was loaded.
  int ReadObjectBytes(int id, const std::function<void(std::string_view)>& load);
  /// Stores the bytes: empty deletes the value, more than 2048 bytes writes nothing.
  void WriteObjectBytes(int id, std::string_view bytes);
  /// String-list objects: each item followed by CR LF.
  int ReadObject(int id, std::vector<std::string>& list);
  void WriteObject(int id, const std::vector<std::string>& list);
  /// Page header/footer objects (byte layout in headerfooter.h).
  int ReadObject(int id, THeaderFooter& hf);
  void WriteObject(int id, const THeaderFooter& hf);

  /// The underlying registry, for the whole-store tools (vortanreg) and tests.
  TRegistry* Registry();

  /// Grows with every write, delete, open and close through this store, so that values read
  /// earlier can be kept until it moves (changes made through Registry() do not count).
  uint64_t Revision() const { return revision_.load(std::memory_order_acquire); }

 private:
  std::optional<std::string> ReadScalar(int id, TRegType type, const std::string& def);
  void WriteScalar(int id, TRegType type, const std::string& data);
  int ReadObjectLocked(int id, const std::function<bool(std::string_view)>& load);

  void Changed() { revision_.fetch_add(1, std::memory_order_acq_rel); }

  std::unique_ptr<TRegistry> reg_;
  // Recursive: CreateMissingSettings runs the typed reads inside its own transaction.
  mutable std::recursive_mutex mutex_;
  std::atomic<uint64_t> revision_{0};
};

/// Maximum size in bytes of a stored object.
constexpr std::size_t MaxObjectSize = 2048;

/// Default location of the store file: $VORTAN_STORE, else
/// ${XDG_CONFIG_HOME:-$HOME/.config}/vortan/registry.sqlite.
std::string DefaultStorePath();

// The process-wide store, as the rest of the program uses it.
TSettingsStore& Store();
TStoreOpenResult OpenStore(const std::string& path = DefaultStorePath());
void CloseStore();
bool ReadBool(int id);
void WriteBool(int id, bool value);
int32_t ReadInteger(int id);
void WriteInteger(int id, int32_t value);
double ReadFloat(int id);
void WriteFloat(int id, double value);
void ReadString(int id, std::string& value);
std::string ReadString(int id);
void WriteString(int id, const std::string& value);
void ReadList(int id, std::vector<std::string>& list);
std::vector<std::string> ReadList(int id);
void WriteList(int id, const std::vector<std::string>& list);
int ReadObject(int id, std::vector<std::string>& list);
void WriteObject(int id, const std::vector<std::string>& list);
int ReadObject(int id, THeaderFooter& hf);
void WriteObject(int id, const THeaderFooter& hf);

}  // namespace vortan
