#pragma once
// What the text control shows of fixed-form blocks: the statements matching the one at the
// caret (a DO and its terminal statement, IF with ELSE IF, ELSE and END IF, a unit's header
// and its END) marked with an indicator, and the fold margin with a fold point on every
// program unit and DO or IF block. The block structure is read again once the typing pauses,
// never on the key itself, and in a worker: the interface thread only copies the text and
// applies the result (a long file takes tens of milliseconds to read).

#include <QTimer>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace vortan {

class TFixedFormBlocks;
class TStreakSynEdit;

class TBlockMarks {
 public:
  /// Quiet time after an edit before the blocks are read again.
  static constexpr int kRefreshDelayMs = 250;

  explicit TBlockMarks(TStreakSynEdit& edit);
  ~TBlockMarks();
  /// Defines the indicator, the fold margin and its markers (once the control has set its
  /// margins up).
  void Install();
  TBlockMarks(const TBlockMarks&) = delete;
  TBlockMarks& operator=(const TBlockMarks&) = delete;

  /// Follows the options: matching marks and the fold margin each on or off.
  void SetEnabled(bool matching, bool folding);
  /// The text changed: read the blocks again once the typing pauses.
  void TextChanged();
  /// The caret moved: mark the statements matching its line's.
  void CaretMoved();
  /// Reads the blocks now (a pending refresh included).
  void Refresh();
  /// True while a refresh waits for the pause or is read in the worker.
  bool RefreshPending() const { return timer_.isActive() || reading_ > 0; }
  /// True from the start of a read in the worker until its result was taken (or dropped).
  bool Reading() const { return reading_ > 0; }
  /// Folds (true) or unfolds every fold point.
  void FoldAll(bool fold);
  /// 0-based first lines of the statements marked now.
  const std::vector<int>& MarkedLines() const { return markedLines_; }

 private:
  /// Reads the blocks of a copy of the text in a worker; the result is applied only when no
  /// edit came meanwhile.
  void RefreshInBackground();
  /// Takes the blocks read and shows them.
  void Apply(std::unique_ptr<TFixedFormBlocks> blocks);
  void UpdateFolds();
  void UpdateMatching();
  void ClearMatching();

  TStreakSynEdit& edit_;
  QTimer timer_;
  std::unique_ptr<TFixedFormBlocks> blocks_;
  bool stale_ = true;
  /// Counts the edits, so that a worker's result for an older text is dropped.
  std::uint64_t generation_ = 0;
  /// Reads under way in the worker.
  int reading_ = 0;
  /// Lets a worker's result find this object only while it lives.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool matching_ = true, folding_ = true;
  int caretLine_ = -1;
  std::vector<int> markedLines_;
  std::vector<std::pair<long, long>> marked_;  // position, length
};

}  // namespace vortan
