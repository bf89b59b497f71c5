#pragma once
// The contents of the Messages tree, kept in the tree's order, for a view to mirror.

#include <cstddef>
#include <functional>
#include <vector>

#include "jobs/messagedata.h"

namespace vortan {

/// One entry with the entries below it.
struct TMessageNode {
  TMessageData Data;
  std::vector<TMessageNode> Children;
};

/// The Messages tree without a window. Changes are made in brackets; when the outermost bracket
/// closes, every level is sorted by CompareMessages (stable, so ties keep their order) with the
/// active window of that moment, and OnChanged tells the view to show the new contents. A change
/// made outside a bracket is a bracket of its own.
class TMessageList {
 public:
  /// The active window, asked at every sort; empty means none.
  std::function<const TfrmEditor*()> ActiveEditor;
  /// The fixed order of windows (see TMessageOrder).
  std::function<std::uint64_t(const TfrmEditor*)> WindowRank;
  /// Called after the outermost bracket has closed and the entries are sorted.
  std::function<void()> OnChanged;

  void BeginUpdate();
  void EndUpdate();

  /// Appends top-level entries with their children.
  void Add(std::vector<TMessageNode> nodes);
  void Add(TMessageNode node);
  void Clear();
  /// Removes every top-level entry of the window, with its children. Entries of the window that
  /// stay below other windows' messages lose their editor, so they can no longer be opened.
  void RemoveEditorMessages(const TfrmEditor* editor);
  /// Removes the top-level entries of exactly this text, with their children.
  void RemoveGroup(const std::string& text);

  const std::vector<TMessageNode>& Top() const { return top_; }
  bool Empty() const { return top_.empty(); }
  /// Position of the first top-level entry of kind mkError, or -1.
  int FirstError() const;

 private:
  void Sort();

  std::vector<TMessageNode> top_;
  int updates_ = 0;
};

}  // namespace vortan
