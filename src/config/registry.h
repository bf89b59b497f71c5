#pragma once
// A registry-like tree of keys and typed values kept in one SQLite file.
//
// Key paths use '\' between names, relative to the user's hive ("Software\Ostrel\...").
// Key and value names compare without regard to ASCII case and keep the case they were
// created with. Values enumerate in creation order. Every call is its own transaction.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace vortan {

enum class TRegType : int { None = 0, Sz = 1, ExpandSz = 2, Binary = 3, Dword = 4 };

struct TRegValue {
  std::string Name;
  TRegType Type = TRegType::None;
  std::string Data;  ///< string bytes, raw binary, or 4 little-endian bytes for a DWORD
};

class TRegistry {
 public:
  TRegistry();
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  /// Opens or creates the database. Returns false with `error` set when the file is not a
  /// usable store; the caller decides what to do with it (the settings store moves it aside).
  bool Open(const std::string& path, std::string& error);
  void Close();
  bool IsOpen() const { return db_ != nullptr; }

  bool KeyExists(const std::string& path);
  /// Creates the key and any missing parent. False when the store is not open.
  bool CreateKey(const std::string& path);
  /// Deletes the key with everything below it. False when it did not exist.
  bool DeleteKeyTree(const std::string& path);
  bool HasSubkeys(const std::string& path);
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

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace vortan
