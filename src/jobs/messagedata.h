#pragma once
// The record behind every entry of the Messages tree, and the order the tree keeps.

#include <cstdint>
#include <functional>
#include <string>

namespace vortan {

class TfrmEditor;

/// What an entry of the Messages tree is. The numbers are fixed; 5 is not used.
enum TMessageKind : std::uint8_t {
  mkError = 0,
  mkWarning = 1,
  mkMaybe = 2,
  /// A line that belongs to the entry above it.
  mkDetail = 3,
  /// A further place of the current top-level message.
  mkLocation = 4,
  /// A top-level message whose keyword is in no list.
  mkUnclassified = 6,
};

/// One entry's data.
struct TMessageData {
  std::string Text;
  /// The window the message refers to; not owned, may be null (then it cannot be opened).
  TfrmEditor* Editor = nullptr;
  /// -1 when the message has no line.
  std::int32_t Line = -1;
  /// 0 when the message has no column.
  std::int32_t Column = 0;
  TMessageKind Kind = mkError;
};

/// What the order depends on besides the entries: the active window and a fixed order of the
/// other windows. Without `WindowRank`, windows are ordered by address; a null editor comes
/// after every window either way.
struct TMessageOrder {
  const TfrmEditor* Active = nullptr;
  std::function<std::uint64_t(const TfrmEditor*)> WindowRank;
};

/// The order of sibling entries: <0 when `a` comes first, 0 when they tie, >0 when `b` does.
/// Errors, warnings and may-be messages in that order; within a kind the active window's
/// first, then the other windows in their fixed order; within one window by line (-1 first).
/// Any other kind ties with every entry of its own group and comes after the may-be messages,
/// so detail lines keep their reading order and the order stays consistent for a stable sort.
int CompareMessages(const TMessageData& a, const TMessageData& b, const TMessageOrder& order);

}  // namespace vortan
