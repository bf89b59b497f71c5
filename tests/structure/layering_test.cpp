// The folders of src/ form layers: a file may include its own folder and the folders below it,
// never one above. Core folders (plain C++) sit under every interface folder and include no Qt.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Lowest first. Folders that share a rank may not include each other.
const std::map<std::string, int> kRank = {
    {"platform", 0},  {"config", 1},      {"i18n", 2},      {"system", 3},    {"editor", 4},
    {"print", 5},     {"jobs", 6},        {"widgets", 10},  {"i18n/ui", 11},  {"editor/ui", 12},
    {"print/ui", 13}, {"jobs/ui", 14},    {"options/ui", 15}, {"shell", 16},  {"app", 17},
};
constexpr int kFirstInterfaceRank = 10;

// "editor/ui/streaksynedit.h" -> "editor/ui"; "editor/fortranscanner.h" -> "editor".
std::string FolderOf(const std::string& relative) {
  const auto slash = relative.rfind('/');
  return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

struct TArrow {
  std::string From, To, Line;
};

std::vector<TArrow> Arrows(const fs::path& src) {
  std::vector<TArrow> out;
  const std::regex include(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
  for (const auto& e : fs::recursive_directory_iterator(src)) {
    if (!e.is_regular_file()) continue;
    const auto ext = e.path().extension();
    if (ext != ".h" && ext != ".cpp") continue;
    const std::string from = fs::relative(e.path(), src).generic_string();
    std::ifstream in(e.path());
    std::string line;
    std::smatch m;
    while (std::getline(in, line))
      if (std::regex_search(line, m, include)) out.push_back({from, m[2].str(), line});
  }
  return out;
}

TEST(Layering, EveryFolderHasARank) {
  for (const auto& e : fs::recursive_directory_iterator(VORTAN_SOURCE_DIR "/src")) {
    if (!e.is_regular_file() || (e.path().extension() != ".h" && e.path().extension() != ".cpp"))
      continue;
    const std::string folder =
        FolderOf(fs::relative(e.path(), VORTAN_SOURCE_DIR "/src").generic_string());
    EXPECT_TRUE(kRank.count(folder)) << "src/" << folder << " is not in the layer table";
  }
}

TEST(Layering, IncludesRunDownwardOnly) {
  int checked = 0;
  for (const TArrow& a : Arrows(VORTAN_SOURCE_DIR "/src")) {
    const std::string fromFolder = FolderOf(a.From);
    const auto from = kRank.find(fromFolder);
    if (from == kRank.end()) continue;  // reported by EveryFolderHasARank
    if (a.Line.find('<') != std::string::npos && a.Line.find('"') == std::string::npos) {
      // System headers: the core stays free of Qt and QScintilla.
      if (from->second < kFirstInterfaceRank) {
        EXPECT_FALSE(a.To.rfind("Q", 0) == 0 || a.To.rfind("Qsci", 0) == 0)
            << a.From << " is core but includes <" << a.To << ">";
      }
      continue;
    }
    const std::string toFolder = FolderOf(a.To);
    const auto to = kRank.find(toFolder);
    ASSERT_NE(to, kRank.end()) << a.From << " includes \"" << a.To << "\" outside the layers";
    ++checked;
    if (toFolder == fromFolder) continue;
    EXPECT_LT(to->second, from->second)
        << a.From << " (" << fromFolder << ") includes " << a.To << " (" << toFolder
        << "): the arrow runs upward";
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
