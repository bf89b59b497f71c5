// Find and replace over a small document held in memory: regions, options, prompt answers,
// undo steps and the bad inputs a user can give.
#include "editor/textsearch.h"

#include <gtest/gtest.h>

#include "editor/textfinder.h"

#include <algorithm>
#include <climits>
#include <deque>
#include <string>
#include <vector>

using namespace vortan;
using platform::TCodePage;

namespace {

// Lines in memory; undo steps are snapshots taken when the outermost step begins.
class TMemoryDocument : public TSearchDocument {
 public:
  explicit TMemoryDocument(std::vector<std::string> lines) : lines(std::move(lines)) {}

  int LineCount() const override { return static_cast<int>(lines.size()); }
  std::string LineBytes(int line) const override {
    ++reads;
    return lines.at(static_cast<std::size_t>(line));
  }
  // With `skipping`, passes over lines as the text control does: by looking in the whole text.
  int NextLineWith(int line, std::string_view search, bool matchCase, bool backwards) override {
    if (!skipping || !TTextFinder::Handles(search)) return line;
    std::string text;
    std::vector<std::size_t> starts;
    for (const std::string& l : lines) {
      starts.push_back(text.size());
      text += l + "\n";
    }
    const TTextFinder finder(search, matchCase);
    const std::size_t at =
        backwards ? finder.Previous(text, starts[static_cast<std::size_t>(line)] +
                                              lines[static_cast<std::size_t>(line)].size())
                  : finder.Next(text, starts[static_cast<std::size_t>(line)]);
    if (at == std::string::npos) return -1;
    return static_cast<int>(std::upper_bound(starts.begin(), starts.end(), at) - starts.begin()) -
           1;
  }
  void Select(int line, int start, int end, bool caretAtStart) override {
    selection = {line, start, end, caretAtStart};
    ++selects;
  }
  void ReplaceBytes(int line, int start, int end, std::string_view with) override {
    EXPECT_GT(depth, 0) << "a replacement outside an undo step";
    lines.at(static_cast<std::size_t>(line))
        .replace(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start), with);
  }
  void BeginUndoStep() override {
    if (depth++ == 0) undo.push_back(lines);
  }
  void EndUndoStep() override { --depth; }
  void Undo() {
    ASSERT_FALSE(undo.empty());
    lines = undo.back();
    undo.pop_back();
  }

  struct TSel {
    int Line = -1, Start = -1, End = -1;
    bool CaretAtStart = false;
    bool operator==(const TSel&) const = default;
  };
  std::vector<std::string> lines;
  bool skipping = false;
  mutable int reads = 0;
  TSel selection;
  int selects = 0;
  int depth = 0;
  std::vector<std::vector<std::string>> undo;
};

std::ostream& operator<<(std::ostream& os, const TMemoryDocument::TSel& s) {
  return os << "line " << s.Line << " [" << s.Start << "," << s.End << ")"
            << (s.CaretAtStart ? " caret at start" : "");
}

const std::vector<std::string> kFixture = {
    "i = I + ii",        // 0
    "call foo(i, x_i)",  // 1
    "i2 = i",            // 2
};

TSearchOptions Opts(std::string_view flags) {
  TSearchOptions o;
  for (char f : flags) switch (f) {
      case 'c':
        o.MatchCase = true;
        break;
      case 'w':
        o.WholeWord = true;
        break;
      case 'b':
        o.Backwards = true;
        break;
      case 'e':
        o.EntireScope = true;
        break;
      case 's':
        o.SelectedOnly = true;
        break;
      case 'r':
        o.Replace = true;
        break;
      case 'a':
        o.ReplaceAll = true;
        break;
      case 'p':
        o.Prompt = true;
        break;
    }
  return o;
}

TSelectionInfo Stream(TTextPoint a, TTextPoint b) {
  return {true, TSelectionKind::Stream, a, b, {}};
}

}  // namespace

TEST(TextSearch, FindSelectsTheFirstOccurrenceInTheRegion) {
  const TSelectionInfo none;
  const TSelectionInfo lines{true, TSelectionKind::Lines, {1, 3}, {2, 0}, {}};
  const TSelectionInfo column{
      true, TSelectionKind::Column, {0, 4}, {2, 6}, {{4, 6}, {4, 6}, {4, 6}}};
  const TSelectionInfo narrow{
      true, TSelectionKind::Column, {0, 4}, {2, 9}, {{4, 9}, {4, 9}, {4, 9}}};
  struct TCase {
    const char* name;
    const char* flags;
    const char* search;
    TTextPoint caret;
    TSelectionInfo selection;
    int found;
    TMemoryDocument::TSel selected;
  };
  const TCase cases[] = {
      {"entire scope", "e", "i", {2, 3}, none, 1, {0, 0, 1}},
      {"case ignored", "e", "I", {0, 0}, none, 1, {0, 0, 1}},
      {"match case", "ec", "I", {0, 0}, none, 1, {0, 4, 5}},
      {"whole word skips i2 and x_i", "ew", "i", {1, 0}, none, 1, {0, 0, 1}},
      {"from the caret", "", "i", {0, 1}, none, 1, {0, 4, 5}},
      {"from the caret in the middle of a match", "w", "ii", {0, 9}, none, 0, {}},
      {"from the caret, whole word, next line", "w", "i", {0, 5}, none, 1, {1, 9, 10}},
      {"backwards from the caret", "bw", "i", {2, 5}, none, 1, {1, 9, 10, true}},
      {"backwards entire scope", "bwe", "i", {0, 0}, none, 1, {2, 5, 6, true}},
      {"backwards from the caret, within the line", "b", "i", {0, 9}, none, 1, {0, 8, 9, true}},
      {"after the last occurrence from the caret", "w", "foo", {1, 9}, none, 0, {}},
      {"after the last occurrence, entire scope", "we", "foo", {1, 9}, none, 1, {1, 5, 8}},
      {"selected stream", "s", "i", {0, 0}, Stream({1, 10}, {2, 1}), 1, {1, 14, 15}},
      {"selected stream ends before the match", "s", "i", {0, 0}, Stream({1, 10}, {1, 14}), 0, {}},
      {"selected lines start at column 1", "s", "i", {0, 0}, lines, 1, {1, 9, 10}},
      {"selected lines, backwards", "sb", "i", {0, 0}, lines, 1, {1, 14, 15, true}},
      {"column block", "s", "i", {0, 0}, column, 1, {0, 4, 5}},
      {"column block, backwards", "sb", "i", {0, 0}, column, 1, {2, 5, 6, true}},
      {"column block cuts a match", "s", "ii", {0, 0}, narrow, 0, {}},
      {"selected only without a selection is global", "se", "x_i", {0, 0}, none, 1, {1, 12, 15}},
      {"empty search text", "e", "", {0, 0}, none, 0, {}},
      {"longer than any line", "e", "i = I + ii and more", {0, 0}, none, 0, {}},
  };
  for (const bool skipping : {false, true})
    for (const TCase& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (skipping ? ", passing over lines" : ""));
      TMemoryDocument doc(kFixture);
      doc.skipping = skipping;
      const TSearchOptions o = Opts(c.flags);
      const int found = SearchReplace(doc, SearchRegion(o, doc.LineCount(), c.caret, c.selection),
                                      c.search, "", o, TCodePage::Ansi, nullptr);
      EXPECT_EQ(found, c.found);
      EXPECT_EQ(doc.selection, c.selected);
      EXPECT_EQ(doc.lines, kFixture);
    }
}

TEST(TextSearch, ReplaceWithPromptAnswers) {
  using A = TReplaceAnswer;
  struct TCase {
    const char* name;
    const char* flags;
    const char* search;
    const char* replacement;
    std::vector<A> answers;
    int asked;
    int found;
    std::vector<std::string> after;
  };
  const TCase cases[] = {
      {"replace all without prompt",
       "ewa",
       "i",
       "j",
       {},
       0,
       4,
       {"j = j + ii", "call foo(j, x_i)", "i2 = j"}},
      {"replacement holding the search text",
       "ea",
       "i",
       "ii",
       {},
       0,
       8,
       {"ii = ii + iiii", "call foo(ii, x_ii)", "ii2 = ii"}},
      {"replacement to empty", "eac", "i", "", {}, 0, 7, {" = I + ", "call foo(, x_)", "2 = "}},
      {"backwards replace all",
       "ebwa",
       "i",
       "jj",
       {},
       0,
       4,
       {"jj = jj + ii", "call foo(jj, x_i)", "i2 = jj"}},
      {"replace asks for one occurrence",
       "ewrp",
       "i",
       "j",
       {A::Yes},
       1,
       1,
       {"j = I + ii", "call foo(i, x_i)", "i2 = i"}},
      {"replace without prompt does one",
       "ewr",
       "i",
       "j",
       {},
       0,
       1,
       {"j = I + ii", "call foo(i, x_i)", "i2 = i"}},
      {"replace, answer No", "ewrp", "i", "j", {A::No}, 1, 1, kFixture},
      {"replace all asks for each",
       "ewap",
       "i",
       "j",
       {A::Yes, A::No, A::Yes, A::No},
       4,
       4,
       {"j = I + ii", "call foo(j, x_i)", "i2 = i"}},
      {"yes to all replaces the rest silently",
       "ewap",
       "i",
       "j",
       {A::No, A::YesToAll},
       2,
       4,
       {"i = j + ii", "call foo(j, x_i)", "i2 = j"}},
      {"cancel keeps what was replaced",
       "ewap",
       "i",
       "j",
       {A::Yes, A::Cancel},
       2,
       2,
       {"j = I + ii", "call foo(i, x_i)", "i2 = i"}},
      {"nothing to replace", "ewa", "zz", "j", {}, 0, 0, kFixture},
  };
  for (const bool skipping : {false, true})
    for (const TCase& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (skipping ? ", passing over lines" : ""));
      TMemoryDocument doc(kFixture);
      doc.skipping = skipping;
      std::deque<A> answers(c.answers.begin(), c.answers.end());
      int asked = 0;
      auto prompt = [&] {
        ++asked;
        EXPECT_FALSE(answers.empty()) << "asked once too often";
        if (answers.empty()) return A::Cancel;
        const A a = answers.front();
        answers.pop_front();
        return a;
      };
      const TSearchOptions o = Opts(c.flags);
      const int found = SearchReplace(doc, SearchRegion(o, doc.LineCount(), {0, 0}, {}), c.search,
                                      c.replacement, o, TCodePage::Ansi, prompt);
      EXPECT_EQ(asked, c.asked);
      EXPECT_EQ(found, c.found);
      EXPECT_EQ(doc.lines, c.after);
      EXPECT_EQ(doc.depth, 0);
    }
}

TEST(TextSearch, LinesWithoutTheTextAreNotRead) {
  // Reading a line costs more than looking for the text in the whole document at once.
  std::vector<std::string> lines(3000, "      X = Y + 1");
  lines[2000] = "      CALL RELAX(U)";
  for (const char* flags : {"e", "eb", "ec", "ew", "ebw"}) {
    SCOPED_TRACE(flags);
    TMemoryDocument doc(lines);
    doc.skipping = true;
    const TSearchOptions o = Opts(flags);
    EXPECT_EQ(SearchReplace(doc, SearchRegion(o, doc.LineCount(), {0, 0}, {}), "RELAX", "", o,
                            TCodePage::Ansi, nullptr),
              1);
    EXPECT_EQ(doc.selection.Line, 2000);
    EXPECT_LE(doc.reads, 1);
  }
}

TEST(TextSearch, UndoStepsOfReplaceAll) {
  // Without a prompt the whole Replace all goes back in one step.
  TMemoryDocument all(kFixture);
  const TSearchOptions o = Opts("ea");
  SearchReplace(all, SearchRegion(o, 3, {}, {}), "i", "k", o, TCodePage::Ansi, nullptr);
  all.Undo();
  EXPECT_EQ(all.lines, kFixture);
  EXPECT_TRUE(all.undo.empty());

  // After Yes, Yes to All: the first replacement is a step of its own, the rest one more.
  TMemoryDocument asked(kFixture);
  std::deque<TReplaceAnswer> answers = {TReplaceAnswer::Yes, TReplaceAnswer::YesToAll};
  const TSearchOptions p = Opts("ewap");
  SearchReplace(asked, SearchRegion(p, 3, {}, {}), "i", "k", p, TCodePage::Ansi, [&] {
    const TReplaceAnswer a = answers.front();
    answers.pop_front();
    return a;
  });
  EXPECT_EQ(asked.lines, (std::vector<std::string>{"k = k + ii", "call foo(k, x_i)", "i2 = k"}));
  asked.Undo();
  EXPECT_EQ(asked.lines, (std::vector<std::string>{"k = I + ii", "call foo(i, x_i)", "i2 = i"}));
  asked.Undo();
  EXPECT_EQ(asked.lines, kFixture);
}

TEST(TextSearch, ReplaceAllSelectsOnlyTheLastOccurrence) {
  // Selecting every one of many replacements would scroll the view for each.
  TMemoryDocument doc(kFixture);
  const TSearchOptions o = Opts("ewa");
  SearchReplace(doc, SearchRegion(o, 3, {}, {}), "i", "abc", o, TCodePage::Ansi, nullptr);
  EXPECT_EQ(doc.selects, 1);
  EXPECT_EQ(doc.selection, (TMemoryDocument::TSel{2, 5, 8, false}));
}

TEST(TextSearch, ColumnBlockFollowsTheLengthOfReplacements) {
  // The rectangle covers bytes [0, 4) of each line; replacing "a" by "xyz" in it must still
  // stop at the block's right edge, which has moved two bytes to the right.
  TMemoryDocument doc({"aaaa a", "ba a a"});
  const TSelectionInfo block{true, TSelectionKind::Column, {0, 0}, {1, 4}, {{0, 4}, {0, 4}}};
  const TSearchOptions o = Opts("sa");
  EXPECT_EQ(
      SearchReplace(doc, SearchRegion(o, 2, {}, block), "a", "xyz", o, TCodePage::Ansi, nullptr),
      6);
  EXPECT_EQ(doc.lines, (std::vector<std::string>{"xyzxyzxyzxyz a", "bxyz xyz a"}));
}

TEST(TextSearch, LettersBeyondAsciiFollowTheDocumentsPage) {
  struct TCase {
    const char* name;
    TCodePage page;
    std::string line, search;
    bool matchCase, wholeWord;
    std::optional<int> at;
  };
  const TCase cases[] = {
      // 0x82 and 0x90 are e and E with acute accent in OEM 850.
      {"OEM accented letters ignore case", TCodePage::Oem, "caf\x90 x", "CAF\x82", false, false, 0},
      {"OEM accented letters with match case", TCodePage::Oem, "caf\x90 x", "caf\x82", true, false,
       std::nullopt},
      // In ANSI 0xC9 and 0xE9 are that pair; 0x82 is a low quotation mark, no letter.
      {"ANSI accented letters ignore case", TCodePage::Ansi, "CAF\xC9", "caf\xE9", false, false, 0},
      {"an accented letter joins a word in OEM", TCodePage::Oem, "caf\x82", "caf", false, true,
       std::nullopt},
      {"a quotation mark ends a word in ANSI", TCodePage::Ansi, "caf\x82", "caf", false, true, 0},
      {"a digit joins a word", TCodePage::Ansi, "x1 x", "x", false, true, 3},
      {"an underscore joins a word", TCodePage::Ansi, "x_ x", "x", false, true, 3},
      {"bytes 0x80-0xFF before the match", TCodePage::Oem, "\x80\x9F\xB0\xFF x", "X", false, true,
       5},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindInLine(c.line, 0, static_cast<int>(c.line.size()), c.search, c.matchCase,
                         c.wholeWord, false, c.page),
              c.at);
  }
}

TEST(TextSearch, PresetsFromTheEditor) {
  struct TCase {
    const char* name;
    bool selection, oneLine;
    std::string selected, line;
    int caret;
    TSearchPreset expected;
  };
  const TCase cases[] = {
      {"selection in one line", true, true, "foo(i", "call foo(i)", 0, {"foo(i", true}},
      {"selection over lines: the word at the caret",
       true,
       false,
       "x\ny",
       "call foo(i)",
       6,
       {"foo", true}},
      {"caret inside a word", false, false, "", "  ITER_MAX = 1", 5, {"ITER_MAX", false}},
      {"caret right after a word", false, false, "", "X = 1", 1, {"X", false}},
      {"caret on blanks", false, false, "", "X  = 1", 2, {"", false}},
      {"caret beyond the end of the line", false, false, "", "X", 40, {"X", false}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TSearchPreset p = SearchPreset(c.selection, c.oneLine, c.selected, c.line, c.caret);
    EXPECT_EQ(p.Text, c.expected.Text);
    EXPECT_EQ(p.SelectedText, c.expected.SelectedText);
  }
}
