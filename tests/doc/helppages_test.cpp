// The help pages and manuals as the layout step puts them into a fresh installation tree: every
// Help entry finds its file, every internal link, anchor and picture of the two pages resolves,
// and the page generator and the manual-page step behave on small inputs.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "support/files.h"
#include "support/tempdir.h"
#include "system/vortanextension.h"
#include "system/vortanpath.h"

namespace fs = std::filesystem;

namespace vortan {
namespace {

using test::TTempDir;

using vortan::test::ReadFile;

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

/// Runs a command; its output (standard output and error) goes to `out`. Returns the exit code.
int RunCommand(const std::string& command, std::string* out = nullptr) {
  std::string text;
  FILE* p = ::popen((command + " 2>&1").c_str(), "r");
  if (p == nullptr) return -1;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
  const int status = ::pclose(p);
  if (out) *out = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string CMake(const std::string& defines, const std::string& script) {
  return Quoted(VORTAN_CMAKE) + " " + defines + " -P " +
         Quoted(std::string(VORTAN_SOURCE_DIR) + "/cmake/" + script);
}

// One layout of a fresh tree for the whole suite: the step is what the build runs.
class HelpTree : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    tree_ = new TTempDir;
    layoutOutput_ = new std::string;
    layoutCode_ = RunCommand(
        CMake("-DTREE=" + Quoted(tree_->Path()) + " -DSOURCE_DIR=" + Quoted(VORTAN_SOURCE_DIR),
              "layout.cmake"),
        layoutOutput_);
  }
  static void TearDownTestSuite() {
    delete tree_;
    delete layoutOutput_;
  }
  void SetUp() override { ASSERT_EQ(layoutCode_, 0) << *layoutOutput_; }
  static std::string Tree(const std::string& rel) { return tree_->Path() + "/" + rel; }

  static TTempDir* tree_;
  static std::string* layoutOutput_;
  static int layoutCode_;
};
TTempDir* HelpTree::tree_ = nullptr;
std::string* HelpTree::layoutOutput_ = nullptr;
int HelpTree::layoutCode_ = -1;

TEST_F(HelpTree, EveryHelpEntryResolvesToAnExistingFileOfTheTree) {
  TTempDir home;
  TSettingsStore store;
  ASSERT_TRUE(store.Open(home / "store.sqlite").Ok);
  {
    TVortanPath paths(store, tree_->Path() + "/");
    TVortanExtension files(paths, store);
    const std::map<int, std::string> expected = {
        {sidFtnchekManualExtension, "Doc/Ftnchek/index.html"},
        {sidG77ManualExtension, "Doc/G77/g77.html"},
        {sidGDBManualExtension, "Doc/GDB/gdb.html"},
        {sidHelpExtension, "Vortan2.html"},
        {sidTutorialExtension, "Tutorial.html"},
    };
    for (const auto& [id, rel] : expected) {
      SCOPED_TRACE(rel);
      const std::string file = files.GetExtension(id);
      EXPECT_EQ(fs::path(file).lexically_normal(), fs::path(Tree(rel)).lexically_normal());
      // A page, not an empty placeholder nor a dangling link.
      std::error_code ec;
      EXPECT_GT(fs::file_size(file, ec), 1000u) << ec.message();
      std::string text = ReadFile(file);
      for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      EXPECT_NE(text.find("<html"), std::string::npos);
    }
  }
  store.Close();
}

TEST_F(HelpTree, PagesKeepNoMarkerAndShowTheExamplesAndShortcutsOfTheSources) {
  const std::string manual = ReadFile(Tree("Vortan2.html"));
  const std::string tutorial = ReadFile(Tree("Tutorial.html"));
  EXPECT_EQ(manual.find("<!--#"), std::string::npos);
  EXPECT_EQ(tutorial.find("<!--#"), std::string::npos);
  // The shortcut table is read from the language template.
  EXPECT_NE(manual.find("<td>Run</td><td>Run</td><td><kbd>F9</kbd></td>"), std::string::npos);
  EXPECT_NE(manual.find("<td>Edit</td><td>Toggle Bookmarks 3</td><td><kbd>Shift+Ctrl+3</kbd>"),
            std::string::npos);
  // Every example file appears in the page as it stands, escaped for HTML.
  const std::string examples = std::string(VORTAN_SOURCE_DIR) + "/resources/doc/examples";
  for (const auto& e : fs::directory_iterator(examples)) {
    SCOPED_TRACE(e.path().filename().string());
    std::string text = ReadFile(e.path().string());
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"&", "&amp;"}, {"<", "&lt;"}, {">", "&gt;"}}) {
      std::string out;
      for (size_t i = 0;;) {
        const size_t j = text.find(from, i);
        out += text.substr(i, j - i);
        if (j == std::string::npos) break;
        out += to;
        i = j + from.size();
      }
      text = out;
    }
    while (!text.empty() && text.back() == '\n') text.pop_back();
    EXPECT_NE(tutorial.find(text), std::string::npos);
  }
}

// Every href and src of both pages that is not a web address names an existing file, and its
// #anchor an id of that file; no page has one id twice.
TEST_F(HelpTree, InternalLinksAnchorsAndPicturesResolve) {
  const std::regex link(R"re((href|src)="([^"]*)")re");
  const std::regex id(R"re(\sid="([^"]+)")re");
  std::map<std::string, std::set<std::string>> ids;
  auto idsOf = [&](const std::string& file) -> const std::set<std::string>& {
    auto it = ids.find(file);
    if (it != ids.end()) return it->second;
    std::set<std::string>& set = ids[file];
    const std::string text = ReadFile(file);
    for (std::sregex_iterator m(text.begin(), text.end(), id), end; m != end; ++m) {
      EXPECT_TRUE(set.insert((*m)[1]).second) << file << ": id " << (*m)[1] << " twice";
    }
    return set;
  };
  for (const std::string page : {"Vortan2.html", "Tutorial.html"}) {
    const std::string text = ReadFile(Tree(page));
    for (std::sregex_iterator m(text.begin(), text.end(), link), end; m != end; ++m) {
      const std::string target = (*m)[2];
      SCOPED_TRACE(page + " -> " + target);
      if (std::regex_search(target, std::regex("^[a-z]+:"))) continue;  // web and mail
      const size_t hash = target.find('#');
      const std::string file = target.substr(0, hash);
      const std::string full = file.empty() ? Tree(page) : Tree(file);
      ASSERT_TRUE(fs::is_regular_file(full)) << full;
      if (hash != std::string::npos) {
        EXPECT_TRUE(idsOf(full).count(target.substr(hash + 1)));
      }
    }
    // Help and Contents open both pages at their table of contents.
    EXPECT_TRUE(idsOf(Tree(page)).count("contents"));
  }
}

// The page generator on small templates: escaping, raw insertion, and a missing file that
// must stop the build rather than leave a hole in the page.
TEST(DocPage, IncludesEscapeInsertsDoNotAndAMissingFileFails) {
  struct Case {
    const char* what;
    const char* marker;
    bool ok;
    const char* expected;
  };
  for (const Case c : {Case{"include", "<!--#include part.txt-->", true, "[A &lt;B&gt; &amp; C]"},
                       Case{"insert", "<!--#insert part.txt-->", true, "[A <B> & C\n]"},
                       Case{"missing", "<!--#include nothing.txt-->", false, ""},
                       Case{"unknown", "<!--#exec part.txt-->", false, ""}}) {
    SCOPED_TRACE(c.what);
    TTempDir dir;
    dir.Write("part.txt", "A <B> & C\n");
    const std::string tmpl = dir.Write("page.html.in", std::string("[") + c.marker + "]");
    std::string out;
    const int code =
        RunCommand(CMake("-DTEMPLATE=" + Quoted(tmpl) + " -DOUTPUT=" + Quoted(dir / "page.html"),
                         "docpage.cmake"),
                   &out);
    EXPECT_EQ(code == 0, c.ok) << out;
    if (c.ok) {
      EXPECT_EQ(ReadFile(dir / "page.html"), c.expected);
    }
  }
}

// A manual from its manual page through groff, and, without one, from the tool's own help.
TEST(ManualPage, ComesFromTheManualPageElseFromTheToolsHelp) {
  TTempDir dir;
  dir.Write("demo.1",
            ".TH DEMO 1\n.SH NAME\ndemo \\- a tool\n.SH OPTIONS\n.TP\n.B \\-x\n"
            "Makes x & y <z>.\n");
  const std::string tool = dir.Write("demo", "#!/bin/sh\necho \"usage: demo <file> $*\"\n");
  ::chmod(tool.c_str(), 0755);
  struct Case {
    const char* what;
    std::string defines;
    const char* expected;
  };
  const std::string common = " -DTITLE=Demo -DTOOL=" + Quoted(tool) + " -DHELP_ARGS=--help";
  for (const Case& c : {Case{"manual page", "-DMANPAGES=" + Quoted(dir / "demo.1") + common,
                             "Makes x &amp; y &lt;z&gt;."},
                        Case{"no manual page", "-DMANPAGES=" + Quoted(dir / "none.1") + common,
                             "usage: demo &lt;file&gt; --help"}}) {
    SCOPED_TRACE(c.what);
    const std::string page = dir / (std::string(c.what) + "/demo.html");
    std::string out;
    ASSERT_EQ(RunCommand(CMake(c.defines + " -DOUTPUT=" + Quoted(page), "manualpage.cmake"), &out),
              0)
        << out;
    const std::string html = ReadFile(page);
    EXPECT_NE(html.find("<html"), std::string::npos);
    EXPECT_NE(html.find(c.expected), std::string::npos) << html;
  }
}

// The manual never calls a command of the menus unavailable: each one it names in bold within a
// sentence that says "not available" (or "unavailable") must be no command's caption.
TEST(HelpPages, NoCommandIsCalledUnavailableByTheManual) {
  const std::string templ =
      ReadFile(std::string(VORTAN_SOURCE_DIR) + "/resources/lang/template.prlx");
  std::set<std::string> captions;
  const std::regex action(R"(Action:\w+\s*\{\s*Caption\s*=\s*([^\r\n]+))");
  for (std::sregex_iterator i(templ.begin(), templ.end(), action), end; i != end; ++i) {
    std::string caption;
    for (char c : (*i)[1].str())
      if (c != '&') caption += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!caption.empty() && (caption.back() == '.' || caption.back() == ' ')) caption.pop_back();
    captions.insert(caption);
  }
  ASSERT_TRUE(captions.count("compile all")) << "the template's actions were not read";

  std::string manual = ReadFile(std::string(VORTAN_SOURCE_DIR) + "/resources/doc/Vortan2.html.in");
  for (char& c : manual)
    if (c == '\n') c = ' ';
  const std::regex bold(R"(<b>([^<]+)</b>)");
  std::size_t start = 0;
  while (start < manual.size()) {
    std::size_t stop = manual.find_first_of(".!?", start);
    if (stop == std::string::npos) stop = manual.size();
    std::string sentence = manual.substr(start, stop - start);
    start = stop + 1;
    std::string lower = sentence;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower.find("not available") == std::string::npos &&
        lower.find("unavailable") == std::string::npos)
      continue;
    for (std::sregex_iterator i(lower.begin(), lower.end(), bold), end; i != end; ++i) {
      std::string named = (*i)[1].str();
      // "Run › Compile All" names the command after the last step.
      if (const auto step = named.rfind("\xE2\x80\xBA"); step != std::string::npos)
        named = named.substr(step + 3);
      while (!named.empty() && named.front() == ' ') named.erase(0, 1);
      EXPECT_FALSE(captions.count(named))
          << "the manual calls \"" << named << "\" unavailable: " << sentence;
    }
  }
}

}  // namespace
}  // namespace vortan
