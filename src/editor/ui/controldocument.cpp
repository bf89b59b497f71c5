#include "editor/ui/controldocument.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "editor/ui/scicall.h"
#include "editor/ui/streaksynedit.h"

namespace vortan {

namespace {
using B = QsciScintillaBase;
}  // namespace

int TControlDocument::LineCount() const {
  return static_cast<int>(Sci(edit_, B::SCI_GETLINECOUNT));
}

std::string TControlDocument::LineBytes(int line) const {
  const auto it = pending_.find(line);
  if (it != pending_.end()) return it->second;
  // The line last read is kept: a match found in it is replaced without reading it again.
  if (line != cachedLine_) {
    cachedLine_ = line;
    cached_ = edit_->LineBytes(line + 1);
  }
  return cached_;
}

void TControlDocument::Select(int line, int start, int end, bool caretAtStart) {
  Flush();
  edit_->SelectBytes(line, start, end, caretAtStart);
}

void TControlDocument::ReplaceBytes(int line, int start, int end, std::string_view with) {
  auto [it, added] = pending_.try_emplace(line);
  if (added) it->second = line == cachedLine_ ? std::move(cached_) : edit_->LineBytes(line + 1);
  if (line == cachedLine_) cachedLine_ = -1;
  std::string& bytes = it->second;
  const std::size_t from = std::min(static_cast<std::size_t>(std::max(start, 0)), bytes.size());
  const std::size_t to = std::clamp(static_cast<std::size_t>(std::max(end, 0)), from, bytes.size());
  bytes.replace(from, to - from, with);
  if (depth_ == 0) Flush();
}

int TControlDocument::NextLineWith(int line, std::string_view search, bool matchCase,
                                   bool backwards) {
  if (!TTextFinder::Handles(search)) return line;
  if (!finder_ || finder_->Search() != search || finder_->MatchCase() != matchCase)
    finder_.emplace(search, matchCase);
  const long length = Sci(edit_, B::SCI_GETLENGTH);
  const std::string_view text(reinterpret_cast<const char*>(Sci(edit_, B::SCI_GETCHARACTERPOINTER)),
                              static_cast<std::size_t>(length));
  const long lines = Sci(edit_, B::SCI_GETLINECOUNT);
  std::size_t at;
  if (backwards) {
    const long end = line + 1 < lines ? Sci(edit_, B::SCI_POSITIONFROMLINE, line + 1) : length;
    at = finder_->Previous(text, static_cast<std::size_t>(end));
  } else {
    at = finder_->Next(text, static_cast<std::size_t>(Sci(edit_, B::SCI_POSITIONFROMLINE, line)));
  }
  return at == std::string_view::npos ? -1
                                      : static_cast<int>(Sci(edit_, B::SCI_LINEFROMPOSITION, at));
}

void TControlDocument::Flush() {
  if (pending_.empty()) return;
  const int first = pending_.begin()->first, last = pending_.rbegin()->first;
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(last - first + 1));
  for (int line = first; line <= last; ++line) {
    const auto it = pending_.find(line);
    lines.push_back(it != pending_.end() ? std::move(it->second) : edit_->LineBytes(line + 1));
  }
  pending_.clear();
  cachedLine_ = -1;
  edit_->ReplaceLines(first, lines);
}

}  // namespace vortan
