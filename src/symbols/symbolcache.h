#pragma once
// The symbols of files kept between sessions in one SQLite file, each row keyed by the file's
// path, size and modification time. A cache that cannot be read, is damaged or was written by
// another schema is thrown away and started anew: it is never trusted.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "symbols/filesymbols.h"

struct sqlite3;

namespace vortan {

/// What identifies one version of a file on disk.
struct TFileStamp {
  std::int64_t Size = -1;
  std::int64_t ModifiedNs = 0;
  bool operator==(const TFileStamp&) const = default;
};

class TSymbolCache {
 public:
  /// Bump whenever what the extractor reads or how a row is encoded changes.
  static constexpr int kSchemaVersion = 2;
  static constexpr const char* kFileName = "symbols.sqlite";

  TSymbolCache() = default;
  ~TSymbolCache();
  TSymbolCache(const TSymbolCache&) = delete;
  TSymbolCache& operator=(const TSymbolCache&) = delete;

  /// Opens or creates the cache in `folder` (created when missing) and reads every row. A
  /// damaged or old cache is removed and an empty one made in its place; `Discarded()` then
  /// says why. False when no cache can be kept there at all.
  bool Open(const std::string& folder);
  bool IsOpen() const { return db_ != nullptr; }
  const std::string& Discarded() const { return discarded_; }

  /// The stored symbols of `path` when its stamp is still `stamp`.
  bool Find(const std::string& path, const TFileStamp& stamp, TFileSymbols& out) const;
  /// Stores rows in one transaction.
  struct TRow {
    std::string Path;
    TFileStamp Stamp;
    const TFileSymbols* Symbols = nullptr;
  };
  bool Store(const std::vector<TRow>& rows);

  /// The encoding of one row's symbols; Decode is false for bytes it did not write.
  static std::string Encode(const TFileSymbols& symbols);
  static bool Decode(const std::string& bytes, TFileSymbols& out);

 private:
  struct TStored {
    TFileStamp Stamp;
    std::string Bytes;
  };
  bool OpenFile(const std::string& file, std::string& why);
  bool ReadAll(std::string& why);
  void Close();

  sqlite3* db_ = nullptr;
  std::map<std::string, TStored> rows_;
  std::string discarded_;
};

}  // namespace vortan
