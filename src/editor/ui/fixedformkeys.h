#pragma once
// The keys that keep fixed-form source in its columns: Return to the block's indentation, the
// continuation key, Tab out of the label field, digits typed into the label field and the wrap
// at column 72. The rules are TFixedFormEdits'; this applies them to the text control, each as
// one undo step.

#include <string>
#include <vector>

#include "editor/fixedformedits.h"

namespace vortan {

class TStreakSynEdit;

class TFixedFormKeys {
 public:
  explicit TFixedFormKeys(TStreakSynEdit& edit) : edit_(edit) {}
  TFixedFormKeys(const TFixedFormKeys&) = delete;
  TFixedFormKeys& operator=(const TFixedFormKeys&) = delete;

  /// Return; false when a plain line break is wanted instead.
  bool Return();
  /// Breaks the statement at the caret into a continuation line; false when it cannot be
  /// broken there (nothing changes).
  bool BreakLine();
  /// Tab in columns 1-6 of a statement line: to column 7. False elsewhere.
  bool Tab();
  /// A digit typed in columns 1-5 of a statement line: into the label field. False when it
  /// is to be typed as usual.
  bool TypeDigit(char digit);
  /// After a character was typed: a statement line past column 72 wraps.
  void AfterTyping();

 private:
  bool CompletionListOpen() const;
  TFixedFormOptions Options() const;
  /// Lines [max(0, line - before), line] as bytes.
  std::vector<std::string> LinesUpTo(int line, int before) const;

  TStreakSynEdit& edit_;
};

}  // namespace vortan
