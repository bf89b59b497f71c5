#pragma once
// The document as the search sees it: the text control's lines as bytes. Replacements inside
// an undo step are gathered per line and reach the control at the end of the step as one
// ReplaceLines: replacing in the control one occurrence at a time costs time in proportion
// to the document for each, and as much again to undo.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "editor/textfinder.h"
#include "editor/textsearch.h"

namespace vortan {

class TStreakSynEdit;

class TControlDocument : public TSearchDocument {
 public:
  explicit TControlDocument(TStreakSynEdit* edit) : edit_(edit) {}
  ~TControlDocument() override { Flush(); }

  int LineCount() const override;
  std::string LineBytes(int line) const override;
  void Select(int line, int start, int end, bool caretAtStart) override;
  void ReplaceBytes(int line, int start, int end, std::string_view with) override;
  void BeginUndoStep() override { ++depth_; }
  void EndUndoStep() override {
    if (depth_ > 0 && --depth_ == 0) Flush();
  }
  // Looks in the control's own text: reading every line as bytes costs more than the search.
  // Lines with replacements pending are behind the search, so the text ahead is current.
  int NextLineWith(int line, std::string_view search, bool matchCase, bool backwards) override;

 private:
  void Flush();

  TStreakSynEdit* edit_;
  int depth_ = 0;
  std::map<int, std::string> pending_;  // line -> its new bytes
  mutable int cachedLine_ = -1;
  mutable std::string cached_;
  std::optional<TTextFinder> finder_;
};

}  // namespace vortan
