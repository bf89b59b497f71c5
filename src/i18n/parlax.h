#pragma once
// The language engine: parses language files (*.prlx) and the built-in template into a tree
// of named blocks holding key = value pairs. Lookups never fail: a missing block comes back
// empty and GetString leaves the caller's preset text in place.

#include <istream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/text.h"

namespace vortan {

enum class TParlaxSection { Info, Objects, Strings };
enum class TParlaxKind {
  Action,
  Menu,
  Toolbar,
  Button,
  Label,
  Form,
  List,
  Tab,
  ComboBox,
  GroupBox,
  CheckBox,
  RadioButton,
  Edit
};

/// "INFO", "OBJECTS", "STRINGS"
const char* SectionWord(TParlaxSection s);
/// "Action:", "Menu:", ... (the prefix of block names)
const char* KindPrefix(TParlaxKind k);

/// Equality ignoring ASCII letter case, as block names and keys are compared.
/// Decimal, or hexadecimal after "$", "x" or "0x", surrounding blanks ignored; nothing when
/// the text is not such a number.
std::optional<int> ParseInteger(std::string_view s);

/// One block of the tree.
class TParlaxItem {
 public:
  TParlaxItem() = default;
  ~TParlaxItem();
  TParlaxItem(const TParlaxItem&) = delete;
  TParlaxItem& operator=(const TParlaxItem&) = delete;

  /// Frees children and values; iterative, so arbitrarily deep trees are safe.
  void Clear();
  std::size_t ChildCount() const { return children_.size(); }
  TParlaxItem& ChildAt(std::size_t index) const { return *children_.at(index).second; }
  const std::string& ChildName(std::size_t index) const { return children_.at(index).first; }
  /// Appends a new empty child under that name, also when the name exists.
  TParlaxItem& AddChild(const std::string& name);
  /// First child of that name (case-insensitive); a new empty child when there is none.
  TParlaxItem& Child(const std::string& name);
  /// Like Child but never creates: nullptr when missing.
  const TParlaxItem* FindChild(std::string_view name) const;
  TParlaxItem& Section(TParlaxSection s) { return Child(SectionWord(s)); }
  TParlaxItem& ChildOf(TParlaxKind kind, const std::string& name) {
    return Child(std::string(KindPrefix(kind)) + name);
  }

  void AddValue(std::string key, std::string text);
  std::size_t ValueCount() const { return values_.size(); }
  const std::pair<std::string, std::string>& ValueAt(std::size_t i) const { return values_.at(i); }
  /// First value with that key (case-insensitive), or nullptr.
  const std::string* FindValue(std::string_view key) const;
  /// Key of the first value matching `key` case-insensitively, as written in the file.
  const std::string* FindKeySpelling(std::string_view key) const;
  /// Sets `text` to the first value with that key; leaves it unchanged when there is none.
  bool GetString(std::string_view key, std::string& text) const;
  /// Decimal, or hexadecimal after "$", "x" or "0x"; 0 when not a number;
  /// unchanged when there is no such key.
  bool GetInteger(std::string_view key, int& value) const;

 private:
  std::vector<std::pair<std::string, std::unique_ptr<TParlaxItem>>> children_;
  std::vector<std::pair<std::string, std::string>> values_;
};

class TParlax {
 public:
  TParlax() = default;
  TParlaxItem& Root() { return root_; }
  const TParlaxItem& Root() const { return root_; }
  bool Active = false;

  /// Clears the tree and parses `text` (8-bit bytes) into it. Never fails.
  void LoadFromText(std::string_view text);
  /// Reads the stream from its current position to its end.
  void LoadFromStream(std::istream& in);
  /// Throws std::runtime_error when the file cannot be opened.
  void LoadFromFile(const std::string& fileName);
  /// Loads the built-in template.
  void LoadFromResource();

 private:
  TParlaxItem root_;
};

/// Reads only the block at `path` (names compared exactly) without building the whole tree.
/// nullptr when the block is missing or holds no value. Throws when the file cannot be read.
std::unique_ptr<TParlaxItem> ReadSection(const std::string& fileName,
                                         const std::vector<std::string>& path);
std::unique_ptr<TParlaxItem> ReadSectionFromText(std::string_view text,
                                                 const std::vector<std::string>& path);

/// The bytes of the built-in template.
std::string_view BuiltInTemplate();

/// The process-wide main engine.
TParlax& MainLanguage();

}  // namespace vortan
