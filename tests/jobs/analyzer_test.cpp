#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "jobs/analyzerhost.h"
#include "jobs/analyzerkeywords.h"
#include "jobs/analyzerrun.h"
#include "jobs/analyzethread.h"
#include "jobs/commandline.h"
#include "jobs/messagelist.h"
#include "jobs/outputthread.h"
#include "jobs/reportparser.h"
#include "jobs/testmainthread.h"
#include "platform/platform.h"
#include "support/files.h"
#include "support/tempdir.h"

using namespace vortan;
using vortan::test::TTempDir;
using vortan::test::TTestMainThread;

namespace {

const char* KindName(TMessageKind kind) {
  switch (kind) {
    case mkError:
      return "Error";
    case mkWarning:
      return "Warning";
    case mkMaybe:
      return "Maybe";
    case mkDetail:
      return "Detail";
    case mkLocation:
      return "Location";
    case mkUnclassified:
      return "Unclassified";
  }
  return "?";
}

using TNameOf = std::function<std::string(const TfrmEditor*)>;

void DumpLevel(std::ostream& out, const std::vector<TMessageNode>& nodes, const TNameOf& nameOf,
               int depth) {
  for (const TMessageNode& n : nodes) {
    out << std::string(depth * 2, ' ') << KindName(n.Data.Kind) << ' ' << n.Data.Line << ' '
        << n.Data.Column << ' ' << (n.Data.Editor ? nameOf(n.Data.Editor) : "-") << " | "
        << n.Data.Text << '\n';
    DumpLevel(out, n.Children, nameOf, depth + 1);
  }
}

// One line per entry, children indented, after a line with the counts.
std::string Dump(const std::vector<TMessageNode>& nodes, int errors, int hits,
                 const TNameOf& nameOf) {
  std::ostringstream out;
  out << "errors " << errors << " hits " << hits << '\n';
  DumpLevel(out, nodes, nameOf, 0);
  return out.str();
}

using vortan::test::ReadFile;

// Stand-ins for editor windows: their addresses serve as window references, never followed.
struct TFakeWindow {
  std::string file;
  std::string caption;
};

class TFakeHost : public TAnalyzerHost {
 public:
  TFakeHost() {
    list.WindowRank = [this](const TfrmEditor* e) -> std::uint64_t {
      for (std::size_t i = 0; i < windows.size(); ++i)
        if (Ref(windows[i]) == e) return i;
      return windows.size();
    };
  }

  TfrmEditor* AddWindow(const std::string& file, const std::string& caption) {
    windows.push_back({file, caption});
    return Ref(windows.back());
  }
  static TfrmEditor* Ref(TFakeWindow& w) { return reinterpret_cast<TfrmEditor*>(&w); }
  std::string NameOf(const TfrmEditor* e) const {
    return reinterpret_cast<const TFakeWindow*>(e)->caption;
  }

  TAnalyzerKeywords Keywords() override { return keywords; }
  TfrmEditor* EditorFor(const std::string& file) override {
    asked.push_back(file);
    if (!file.empty())
      for (TFakeWindow& w : windows)
        if (!w.file.empty() && platform::IsSameFile(w.file, file)) return Ref(w);
    const std::string caption =
        file.empty() ? "Source" + std::to_string(windows.size() + 1) + ".f" : file;
    return AddWindow(file, caption);
  }
  std::string Caption(TfrmEditor* editor) override { return NameOf(editor); }
  void BeginMessages() override {
    ++begins;
    list.BeginUpdate();
  }
  void AddMessages(std::vector<TMessageNode> entries) override {
    ++batches;
    if (begins == ends) ++addsOutsideBracket;
    list.Add(std::move(entries));
  }
  void EndMessages() override {
    ++ends;
    list.EndUpdate();
  }
  void Progress(int lines, int hits, int errors) override { lastProgress = {lines, hits, errors}; }

  TMessageList list;
  TAnalyzerKeywords keywords;
  std::deque<TFakeWindow> windows;
  std::vector<std::string> asked;
  int begins = 0;
  int ends = 0;
  int batches = 0;
  int addsOutsideBracket = 0;
  std::vector<int> lastProgress;
};

struct TOutcome {
  TJobResult result = jrUnknownFailure;
  int successes = 0;
  int errors = 0;
  int errorCount = 0;
  int hitCount = 0;
  bool finished = false;
};

class AnalyzeJobTest : public ::testing::Test {
 protected:
  // Runs the parse job on `report` for the window `editor` and waits for its end.
  TOutcome Parse(const std::string& report, TfrmEditor* editor,
                 const std::function<void(TAnalyzeThread&)>& configure = {}) {
    TOutcome out;
    auto* job = new TAnalyzeThread(ui_.Dispatcher(), &host_);
    job->SetReport(report);
    job->Editor = editor;
    if (configure) configure(*job);
    auto record = [&out](TBaseThread& t) {
      auto& j = static_cast<TAnalyzeThread&>(t);
      out.result = j.ResultCode;
      out.errorCount = j.ErrorCount;
      out.hitCount = j.HitCount;
    };
    job->OnSuccess = [&out, record](TBaseThread& t) {
      ++out.successes;
      record(t);
    };
    job->OnError = [&out, record](TBaseThread& t) {
      ++out.errors;
      record(t);
    };
    job->OnFinished = [&out](TBaseThread&) { out.finished = true; };
    job->Start();
    EXPECT_TRUE(ui_.RunUntil([&] { return out.finished; }));
    return out;
  }

  std::string DumpTree(const TOutcome& out) const {
    return Dump(host_.list.Top(), out.errorCount, out.hitCount,
                [this](const TfrmEditor* e) { return host_.NameOf(e); });
  }

  TTestMainThread ui_;
  TFakeHost host_;
};

// ---------------------------------------------------------------------------------------------
// The grammar, line by line.

struct TGrammarCase {
  const char* name;
  std::vector<std::string> lines;
  const char* expected;  // Dump in reading order; every file is shown under its own name
};

std::string ParseToDump(const std::vector<std::string>& lines, TAnalyzerKeywords keywords = {}) {
  std::map<std::string, int> files;
  TReportParser parser(std::move(keywords), {"Error", "Warning", "May be", "", "", "", ""},
                       [&files](const std::string& file) {
                         // Any distinct non-null reference per file will do.
                         auto it = files.emplace(file, static_cast<int>(files.size()) + 1).first;
                         return TReportParser::TResolved{
                             reinterpret_cast<TfrmEditor*>(static_cast<std::uintptr_t>(it->second)),
                             file};
                       });
  for (const std::string& line : lines) parser.Parse(line);
  std::map<std::uintptr_t, std::string> names;
  for (const auto& [file, id] : files) names[id] = file;
  return Dump(parser.TakeAll(), parser.ErrorCount(), parser.HitCount(),
              [&names](const TfrmEditor* e) { return names[reinterpret_cast<std::uintptr_t>(e)]; });
}

const TGrammarCase kGrammar[] = {
    {"LineAndColumnThenKeyword",
     {R"("a.f", line 12 col 7: Warning: real X truncated to intg I)"},
     "errors 0 hits 1\n"
     "Warning 12 7 a.f | [Warning] a.f(12): real X truncated to intg I\n"},
    {"KeywordRightAfterFileKeepsKeywordAndHasNoLine",
     {R"("a.f": Nonportable usage: File contains tabs)"},
     "errors 0 hits 1\n"
     "Warning -1 0 a.f | [Warning] a.f(): Nonportable usage: File contains tabs\n"},
    {"KeywordTextBeforeSecondColonIsClassifiedInAnyCase",
     {R"("a.f", line 3: wARNING in module DEMO: Variables used before set)",
      R"("a.f", near line 17: ERROR: syntax error)",
      R"("a.f", line 4 col 2: Possibly misleading appearance: embedded space)"},
     "errors 1 hits 2\n"
     "Warning 3 0 a.f | [Warning] a.f(3): Variables used before set\n"
     "Error 17 0 a.f | [Error] a.f(17): syntax error\n"
     "Maybe 4 2 a.f | [May be] a.f(4): embedded space\n"},
    {"UnknownKeywordHasEmptyLabelAndCountsNothing",
     {R"("a.f", line 4: Note: nothing to see)"},
     "errors 0 hits 0\n"
     "Unclassified 4 0 a.f | [] a.f(4): nothing to see\n"},
    {"DetailsHangBelowTheLastEntryLocationsBelowTheLastMessage",
     {R"("a.f", line 10: Warning: Subprogram SUB argument mismatch at position 1:)",
      R"("a.f", line 10:    Dummy arg K is type intg)", R"("a.f", line 6: (dummy argument))",
      R"("a.f", line 10:  and at position 2:)", R"("a.f", line 11:    Dummy arg Y is type real)",
      R"("a.f", line 10:  and at position 3:)"},
     "errors 0 hits 1\n"
     "Warning 10 0 a.f | [Warning] a.f(10): Subprogram SUB argument mismatch at position 1:\n"
     "  Detail 10 0 a.f | Dummy arg K is type intg\n"
     "  Detail 6 0 a.f | (dummy argument)\n"
     "  Location 10 0 a.f | (10): and at position 2:\n"
     "    Detail 11 0 a.f | Dummy arg Y is type real\n"
     "  Location 10 0 a.f | (10): and at position 3:\n"},
    {"WordListsTakeTheValuesOfTheMessageReadLast",
     {R"("a.f", line 3 col 5: Warning: Variables declared but never referenced:)",
      "    ALPHA BETA  GAMMA"},
     "errors 0 hits 1\n"
     "Warning 3 5 a.f | [Warning] a.f(3): Variables declared but never referenced:\n"
     "  Warning 3 5 a.f | ALPHA\n"
     "  Warning 3 5 a.f | BETA\n"
     "  Warning 3 5 a.f | \n"
     "  Warning 3 5 a.f | GAMMA\n"},
    {"WordListBeforeAnyMessageIsTopLevelWithoutWindow",
     {"    Names X", R"("a.f", line 2: Error: bad)"},
     "errors 1 hits 0\n"
     "Error 0 0 - | Names\n"
     "Error 0 0 - | X\n"
     "Error 2 0 a.f | [Error] a.f(2): bad\n"},
    {"StrayDetailAndLocationBeforeAnyMessageAreTopLevel",
     {R"("a.f", line 6:    lone detail)", R"("a.f", line 7:  lone place)",
      R"("a.f", line 7:    below the place)"},
     "errors 0 hits 0\n"
     "Detail 6 0 a.f | lone detail\n"
     "Location 7 0 a.f | (7): lone place\n"
     "  Detail 7 0 a.f | below the place\n"},
    {"LinesOutsideTheGrammarAreDropped",
     {"FTNCHEK Version 3.3 November 2004", "File a.f:", "      5       I = X", "                ^",
      " 1 syntax error detected in file a.f", "    5 digits first", "     five blanks", "   three",
      "", "Warning near line 5 file a.f: novice form", R"("unterminated file name)",
      R"("a.f" has no digit: at all)", R"("a.f", line 5)", R"("a.f", line 5 col 9 and no colon)",
      R"("a.f", line 3: no second colon)"},
     "errors 0 hits 0\n"},
    {"FileNamesWithBlanksAndQuotes",
     {R"("/src/my dir/a"b c.f", line 5 col 9: Warning: quoted)",
      R"("/src/my dir/x.f": Warning: no line)"},
     "errors 0 hits 2\n"
     "Warning 5 9 /src/my dir/a\"b c.f | [Warning] /src/my dir/a\"b c.f(5): quoted\n"
     "Warning -1 0 /src/my dir/x.f | [Warning] /src/my dir/x.f(): Warning: no line\n"},
    {"NumbersBeyond32BitsMeanNoLineOrColumn",
     {R"("a.f", line 2147483647 col 2147483647: Error: largest)",
      R"("a.f", line 2147483648 col 99999999999999999999: Error: too large)"},
     "errors 2 hits 0\n"
     "Error 2147483647 2147483647 a.f | [Error] a.f(2147483647): largest\n"
     "Error -1 0 a.f | [Error] a.f(2147483648): too large\n"},
    {"EveryDigitBeforeTheColonJoinsTheColumn",
     {R"("a.f", line 0012 col 3 x4: Warning: joined)"},
     "errors 0 hits 1\n"
     "Warning 12 34 a.f | [Warning] a.f(0012): joined\n"},
};

void PrintTo(const TGrammarCase& c, std::ostream* os) { *os << c.name; }

class GrammarTest : public ::testing::TestWithParam<TGrammarCase> {};

TEST_P(GrammarTest, GivesTheEntries) {
  EXPECT_EQ(ParseToDump(GetParam().lines), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Report, GrammarTest, ::testing::ValuesIn(kGrammar),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GrammarEdgeTest, EmptyKeywordClassifiesEveryMessageByItsList) {
  TAnalyzerKeywords k;
  k.Maybe = {""};
  EXPECT_EQ(ParseToDump({R"("a.f", line 1: Whatever: text)"}, k),
            "errors 0 hits 1\nMaybe 1 0 a.f | [May be] a.f(1): text\n");
  // With an empty keyword the first form matches even an empty text.
  EXPECT_EQ(ParseToDump({R"("a.f": )"}, k), "errors 0 hits 1\nMaybe -1 0 a.f | [May be] a.f(): \n");
}

TEST(GrammarEdgeTest, LongLinesAreCutNotFatal) {
  const std::string longText(100 * 1024, 'x');
  const std::string dump =
      ParseToDump({R"("a.f", line 1: Warning: )" + longText,
                   R"("a.f", line )" + std::string(100 * 1024, '7') + ": Error: " + longText,
                   "    " + std::string(50 * 1024, 'w') + " " + std::string(50 * 1024, 'v')});
  std::istringstream lines(dump);
  std::string counts, first, word1, word2, second;
  std::getline(lines, counts);
  std::getline(lines, first);
  std::getline(lines, second);
  EXPECT_EQ(counts, "errors 1 hits 1");
  // The characters after the colon are cut first, the blank after it included, then trimmed.
  const std::string cut(TReportParser::MaxMessage - 1, 'x');
  EXPECT_EQ(first, "Warning 1 0 a.f | [Warning] a.f(1): " + cut);
  EXPECT_EQ(second.substr(0, 13), "Error -1 0 a.");
  EXPECT_EQ(second.substr(second.rfind(' ') + 1), cut);
  std::getline(lines, word1);
  std::getline(lines, word2);
  EXPECT_EQ(word1, "  Error -1 0 a.f | " + std::string(50 * 1024, 'w'));
  EXPECT_EQ(word2, "  Error -1 0 a.f | " + std::string(50 * 1024, 'v'));
}

TEST(ReportLinesTest, SplitAtCrLfCrOrLf) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitReportLines(""), V{});
  EXPECT_EQ(SplitReportLines("a\r\nb\rc\nd"), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitReportLines("a\r\n"), V{"a"});
  EXPECT_EQ(SplitReportLines("\n\r\n"), (V{"", ""}));
  EXPECT_EQ(SplitReportLines("a\n\nb\r\r\n"), (V{"a", "", "b", ""}));
}

TEST(ClassifyTest, ListsInOrderWarningErrorMaybeIgnoringCase) {
  struct TCase {
    const char* text;
    TAnalyzerKeywords keywords;
    bool matches;
    TMessageKind kind;  // starts as mkDetail
  };
  TAnalyzerKeywords overlapping;
  overlapping.Warning = {"ERR"};
  const TCase cases[] = {
      {"Warning in module X", {}, true, mkWarning},
      {"nonportable usage", {}, true, mkWarning},
      {"Error", {}, true, mkError},
      {"possibly misleading", {}, true, mkMaybe},
      {"Err", {}, false, mkDetail},  // shorter than the keyword
      {"Note", {}, false, mkDetail},
      {"Error: x", overlapping, true, mkWarning},
  };
  for (const TCase& c : cases) {
    TMessageKind kind = mkDetail;
    EXPECT_EQ(Classify(c.text, c.keywords, kind), c.matches) << c.text;
    EXPECT_EQ(kind, c.kind) << c.text;
  }
}

// ---------------------------------------------------------------------------------------------
// The order of the tree.

TEST(MessageOrderTest, ComparesByKindThenWindowThenLine) {
  TfrmEditor* active = reinterpret_cast<TfrmEditor*>(std::uintptr_t{0x100});
  TfrmEditor* first = reinterpret_cast<TfrmEditor*>(std::uintptr_t{0x300});
  TfrmEditor* second = reinterpret_cast<TfrmEditor*>(std::uintptr_t{0x200});
  TMessageOrder order;
  order.Active = active;
  order.WindowRank = [&](const TfrmEditor* e) -> std::uint64_t { return e == first ? 1 : 2; };
  auto M = [](TMessageKind k, TfrmEditor* e, int line) { return TMessageData{"", e, line, 0, k}; };
  struct TCase {
    TMessageData a, b;
    int sign;
  };
  const TCase cases[] = {
      {M(mkError, second, 90), M(mkWarning, active, 1), -1},
      {M(mkWarning, second, 90), M(mkMaybe, active, 1), -1},
      {M(mkMaybe, active, 9), M(mkUnclassified, active, 1), -1},
      {M(mkWarning, active, 90), M(mkWarning, first, 1), -1},
      {M(mkWarning, first, 90), M(mkWarning, second, 1), -1},
      {M(mkWarning, nullptr, 1), M(mkWarning, second, 90), 1},
      {M(mkError, active, -1), M(mkError, active, 1), -1},
      {M(mkError, active, 4), M(mkError, active, 4), 0},
      {M(mkDetail, active, 9), M(mkDetail, first, 1), 0},
      {M(mkLocation, active, 9), M(mkUnclassified, active, 1), 0},
  };
  for (const TCase& c : cases) {
    const int r = CompareMessages(c.a, c.b, order);
    EXPECT_EQ((r > 0) - (r < 0), c.sign)
        << int(c.a.Kind) << ' ' << c.a.Line << " / " << int(c.b.Kind) << ' ' << c.b.Line;
    const int back = CompareMessages(c.b, c.a, order);
    EXPECT_EQ((back > 0) - (back < 0), -c.sign);
  }
}

class MessageListTest : public ::testing::Test {
 protected:
  MessageListTest() {
    a_ = host_.AddWindow("/p/a.f", "a.f");
    b_ = host_.AddWindow("/p/b.f", "b.f");
    list_.WindowRank = host_.list.WindowRank;
    list_.ActiveEditor = [this] { return active_; };
    list_.OnChanged = [this] { ++changes_; };
  }
  static TMessageNode N(TMessageKind k, TfrmEditor* e, int line, const std::string& text,
                        std::vector<TMessageNode> children = {}) {
    return TMessageNode{TMessageData{text, e, line, 0, k}, std::move(children)};
  }
  std::string Texts() const {
    std::string s;
    std::function<void(const std::vector<TMessageNode>&, int)> walk =
        [&](const std::vector<TMessageNode>& nodes, int depth) {
          for (const TMessageNode& n : nodes) {
            s += std::string(depth, '>') + n.Data.Text + ' ';
            walk(n.Children, depth + 1);
          }
        };
    walk(list_.Top(), 0);
    return s;
  }

  TFakeHost host_;
  TfrmEditor* a_;
  TfrmEditor* b_;
  const TfrmEditor* active_ = nullptr;
  TMessageList list_;
  int changes_ = 0;
};

TEST_F(MessageListTest, SortsWhenTheBracketClosesKeepingTiesAndChildrenInReadingOrder) {
  active_ = b_;
  list_.BeginUpdate();
  list_.Add({N(mkWarning, a_, 3, "wa3"), N(mkUnclassified, a_, 1, "u1"),
             N(mkWarning, b_, 7, "wb7",
               {N(mkDetail, b_, 9, "d9"), N(mkLocation, b_, 2, "l2", {N(mkDetail, b_, 1, "d1")}),
                N(mkDetail, b_, 1, "d1b")}),
             N(mkMaybe, b_, 1, "mb1"), N(mkError, a_, 5, "ea5"), N(mkWarning, b_, -1, "wb-"),
             N(mkWarning, b_, 7, "wb7second"), N(mkError, nullptr, 0, "words")});
  list_.Add(N(mkError, b_, 8, "eb8"));
  EXPECT_EQ(changes_, 0);
  EXPECT_EQ(list_.Top().front().Data.Text, "wa3");  // nothing is sorted inside the bracket
  list_.EndUpdate();
  EXPECT_EQ(changes_, 1);
  EXPECT_EQ(Texts(), "eb8 ea5 words wb- wb7 >d9 >l2 >>d1 >d1b wb7second wa3 mb1 u1 ");
  EXPECT_EQ(list_.FirstError(), 0);

  // Sorting again with another active window follows it.
  active_ = a_;
  list_.BeginUpdate();
  list_.EndUpdate();
  EXPECT_EQ(Texts().substr(0, 16), "ea5 eb8 words wa");
}

TEST_F(MessageListTest, RemovingAWindowsMessagesLeavesNoReferenceToIt) {
  list_.Add({N(mkWarning, a_, 3, "wa3", {N(mkDetail, b_, 4, "db4")}),
             N(mkWarning, b_, 1, "wb1", {N(mkDetail, b_, 2, "db2")})});
  list_.RemoveEditorMessages(b_);
  ASSERT_EQ(list_.Top().size(), 1u);
  EXPECT_EQ(list_.Top()[0].Data.Editor, a_);
  EXPECT_EQ(list_.Top()[0].Children[0].Data.Text, "db4");
  EXPECT_EQ(list_.Top()[0].Children[0].Data.Editor, nullptr);
  EXPECT_EQ(list_.FirstError(), -1);
  list_.Clear();
  EXPECT_TRUE(list_.Empty());
}

// ---------------------------------------------------------------------------------------------
// The parse job.

std::string CaseDir(const std::string& name) {
  return std::string(VORTAN_TEST_DATA) + "/ftnchek/" + name;
}

TEST_F(AnalyzeJobTest, RealReportGivesTheExpectedEntries) {
  const std::string dir = CaseDir("mixed");
  TfrmEditor* editor = host_.AddWindow(dir + "/input.f", "input.f");
  host_.list.ActiveEditor = [editor] { return editor; };
  const TOutcome out = Parse(ReadFile(dir + "/report.txt"), editor,
                             [&](TAnalyzeThread& job) { job.EditorFileName = dir + "/input.f"; });
  EXPECT_EQ(out.result, jrOK);
  EXPECT_EQ(out.successes, 1);
  EXPECT_EQ(DumpTree(out), ReadFile(dir + "/expected"));
  // The report names the file without its folder: it is looked for once, beside the source.
  EXPECT_EQ(host_.asked, std::vector<std::string>{dir + "/input.f"});
  EXPECT_EQ(host_.windows.size(), 1u);
  EXPECT_EQ(host_.begins, 1);
  EXPECT_EQ(host_.ends, 1);
  EXPECT_EQ(host_.addsOutsideBracket, 0);
  EXPECT_EQ(host_.lastProgress, (std::vector<int>{28, 7, 1}));
}

TEST_F(AnalyzeJobTest, InstalledAnalyzerOnASourcePathWithBlanksAndQuotes) {
  const std::string analyzer = "/usr/bin/ftnchek";
  if (!platform::FileExists(analyzer)) GTEST_SKIP() << "no " << analyzer;
  TTempDir tmp;
  const std::string source =
      tmp.Write("my \"src\" dir/input.f", ReadFile(CaseDir("mixed") + "/input.f"));

  bool finished = false;
  std::string report;
  TJobResult captured = jrUnknownFailure;
  auto* capture = new TOutputThread(ui_.Dispatcher());
  MakeAnalyzerRun(analyzer, "-nonovice -quiet -wrap=999 %s %s", "", source, tmp.Path())
      .ApplyTo(*capture, source);
  capture->OnSuccess = [&](TBaseThread& t) {
    captured = t.ResultCode;
    report = static_cast<TOutputThread&>(t).Output;
  };
  capture->OnFinished = [&](TBaseThread&) { finished = true; };
  capture->Start();
  ASSERT_TRUE(ui_.RunUntil([&] { return finished; }));
  ASSERT_EQ(captured, jrOK);

  TfrmEditor* editor = host_.AddWindow(source, "input.f");
  host_.list.ActiveEditor = [editor] { return editor; };
  const TOutcome out =
      Parse(report, editor, [&](TAnalyzeThread& job) { job.EditorFileName = source; });
  EXPECT_EQ(out.result, jrOK);
  EXPECT_EQ(DumpTree(out), ReadFile(CaseDir("mixed") + "/expected"));
  // The report names the file exactly as it was passed: it is the analyzed window's own.
  EXPECT_TRUE(host_.asked.empty());
}

// The tree shows its entries as UTF-8; a translation's labels come from a Windows-1252 file.
TEST_F(AnalyzeJobTest, TranslatedLabelsReachTheEntriesDecoded) {
  TParlax language;
  language.LoadFromText("STRINGS {\n  strMayBe = Poss\xedvel\n  strWarning = Aten\xe7\xe3o\n}\n");
  language.Active = true;
  LoadStringTable(language);
  struct TReset {
    ~TReset() { ResetStringTable(); }
  } reset;
  TfrmEditor* editor = host_.AddWindow("/p/a.f", "a.f");
  host_.list.ActiveEditor = [editor] { return editor; };
  const TOutcome out = Parse(
      "\"a.f\", line 4 col 2: Possibly misleading appearance: embedded space\n"
      "\"a.f\", line 5: Warning: unused\n",
      editor, [](TAnalyzeThread& job) { job.EditorFileName = "/p/a.f"; });
  EXPECT_EQ(out.result, jrOK);
  std::vector<std::string> labels;
  for (const TMessageNode& n : host_.list.Top())
    labels.push_back(n.Data.Text.substr(0, n.Data.Text.find(' ')));
  EXPECT_EQ(labels, (std::vector<std::string>{"[Aten\u00e7\u00e3o]", "[Poss\u00edvel]"}));
}

TEST_F(AnalyzeJobTest, EmptyReportIsNoReport) {
  const TOutcome out = Parse("", nullptr);
  EXPECT_EQ(out.result, jrNoReport);
  EXPECT_EQ(out.errors, 1);
  EXPECT_EQ(host_.begins, 0);
}

TEST_F(AnalyzeJobTest, MessagesGoToTheTemporaryCopysWindowOrToBackgroundWindows) {
  TTempDir tmp;
  const std::string original = tmp.Write("src/prog.f", "");
  const std::string copy = tmp.Write("src/~prog.f", "");
  const std::string other = tmp.Write("inc/common.inc", "");
  const std::string beside = tmp.Write("src/beside.inc", "");
  TfrmEditor* editor = host_.AddWindow(original, "prog.f");
  const std::string report = "\"" + copy +
                             "\", line 1: Error: in the copy\r\n"
                             "\"" +
                             other +
                             "\", line 2: Warning: in another folder\r\n"
                             "\"" +
                             other +
                             "\", line 3: Warning: again there\r\n"
                             "\"beside.inc\", line 4: Warning: no folder given\r\n"
                             "\"" +
                             tmp.Path() +
                             "/gone.f\", line 5: Warning: file is missing\r\n"
                             "\"" +
                             tmp.Path() + "/gone.f\", line 6: Warning: still missing\r\n";
  host_.list.ActiveEditor = [editor] { return editor; };
  const TOutcome out = Parse(report, editor, [&](TAnalyzeThread& job) {
    job.EditorModified = true;
    job.EditorFileName = original;
    job.EditorTempName = copy;
  });
  EXPECT_EQ(out.result, jrOK);
  EXPECT_EQ(DumpTree(out),
            "errors 1 hits 5\n"
            "Error 1 0 prog.f | [Error] prog.f(1): in the copy\n"
            "Warning 2 0 " +
                other +
                " | [Warning] common.inc(2): in another folder\n"
                "Warning 3 0 " +
                other +
                " | [Warning] common.inc(3): again there\n"
                "Warning 4 0 " +
                beside +
                " | [Warning] beside.inc(4): no folder given\n"
                "Warning 5 0 Source4.f | [Warning] Source4.f(5): file is missing\n"
                "Warning 6 0 Source4.f | [Warning] Source4.f(6): still missing\n");
  // Each file is looked for once; a missing one gives one new untitled window.
  EXPECT_EQ(host_.asked, (std::vector<std::string>{other, beside, ""}));
}

TEST_F(AnalyzeJobTest, UntitledWindowWithoutCopyGetsNewWindowForNamesWithoutFolder) {
  TfrmEditor* editor = host_.AddWindow("", "Source1.f");
  const TOutcome out = Parse("\"x.f\", line 1: Warning: w\n", editor);
  EXPECT_EQ(out.result, jrOK);
  EXPECT_EQ(host_.asked, std::vector<std::string>{""});
  EXPECT_EQ(DumpTree(out), "errors 0 hits 1\nWarning 1 0 Source2.f | [Warning] Source2.f(1): w\n");
}

TEST_F(AnalyzeJobTest, ManyMessagesArriveInFewBatchesAndInOrder) {
  TfrmEditor* editor = host_.AddWindow("/p/big.f", "big.f");
  std::string report;
  const int messages = 5000;
  for (int i = 1; i <= messages; ++i)
    report += "\"/p/big.f\", line " + std::to_string(i) + ": Warning: w\n\"/p/big.f\", line " +
              std::to_string(i) + ":     detail\n";
  host_.list.ActiveEditor = [editor] { return editor; };
  const TOutcome out =
      Parse(report, editor, [](TAnalyzeThread& job) { job.EditorFileName = "/p/big.f"; });
  EXPECT_EQ(out.hitCount, messages);
  ASSERT_EQ(host_.list.Top().size(), static_cast<std::size_t>(messages));
  for (int i = 0; i < messages; ++i) {
    ASSERT_EQ(host_.list.Top()[i].Data.Line, i + 1);
    ASSERT_EQ(host_.list.Top()[i].Children.size(), 1u);
  }
  EXPECT_GT(host_.batches, 1);
  EXPECT_LE(host_.batches, 2 * messages / static_cast<int>(TAnalyzeThread::BatchSize) + 1);
  EXPECT_EQ(host_.addsOutsideBracket, 0);
}

TEST_F(AnalyzeJobTest, StopBeforeTheFirstLineEndsTerminatedWithTheBracketClosed) {
  const TOutcome out =
      Parse("\"a.f\", line 1: Error: e\n", nullptr, [](TAnalyzeThread& job) { job.RequestStop(); });
  EXPECT_EQ(out.result, jrTerminated);
  EXPECT_EQ(out.errors, 1);
  EXPECT_EQ(host_.begins, 1);
  EXPECT_EQ(host_.ends, 1);
  EXPECT_TRUE(host_.list.Empty());
}

TEST_F(AnalyzeJobTest, HostileReportEndsWell) {
  const std::string huge(100 * 1024, '9');
  const std::string report = "\"a.f\", line " + huge + " col " + huge +
                             ": Error: " + std::string(100 * 1024, 'e') + "\r\n" +
                             std::string(100 * 1024, ' ') + "\r\n\"" + std::string(100 * 1024, 'f');
  const TOutcome out = Parse(report, nullptr);
  EXPECT_EQ(out.result, jrOK);
  EXPECT_EQ(out.errorCount, 1);
  ASSERT_EQ(host_.list.Top().size(), 1u);
  EXPECT_EQ(host_.list.Top()[0].Data.Line, -1);
  EXPECT_EQ(host_.list.Top()[0].Data.Column, 0);
}

// ---------------------------------------------------------------------------------------------
// The analyzer's command line.

TEST(AnalyzerRunTest, DefaultFormatQuotesProgramAndSource) {
  const TAnalyzerRun run =
      MakeAnalyzerRun("/opt/vortan/Bin/ftnchek", "-nonovice -quiet -wrap=999 %s %s", "",
                      "/home/u/my src/a\"b.f", "/opt/vortan/");
  EXPECT_EQ(run.ProgramPath, "\"/opt/vortan/Bin/ftnchek\"");
  EXPECT_EQ(run.Parameters, "-nonovice -quiet -wrap=999  \"/home/u/my src/a\\\"b.f\"");
  EXPECT_EQ(run.WorkingDirectory, "/opt/vortan/");
  EXPECT_EQ(SplitCommandLine(run.ProgramPath + " " + run.Parameters),
            (std::vector<std::string>{"/opt/vortan/Bin/ftnchek", "-nonovice", "-quiet", "-wrap=999",
                                      "/home/u/my src/a\"b.f"}));
}

TEST(AnalyzerRunTest, AdditionalParametersComeFirstAndMissingAnalyzerCannotStart) {
  const TAnalyzerRun run = MakeAnalyzerRun("", "%s -x %s", "-usage=none -port", "/s.f", "/i/");
  EXPECT_EQ(run.ProgramPath, "\"\"");
  EXPECT_EQ(run.Parameters, "-usage=none -port -x \"/s.f\"");
}

}  // namespace
