#include "system/mimeappslist.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/filebytes.h"
#include "platform/text.h"
#include "platform/textlines.h"

namespace vortan {

namespace {

std::string KeyLine(const std::string& key, const std::vector<std::string>& ids) {
  std::string line = key + "=";
  for (const std::string& id : ids) line += id + ";";
  return line;
}

}  // namespace

bool TMimeAppsList::IsHeader(const std::string& text, std::string* name) {
  const std::string t = std::string(Trim(text));
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return false;
  if (name) *name = t.substr(1, t.size() - 2);
  return true;
}

bool TMimeAppsList::KeyIs(const std::string& text, const std::string& key, std::string* value) {
  const std::string t = std::string(Trim(text));
  if (t.empty() || t.front() == '#') return false;
  const size_t eq = t.find('=');
  if (eq == std::string::npos || !SameText(Trim(t.substr(0, eq)), key)) return false;
  if (value) *value = std::string(Trim(std::string_view(t).substr(eq + 1)));
  return true;
}

bool TMimeAppsList::Load(const std::string& path) {
  lines_.clear();
  endsWithNewline_ = true;
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return !ec;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  Parse(text.str());
  return true;
}

void TMimeAppsList::Parse(const std::string& text) {
  lines_.clear();
  endsWithNewline_ = text.empty() || text.back() == '\n';
  std::string group;
  TTextLines lines(text);
  for (std::string_view raw; lines.Next(raw);) {
    TLine line{std::string(raw), group};
    if (IsHeader(line.Text, &group)) line.Group = group;
    lines_.push_back(std::move(line));
  }
}

std::string TMimeAppsList::Text() const {
  std::string out;
  for (size_t i = 0; i < lines_.size(); ++i) {
    out += lines_[i].Text;
    if (i + 1 < lines_.size() || endsWithNewline_) out += '\n';
  }
  return out;
}

bool TMimeAppsList::Save(const std::string& path) const {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  std::string error;
  return platform::WriteFileReplacing(path, Text(), error, 0644);
}

std::vector<std::string> TMimeAppsList::Get(const std::string& group,
                                            const std::string& mimeType) const {
  std::vector<std::string> ids;
  // A key given twice counts as its last occurrence, as the readers of this file do.
  for (const TLine& line : lines_) {
    std::string value;
    if (line.Group != group || IsHeader(line.Text) || !KeyIs(line.Text, mimeType, &value)) continue;
    ids.clear();
    std::string id;
    for (char c : value + ";") {
      if (c != ';') {
        id += c;
        continue;
      }
      id = std::string(Trim(id));
      if (!id.empty()) ids.push_back(id);
      id.clear();
    }
  }
  return ids;
}

void TMimeAppsList::Set(const std::string& group, const std::string& mimeType,
                        const std::vector<std::string>& ids) {
  bool found = false;
  for (size_t i = 0; i < lines_.size();) {
    TLine& line = lines_[i];
    if (line.Group == group && !IsHeader(line.Text) && KeyIs(line.Text, mimeType)) {
      if (ids.empty()) {
        lines_.erase(lines_.begin() + static_cast<long>(i));
        continue;
      }
      // Keep the key as the file spells it.
      const std::string t = std::string(Trim(line.Text));
      const bool crlf = !line.Text.empty() && line.Text.back() == '\r';
      line.Text = KeyLine(std::string(Trim(std::string_view(t).substr(0, t.find('=')))), ids) +
                  (crlf ? "\r" : "");
      found = true;
    }
    ++i;
  }
  if (found || ids.empty()) return;

  // A new key goes after the last non-blank line of the group's first occurrence.
  size_t header = lines_.size();
  for (size_t i = 0; i < lines_.size(); ++i) {
    std::string name;
    if (IsHeader(lines_[i].Text, &name) && name == group) {
      header = i;
      break;
    }
  }
  if (header == lines_.size()) {
    if (!lines_.empty() && !Trim(lines_.back().Text).empty())
      lines_.push_back({"", lines_.back().Group});
    lines_.push_back({"[" + group + "]", group});
    lines_.push_back({KeyLine(mimeType, ids), group});
    endsWithNewline_ = true;
    return;
  }
  size_t at = header + 1;
  for (size_t i = header + 1; i < lines_.size() && !IsHeader(lines_[i].Text); ++i)
    if (!std::string(Trim(lines_[i].Text)).empty()) at = i + 1;
  lines_.insert(lines_.begin() + static_cast<long>(at), {KeyLine(mimeType, ids), group});
  if (at == lines_.size() - 1) endsWithNewline_ = true;
}

}  // namespace vortan
