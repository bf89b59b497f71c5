#pragma once
// The text control's key bindings and what they do: one table of keys and modifiers, each
// naming a command, and the dispatch that runs it with the selection modes (normal, column
// block, whole lines) the commands extend the selection in.

#include <Qt>
#include <vector>

namespace vortan {

class TStreakSynEdit;

class TEditorKeys {
 public:
  enum class TSelectionMode { Normal, Column, Line };

  explicit TEditorKeys(TStreakSynEdit& edit) : edit_(edit) {}
  TEditorKeys(const TEditorKeys&) = delete;
  TEditorKeys& operator=(const TEditorKeys&) = delete;

  /// Runs the binding of the keys as if they were pressed; false when none is bound.
  bool Run(int key, Qt::KeyboardModifiers modifiers);

  TSelectionMode SelectionMode() const { return selectionMode_; }
  void SetSelectionMode(TSelectionMode mode) { selectionMode_ = mode; }
  /// In line mode a selection made with the mouse grows to whole lines.
  void MouseSelectionDone();

 private:
  enum class TCmd;
  struct TBinding;
  static const std::vector<TBinding>& Bindings();

  void RunCommand(TCmd cmd, bool extend, int param);
  void Move(int plain, int extend, int rectExtend, bool doExtend);
  void PageMove(int direction, bool extend);
  void PageEdge(bool bottom, bool extend);
  void SmartTab();
  bool SmartBackspace();
  void BlockIndent(bool indent);
  void MatchBracket();
  void SelectLines(long anchorLine, long caretLine);

  TStreakSynEdit& edit_;
  TSelectionMode selectionMode_ = TSelectionMode::Normal;
  struct {
    bool Active = false;
    long AnchorLine = 0, LogicalCaret = 0;  // where the selection started and the moved caret
    long Anchor = -1, Caret = -1;           // the selection as last set
  } lineSelection_;
};

}  // namespace vortan
