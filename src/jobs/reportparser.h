#pragma once
// Turns the analyzer's report, line by line, into entries of the Messages tree.

#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/analyzerkeywords.h"
#include "jobs/messagelist.h"

namespace vortan {

/// Splits a report into lines at CR LF, CR or LF. A final line break ends the last line
/// instead of starting an empty one, so an empty text has no lines.
std::vector<std::string> SplitReportLines(std::string_view text);

/// The report grammar. Lines are fed in order; the entries are collected as a forest that is
/// taken away in pieces (an entry is only taken once nothing can be added below it any more).
///
/// A message line is `"file"` followed by either `: <keyword text>` or anything holding a line
/// number and optionally more digits (the column) up to a colon; after that colon, two blanks and
/// "(" or three blanks make a detail line, exactly two blanks a further location, and otherwise
/// the text up to the next colon is the keyword text. A line of four blanks and a word is a list
/// of words. Every other line is no message and is passed over.
class TReportParser {
 public:
  /// The window a file of the report belongs to, and the name it is shown under.
  struct TResolved {
    TfrmEditor* Editor = nullptr;
    std::string Shown;
  };
  using TResolve = std::function<TResolved(const std::string& file)>;
  /// The labels of the kinds, indexed by TMessageKind.
  using TLabels = std::array<std::string, 7>;

  /// The longest message text taken from a line.
  static constexpr std::size_t MaxMessage = 999;

  TReportParser(TAnalyzerKeywords keywords, TLabels labels, TResolve resolve);

  void Parse(std::string_view line);

  int ErrorCount() const { return errorCount_; }
  /// Warnings and may-be messages.
  int HitCount() const { return hitCount_; }

  /// Number of entries (children included) that TakeClosed would hand out.
  std::size_t ClosedEntries() const;
  /// The complete top-level entries, in reading order.
  std::vector<TMessageNode> TakeClosed();
  /// Every entry left, in reading order. Lines parsed afterwards start from an empty report.
  std::vector<TMessageNode> TakeAll();

 private:
  void ParseWords(std::string_view line);
  void ParseMessage(std::string_view line);
  TMessageNode& AddBelow(TMessageNode* parent, std::string text);

  TAnalyzerKeywords keywords_;
  TLabels labels_;
  TResolve resolve_;

  // The values the next entry takes; they keep those of the message read last.
  TfrmEditor* editor_ = nullptr;
  std::int32_t line_ = 0;
  std::int32_t column_ = 0;
  TMessageKind kind_ = mkError;

  // A deque, so that adding top-level entries leaves the two marks below valid. Both always
  // point into the last top-level entry's subtree.
  std::deque<TMessageNode> pending_;
  TMessageNode* lastEntry_ = nullptr;
  TMessageNode* lastTop_ = nullptr;
  std::size_t pendingEntries_ = 0;
  std::size_t lastNodeEntries_ = 0;

  int errorCount_ = 0;
  int hitCount_ = 0;
};

}  // namespace vortan
