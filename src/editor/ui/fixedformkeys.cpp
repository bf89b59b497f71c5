#include "editor/ui/fixedformkeys.h"

#include <algorithm>
#include <string_view>

#include "editor/fixedformline.h"
#include "editor/ui/streaksynedit.h"

namespace vortan {

namespace {

// Lines read above the caret to find its block: far more than any block spans, and quick.
constexpr int kBlockWindow = 5000;
// Lines read above the caret to find its statement's first line (19 continuation lines at most,
// and the comments between them).
constexpr int kStatementWindow = 200;

std::vector<std::string_view> Views(const std::vector<std::string>& lines) {
  return {lines.begin(), lines.end()};
}

}  // namespace

TFixedFormOptions TFixedFormKeys::Options() const {
  const TEditorSettings& s = edit_.Options().Settings;
  TFixedFormOptions o;
  o.IndentStep = s.BlockIndent;
  o.ContinuationMark = s.ContinuationMark;
  o.ContinueComments = s.ContinueComments;
  return o;
}

std::vector<std::string> TFixedFormKeys::LinesUpTo(int line, int before) const {
  std::vector<std::string> lines;
  for (int l = std::max(0, line - before); l <= line; ++l) lines.push_back(edit_.LineBytes(l + 1));
  return lines;
}

bool TFixedFormKeys::CompletionListOpen() const {
  return edit_.SendScintilla(QsciScintillaBase::SCI_AUTOCACTIVE) != 0;
}

bool TFixedFormKeys::Return() {
  // With a completion list open, Return takes the chosen word: the control's own new line does.
  if (edit_.HasSelection() || CompletionListOpen()) return false;
  const TTextPoint caret = edit_.CaretPoint();
  std::vector<std::string> lines = LinesUpTo(caret.Line, kBlockWindow);
  const std::string full = lines.back();
  const auto cut = std::min(static_cast<std::size_t>(caret.Byte), full.size());
  lines.back() = full.substr(0, cut);
  const int index = static_cast<int>(lines.size()) - 1;
  const TReturnPlan plan = TFixedFormEdits::PlanReturn(Views(lines), index, Options());
  if (plan.Plain) return false;
  std::string tail = full.substr(cut);
  std::string head = plan.Head.value_or(lines.back());
  if (TFixedFormLine::Of(full).Kind != TFixedLineKind::Comment) {
    // Blanks around the break would push the new line's text off its column and leave a
    // trailing blank to trim in an undo step of its own.
    tail.erase(0, std::min(tail.size(), tail.find_first_not_of(' ')));
    head.erase(head.find_last_not_of(' ') + 1);
  }
  edit_.ReplaceLineWith(caret.Line, {head, plan.Prefix + tail}, 1,
                        static_cast<int>(plan.Prefix.size()));
  return true;
}

bool TFixedFormKeys::BreakLine() {
  if (edit_.HasSelection()) return false;
  const TTextPoint caret = edit_.CaretPoint();
  std::vector<std::string> lines = LinesUpTo(caret.Line, kStatementWindow);
  const int index = static_cast<int>(lines.size()) - 1;
  const auto split = TFixedFormEdits::BreakLine(Views(lines), index, caret.Byte, Options());
  if (!split) return false;
  edit_.ReplaceLineWith(caret.Line, {split->First, split->Second}, 1, split->SecondTextStart);
  return true;
}

bool TFixedFormKeys::Tab() {
  if (CompletionListOpen()) return false;
  if (edit_.HasSelection()) return false;
  const int column = edit_.CaretColumn() - 1;
  const int line = edit_.CaretLine() - 1;
  const auto padded = TFixedFormEdits::PadToStatementField(edit_.LineBytes(line + 1), column);
  if (!padded) return false;
  // Where the caret may stand past the end of a line, blanks are only written once text is.
  if (*padded == edit_.LineBytes(line + 1) || edit_.Options().Settings.ScrollPastEndOfLine)
    edit_.SetCaret(line + 1, TFixedFormLine::kTextColumn + 1);
  else
    edit_.ReplaceLineWith(line, {*padded}, 0, TFixedFormLine::kTextColumn);
  return true;
}

bool TFixedFormKeys::TypeDigit(char digit) {
  if (edit_.HasSelection() || !edit_.InsertMode()) return false;
  const int column = edit_.CaretColumn() - 1;
  const int line = edit_.CaretLine() - 1;
  const auto typed = TFixedFormEdits::TypeLabelDigit(edit_.LineBytes(line + 1), column, digit);
  if (!typed) return false;
  edit_.ReplaceLineWith(line, {*typed}, 0, column + 1);
  return true;
}

void TFixedFormKeys::AfterTyping() {
  // Typing left of column 72 never wraps; this test keeps the common key cheap.
  if (edit_.CaretColumn() <= TFixedFormLine::kLastColumn || edit_.HasSelection()) return;
  const TTextPoint caret = edit_.CaretPoint();
  std::vector<std::string> lines = LinesUpTo(caret.Line, kStatementWindow);
  const int index = static_cast<int>(lines.size()) - 1;
  const auto split = TFixedFormEdits::WrapLine(Views(lines), index, Options());
  if (!split) return;
  // The caret stays with the text it was in: after the moved text it moves along.
  const int moved = static_cast<int>(lines.back().size()) - caret.Byte;
  const int secondLength = static_cast<int>(split->Second.size());
  if (caret.Byte >= static_cast<int>(split->First.size()))
    edit_.ReplaceLineWith(caret.Line, {split->First, split->Second}, 1,
                          std::max(split->SecondTextStart, secondLength - moved));
  else
    edit_.ReplaceLineWith(caret.Line, {split->First, split->Second}, 0, caret.Byte);
}

}  // namespace vortan
