#include "i18n/parlax.h"

#include <climits>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

namespace vortan {

extern const char BuiltInTemplateData[];
extern const std::size_t BuiltInTemplateSize;

namespace {

char LowerByte(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Inside quotes every quote byte comes in pairs, each pair standing for one quote.
std::string Unquote(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    out.push_back(s[i]);
    if (s[i] == '"') ++i;
  }
  return out;
}

// The single scan shared by the tree builder and the section reader. The sink receives
// Open(name), Close() and Value(key, text) in file order and can end the scan early
// through Done(). Runs in one pass with no recursion, whatever the input.
template <class Sink>
void Scan(std::string_view text, Sink& sink) {
  const std::size_t n = text.size();
  std::size_t segStart = 0;
  bool inValue = false;
  std::string key;
  bool inQuotes = false;
  std::size_t depth = 0;
  std::size_t lineStart = 0;
  std::vector<std::string> lines;

  auto finishValue = [&]() {
    std::string joined;
    for (std::size_t k = 0; k < lines.size(); ++k) {
      if (k > 0) joined += "\r\n";
      joined += lines[k];
    }
    sink.Value(key, std::move(joined));
    inValue = false;
  };
  auto segment = [&](std::size_t from, std::size_t to) { return text.substr(from, to - from); };

  for (std::size_t i = 0; i < n; ++i) {
    const char c = text[i];
    if (c == '\0') return;

    if (!inValue) {
      if (c == '{') {
        sink.Open(std::string(Trim(segment(segStart, i))));
        segStart = i + 1;
      } else if (c == '}') {
        sink.Close();
        segStart = i + 1;
      } else if (c == '=') {
        key.assign(Trim(segment(segStart, i)));
        inValue = true;
        inQuotes = false;
        depth = 0;
        lines.clear();
        lineStart = i + 1;
      }
      if (sink.Done()) return;
      continue;
    }

    if (c == '\r' || c == '\n') {
      if (depth == 0) {
        std::string_view seg = Trim(segment(lineStart, i));
        lines.push_back(inQuotes ? Unquote(seg) : std::string(seg));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        finishValue();
        segStart = i + 1;
        if (sink.Done()) return;
      } else {
        lineStart = i + 1;
      }
      continue;
    }

    if (inQuotes) {
      if (c == '"') {
        if (i + 1 < n && text[i + 1] == '"') {
          ++i;
          continue;
        }
        lines.push_back(Unquote(segment(lineStart, i)));
        inQuotes = false;
        if (depth == 0) {
          finishValue();
          segStart = i + 1;
          if (sink.Done()) return;
        }
      }
      continue;
    }

    if (c == '"') {
      inQuotes = true;
      lineStart = i + 1;
    } else if (c == '{') {
      ++depth;
      lineStart = i + 1;
    } else if (c == '}') {
      if (depth == 0) {
        lines.emplace_back(Trim(segment(lineStart, i)));
        finishValue();
        sink.Close();
        segStart = i + 1;
        if (sink.Done()) return;
      } else if (depth == 1) {
        finishValue();
        segStart = i + 1;
        if (sink.Done()) return;
      } else {
        --depth;
      }
    }
  }
  // A value still open here is dropped; open blocks simply stay as built.
}

class TTreeSink {
 public:
  explicit TTreeSink(TParlaxItem& root) { stack_.push_back(&root); }
  void Open(const std::string& name) { stack_.push_back(&stack_.back()->AddChild(name)); }
  void Close() {
    if (stack_.size() > 1) stack_.pop_back();  // a stray brace never pops the root
  }
  void Value(const std::string& key, std::string text) {
    stack_.back()->AddValue(key, std::move(text));
  }
  bool Done() const { return false; }

 private:
  std::vector<TParlaxItem*> stack_;
};

class TSectionSink {
 public:
  explicit TSectionSink(const std::vector<std::string>& path) : path_(path) {
    if (path_.empty()) found_ = true;
  }
  void Open(const std::string& name) {
    if (!found_ && depth_ == matched_ && name == path_[matched_]) {
      ++matched_;
      if (matched_ == path_.size()) {
        found_ = true;
        targetDepth_ = depth_ + 1;
      }
    }
    ++depth_;
  }
  void Close() {
    if (depth_ == 0) return;
    --depth_;
    if (found_) {
      if (depth_ < targetDepth_) done_ = true;
    } else if (matched_ > depth_) {
      // A matched block closed before the rest of the path was found inside it.
      matched_ = depth_;
    }
  }
  void Value(const std::string& key, std::string text) {
    if (!found_ || depth_ != targetDepth_) return;
    if (!result_) result_ = std::make_unique<TParlaxItem>();
    result_->AddValue(key, std::move(text));
  }
  bool Done() const { return done_; }
  std::unique_ptr<TParlaxItem> Take() { return std::move(result_); }

 private:
  const std::vector<std::string>& path_;
  std::size_t depth_ = 0;
  std::size_t matched_ = 0;
  std::size_t targetDepth_ = 0;
  bool found_ = false;
  bool done_ = false;
  std::unique_ptr<TParlaxItem> result_;
};

std::string ReadWholeFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw std::runtime_error("Cannot open file \"" + fileName + "\"");
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

}  // namespace

std::optional<int> ParseInteger(std::string_view s) {
  s = Trim(s);
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  unsigned base = 10;
  if (!s.empty() && (s.front() == '$' || s.front() == 'x' || s.front() == 'X')) {
    base = 16;
    s.remove_prefix(1);
  } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return std::nullopt;
  // Hexadecimal takes the full 32 bits (so "$FFFFFFFF" is -1); decimal must fit an int.
  const std::uint64_t limit =
      base == 16 ? 0xFFFFFFFFull : static_cast<std::uint64_t>(INT_MAX) + (negative ? 1 : 0);
  std::uint64_t value = 0;
  for (char c : s) {
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (base == 16 && LowerByte(c) >= 'a' && LowerByte(c) <= 'f') {
      digit = static_cast<unsigned>(LowerByte(c) - 'a' + 10);
    } else {
      return std::nullopt;
    }
    value = value * base + digit;
    if (value > limit) return std::nullopt;
  }
  std::int64_t signedValue = base == 16
                                 ? static_cast<std::int32_t>(static_cast<std::uint32_t>(value))
                                 : static_cast<std::int64_t>(value);
  if (negative) signedValue = -signedValue;
  return static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(signedValue)));
}

const char* SectionWord(TParlaxSection s) {
  switch (s) {
    case TParlaxSection::Info:
      return "INFO";
    case TParlaxSection::Objects:
      return "OBJECTS";
    case TParlaxSection::Strings:
      return "STRINGS";
  }
  return "";
}

const char* KindPrefix(TParlaxKind k) {
  switch (k) {
    case TParlaxKind::Action:
      return "Action:";
    case TParlaxKind::Menu:
      return "Menu:";
    case TParlaxKind::Toolbar:
      return "Toolbar:";
    case TParlaxKind::Button:
      return "Button:";
    case TParlaxKind::Label:
      return "Label:";
    case TParlaxKind::Form:
      return "Form:";
    case TParlaxKind::List:
      return "List:";
    case TParlaxKind::Tab:
      return "Tab:";
    case TParlaxKind::ComboBox:
      return "ComboBox:";
    case TParlaxKind::GroupBox:
      return "GroupBox:";
    case TParlaxKind::CheckBox:
      return "CheckBox:";
    case TParlaxKind::RadioButton:
      return "RadioButton:";
    case TParlaxKind::Edit:
      return "Edit:";
  }
  return "";
}

TParlaxItem::~TParlaxItem() { Clear(); }

void TParlaxItem::Clear() {
  // Detach descendants level by level so that no destructor ever recurses.
  std::vector<std::unique_ptr<TParlaxItem>> pending;
  for (auto& child : children_) pending.push_back(std::move(child.second));
  children_.clear();
  values_.clear();
  while (!pending.empty()) {
    std::unique_ptr<TParlaxItem> item = std::move(pending.back());
    pending.pop_back();
    for (auto& child : item->children_) pending.push_back(std::move(child.second));
    item->children_.clear();
  }
}

TParlaxItem& TParlaxItem::AddChild(const std::string& name) {
  children_.emplace_back(name, std::make_unique<TParlaxItem>());
  return *children_.back().second;
}

TParlaxItem& TParlaxItem::Child(const std::string& name) {
  for (auto& child : children_) {
    if (SameText(child.first, name)) return *child.second;
  }
  return AddChild(name);
}

const TParlaxItem* TParlaxItem::FindChild(std::string_view name) const {
  for (const auto& child : children_) {
    if (SameText(child.first, name)) return child.second.get();
  }
  return nullptr;
}

void TParlaxItem::AddValue(std::string key, std::string text) {
  values_.emplace_back(std::move(key), std::move(text));
}

const std::string* TParlaxItem::FindValue(std::string_view key) const {
  for (const auto& value : values_) {
    if (SameText(value.first, key)) return &value.second;
  }
  return nullptr;
}

const std::string* TParlaxItem::FindKeySpelling(std::string_view key) const {
  for (const auto& value : values_) {
    if (SameText(value.first, key)) return &value.first;
  }
  return nullptr;
}

bool TParlaxItem::GetString(std::string_view key, std::string& text) const {
  const std::string* found = FindValue(key);
  if (!found) return false;
  text = *found;
  return true;
}

bool TParlaxItem::GetInteger(std::string_view key, int& value) const {
  const std::string* found = FindValue(key);
  if (!found) return false;
  value = ParseInteger(*found).value_or(0);
  return true;
}

void TParlax::LoadFromText(std::string_view text) {
  root_.Clear();
  TTreeSink sink(root_);
  Scan(text, sink);
}

void TParlax::LoadFromStream(std::istream& in) {
  std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  LoadFromText(text);
}

void TParlax::LoadFromFile(const std::string& fileName) { LoadFromText(ReadWholeFile(fileName)); }

void TParlax::LoadFromResource() { LoadFromText(BuiltInTemplate()); }

std::unique_ptr<TParlaxItem> ReadSection(const std::string& fileName,
                                         const std::vector<std::string>& path) {
  return ReadSectionFromText(ReadWholeFile(fileName), path);
}

std::unique_ptr<TParlaxItem> ReadSectionFromText(std::string_view text,
                                                 const std::vector<std::string>& path) {
  TSectionSink sink(path);
  Scan(text, sink);
  return sink.Take();
}

std::string_view BuiltInTemplate() {
  return std::string_view(BuiltInTemplateData, BuiltInTemplateSize);
}

TParlax& MainLanguage() {
  static TParlax engine;
  return engine;
}

}  // namespace vortan
