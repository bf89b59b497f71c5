#pragma once
// The reopen history: full file names, most recent first, at most ten.

#include <functional>
#include <string>
#include <vector>

namespace vortan {

class THistoryList {
 public:
  static constexpr std::size_t MaxEntries = 10;
  using TSameFile = std::function<bool(const std::string&, const std::string&)>;
  using TExists = std::function<bool(const std::string&)>;

  THistoryList(TSameFile sameFile, TExists exists);

  /// A missing file is ignored. A file already listed (same file) moves to the top, or to
  /// position 1 when not `onTop`, keeping the name it was stored with; a new one is inserted
  /// there and the list is cut to ten entries. Returns true when the list changed.
  bool Add(const std::string& fileName, bool onTop);
  /// Drops every entry whose file no longer exists; true when something was dropped.
  bool DropMissing();
  void Clear() { items_.clear(); }
  void Assign(std::vector<std::string> items);

  const std::vector<std::string>& Items() const { return items_; }
  bool Empty() const { return items_.empty(); }

 private:
  TSameFile sameFile_;
  TExists exists_;
  std::vector<std::string> items_;
};

}  // namespace vortan
