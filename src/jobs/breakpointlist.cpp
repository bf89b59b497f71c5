#include "jobs/breakpointlist.h"

#include <algorithm>
#include <charconv>

namespace vortan {

namespace {

bool Storable(const std::string& text) { return text.find_first_of("\t\r\n") == std::string::npos; }

bool ReadInt(const std::string& text, int& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

}  // namespace

bool TBreakpointList::Toggle(const std::string& file, int line) {
  auto& list = files_[file];
  const auto found =
      std::find_if(list.begin(), list.end(), [&](const TBreakpoint& b) { return b.Line == line; });
  if (found != list.end()) {
    list.erase(found);
    if (list.empty()) files_.erase(file);
    return false;
  }
  TBreakpoint b;
  b.Line = line;
  list.insert(std::upper_bound(list.begin(), list.end(), line,
                               [](int l, const TBreakpoint& x) { return l < x.Line; }),
              b);
  return true;
}

TBreakpoint* TBreakpointList::Find(const std::string& file, int line) {
  const auto f = files_.find(file);
  if (f == files_.end()) return nullptr;
  for (TBreakpoint& b : f->second)
    if (b.Line == line) return &b;
  return nullptr;
}

const std::vector<TBreakpoint>& TBreakpointList::Of(const std::string& file) const {
  static const std::vector<TBreakpoint> kNone;
  const auto f = files_.find(file);
  return f == files_.end() ? kNone : f->second;
}

void TBreakpointList::MoveTo(const std::string& file, const std::vector<int>& lines) {
  auto f = files_.find(file);
  std::vector<TBreakpoint> moved;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    TBreakpoint b = f != files_.end() && i < f->second.size() ? f->second[i] : TBreakpoint{};
    b.Line = lines[i];
    // Two breakpoints that came onto one line (the lines between were deleted) are one.
    if (!moved.empty() && moved.back().Line == b.Line) continue;
    moved.push_back(std::move(b));
  }
  if (moved.empty())
    files_.erase(file);
  else
    files_[file] = std::move(moved);
}

std::vector<std::string> TBreakpointList::Files() const {
  std::vector<std::string> names;
  for (const auto& [file, list] : files_) names.push_back(file);
  return names;
}

std::string TBreakpointList::ToText() const {
  std::string text;
  for (const auto& [file, list] : files_) {
    if (!Storable(file)) continue;
    for (const TBreakpoint& b : list)
      if (Storable(b.Condition))
        text += file + '\t' + std::to_string(b.Line) + '\t' + std::to_string(b.IgnoreCount) + '\t' +
                b.Condition + '\n';
  }
  return text;
}

TBreakpointList TBreakpointList::FromText(const std::string& text) {
  TBreakpointList list;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    std::vector<std::string> parts;
    std::size_t p = 0;
    for (int i = 0; i < 3; ++i) {
      const std::size_t tab = line.find('\t', p);
      if (tab == std::string::npos) break;
      parts.push_back(line.substr(p, tab - p));
      p = tab + 1;
    }
    if (parts.size() != 3 || parts[0].empty()) continue;
    TBreakpoint b;
    if (!ReadInt(parts[1], b.Line) || b.Line < 1 || !ReadInt(parts[2], b.IgnoreCount) ||
        b.IgnoreCount < 0)
      continue;
    b.Condition = line.substr(p);
    if (list.Find(parts[0], b.Line)) continue;
    list.Toggle(parts[0], b.Line);
    *list.Find(parts[0], b.Line) = b;
  }
  return list;
}

}  // namespace vortan
