#pragma once
// A registry-like tree of keys and typed values kept in one SQLite file.
//
// Key paths use '\' between names, relative to the user's hive ("Software\Ostrel\...").
// Key and value names compare without regard to ASCII case and keep the case they were
// created with. Values enumerate in creation order. Every call is its own transaction.
//
// Locking: SQLite's own locks are record locks (fcntl) that belong to the whole process and
// fall when any part of it closes any descriptor of the store's files, as a file dialog
// probing the store's folder does. So every transaction, the opening checks and the closing
// checkpoint also hold an exclusive lock on a file of their own beside the store (its name +
// "-lock"), which belongs to this object alone, and a connection never checkpoints or deletes
// the write-ahead files on its own when it closes (SQLite would do so whenever it believes it
// is the last one). The IDE and vortanreg both open the store through this class.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/filelock.h"

struct sqlite3;
struct sqlite3_stmt;

namespace vortan {

enum class TRegType : int { None = 0, Sz = 1, ExpandSz = 2, Binary = 3, Dword = 4 };

struct TRegValue {
  std::string Name;
  TRegType Type = TRegType::None;
  std::string Data;  ///< string bytes, raw binary, or 4 little-endian bytes for a DWORD
};

/// Why Open failed: Unusable means the file exists but can never serve as a store (not a
/// database, damaged, foreign, unreadable); Transient means it may work later (locked,
/// out of memory or space, the directory cannot be written).
enum class TRegOpenFailure { None, Unusable, Transient };

class TRegistry {
 public:
  /// Handle of an existing key; valid only inside the transaction that obtained it.
  using TKeyId = int64_t;
  static constexpr TKeyId HiveKey = 0;

  /// Groups several calls into one transaction. Nested scopes join the outer one. The
  /// outermost scope commits when it ends, or rolls back when any statement inside failed.
  class TScopedTransaction {
   public:
    explicit TScopedTransaction(TRegistry& reg, bool write = true);
    ~TScopedTransaction();
    TScopedTransaction(const TScopedTransaction&) = delete;
    TScopedTransaction& operator=(const TScopedTransaction&) = delete;
    bool Active() const { return active_; }
    /// Ends the scope now; true when everything done in it is (or will be) committed.
    bool Finish();

   private:
    TRegistry& reg_;
    bool active_ = false;
  };

  TRegistry();
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  /// Opens or creates the database. Returns false with `error` set when the file is not a
  /// usable store; the caller decides what to do with it (the settings store moves it aside).
  /// A healthy store that the user may not write is opened read-only: the run works on a
  /// copy in memory and the file never changes.
  bool Open(const std::string& path, std::string& error);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }
  TRegOpenFailure LastOpenFailure() const { return openFailure_; }
  /// True when the open store is a copy of a file that is not to be written.
  bool IsReadOnly() const { return readOnly_; }
  /// How long a transaction waits for another program's transaction to end (default 5 s).
  void SetBusyTimeout(int ms) { busyTimeoutMs_ = ms; }

  bool KeyExists(const std::string& path);
  /// Creates the key and any missing parent. False when the store is not open.
  bool CreateKey(const std::string& path);
  /// Deletes the key with everything below it. False when it did not exist.
  bool DeleteKeyTree(const std::string& path);
  bool HasSubkeys(const std::string& path);
  /// Names of the direct subkeys in creation order.
  std::vector<std::string> SubkeyNames(const std::string& path);

  /// Type of the value, TRegType::None when it (or its key) does not exist.
  TRegType ValueType(const std::string& path, const std::string& name);
  std::optional<TRegValue> ReadValue(const std::string& path, const std::string& name);
  /// Creates the key when missing; replaces an existing value (keeping its creation order
  /// position only when the type is unchanged).
  bool WriteValue(const std::string& path, const std::string& name, TRegType type,
                  const std::string& data);
  bool WriteDword(const std::string& path, const std::string& name, uint32_t v);
  bool WriteString(const std::string& path, const std::string& name, const std::string& v,
                   TRegType type = TRegType::Sz);
  bool DeleteValue(const std::string& path, const std::string& name);
  /// Values of the key in creation order.
  std::vector<TRegValue> Values(const std::string& path);

  // Key-handle operations, for callers that do several steps inside one TScopedTransaction.
  std::optional<TKeyId> OpenKey(const std::string& path, bool create);
  std::optional<TRegValue> ReadValue(TKeyId key, const std::string& name);
  bool WriteValue(TKeyId key, const std::string& name, TRegType type, const std::string& data);
  bool DeleteValue(TKeyId key, const std::string& name);
  /// Deletes every value of the key (its subkeys stay).
  bool DeleteValues(TKeyId key);
  std::vector<TRegValue> Values(TKeyId key);
  bool DeleteKeyTree(TKeyId key);

 private:
  enum Stmt {
    sFindKey,
    sInsertKey,
    sDeleteKey,
    sHasSubkeys,
    sSubkeys,
    sReadValue,
    sValueType,
    sInsertValue,
    sUpdateValue,
    sDeleteValue,
    sDeleteValues,
    sValues,
    sBegin,
    sBeginImmediate,
    sCommit,
    sRollback,
    sStmtCount
  };

  bool OpenReadOnly(const std::string& path, std::string& error);
  /// Checks, without changing anything, that the open file is a sound store of ours.
  bool Verify(const std::string& path, std::string& error);
  /// Makes the open database ready: journal, schema of a new store, statements.
  bool Prepare(const std::string& path, std::string& error);
  sqlite3_stmt* Prepared(Stmt s);
  bool Step(sqlite3_stmt* st, int& rc);
  /// The part of Open done under the lock; `readOnly` asks for a read-only open instead.
  bool OpenLocked(const std::string& path, std::string& error, bool& readOnly);
  /// Releases the transaction's lock once its statements are done.
  void EndTransaction();
  bool BeginScope(bool write);
  bool EndScope();
  std::optional<TKeyId> FindChild(TKeyId parent, const std::string& name);

  sqlite3* db_ = nullptr;
  std::array<sqlite3_stmt*, sStmtCount> stmts_{};
  platform::TFileLock lock_;
  int busyTimeoutMs_;
  int depth_ = 0;
  bool inTransaction_ = false;
  bool failed_ = false;
  bool readOnly_ = false;
  TRegOpenFailure openFailure_ = TRegOpenFailure::None;
};

/// The lock file of the store at `path`.
std::string StoreLockPath(const std::string& path);

/// Splits a key path at '\', ignoring empty parts (so leading, trailing and doubled
/// separators do no harm).
std::vector<std::string> SplitKeyPath(const std::string& path);

}  // namespace vortan
