// The folders of src/ form layers: a file may include its own folder and the folders below it,
// never one above. Core folders (plain C++) sit under every interface folder and include no Qt;
// only src/platform and a listed few include the system's POSIX headers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Lowest first. Folders that share a rank may not include each other.
const std::map<std::string, int> kRank = {
    {"platform", 0},   {"config", 1},    {"i18n", 2},     {"system", 3},      {"editor", 4},
    {"print", 5},      {"jobs", 6},      {"symbols", 7},  {"widgets", 10},    {"i18n/ui", 11},
    {"editor/ui", 12}, {"print/ui", 13}, {"jobs/ui", 14}, {"options/ui", 15}, {"symbols/ui", 15},
    {"shell", 16},     {"app", 17},
};
constexpr int kFirstInterfaceRank = 10;

// Files outside src/platform that call the system directly (docs/ARCHITECTURE.md says why).
const std::set<std::string> kPosixAllowed = {
    "app/quitonsignal.cpp",        "app/singleinstance.cpp",  "config/registry.cpp",
    "config/settingsstore.cpp",    "jobs/basethread.cpp",     "jobs/environment.cpp",
    "jobs/executethread.cpp",      "jobs/threadpriority.cpp", "jobs/toolcapture.cpp",
    "system/shellintegration.cpp",
};

bool IsPosixHeader(const std::string& header) {
  static const std::set<std::string> kNames = {
      "unistd.h",   "fcntl.h",  "poll.h", "pthread.h", "signal.h",  "spawn.h",
      "dirent.h",   "pwd.h",    "grp.h",  "dlfcn.h",   "termios.h", "semaphore.h",
      "langinfo.h", "syslog.h", "glob.h", "wordexp.h", "sched.h",   "libgen.h"};
  for (const char* folder : {"sys/", "netinet/", "arpa/", "linux/"})
    if (header.rfind(folder, 0) == 0) return true;
  return kNames.count(header) > 0;
}

// "editor/ui/streaksynedit.h" -> "editor/ui"; "editor/fortranscanner.h" -> "editor".
std::string FolderOf(const std::string& relative) {
  const auto slash = relative.rfind('/');
  return slash == std::string::npos ? std::string() : relative.substr(0, slash);
}

struct TArrow {
  std::string From, To;
  bool Angle = false;  // written <...>
};

std::optional<TArrow> ParseInclude(const std::string& from, const std::string& line) {
  static const std::regex include(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
  std::smatch m;
  if (!std::regex_search(line, m, include)) return std::nullopt;
  return TArrow{from, m[2].str(), m[1].str() == "<"};
}

// A header of the project, however the include is written: its first part is a folder of src/
// ("<shell/mainwindow.h>" is as much an arrow as "shell/mainwindow.h").
bool IsProjectHeader(const TArrow& a) {
  if (!a.Angle) return true;
  const auto slash = a.To.find('/');
  if (slash == std::string::npos) return false;
  const std::string top = a.To.substr(0, slash);
  for (const auto& [folder, rank] : kRank)
    if (folder.substr(0, folder.find('/')) == top) return true;
  return false;
}

// What is wrong with one include; empty when nothing is.
std::string Fault(const TArrow& a) {
  const std::string fromFolder = FolderOf(a.From);
  const auto from = kRank.find(fromFolder);
  if (from == kRank.end()) return "src/" + fromFolder + " is not in the layer table";
  if (!IsProjectHeader(a)) {
    // The core stays free of Qt and QScintilla.
    if (from->second < kFirstInterfaceRank && a.To.rfind("Q", 0) == 0)
      return a.From + " is core but includes <" + a.To + ">";
    if (IsPosixHeader(a.To) && fromFolder != "platform" && !kPosixAllowed.count(a.From))
      return a.From + " includes <" + a.To + ">: system calls belong behind src/platform";
    return {};
  }
  const std::string toFolder = FolderOf(a.To);
  const auto to = kRank.find(toFolder);
  if (to == kRank.end()) return a.From + " includes " + a.To + " outside the layers";
  if (toFolder == fromFolder || to->second < from->second) return {};
  return a.From + " (" + fromFolder + ") includes " + a.To + " (" + toFolder +
         "): the arrow runs upward";
}

std::vector<TArrow> Arrows(const fs::path& src) {
  std::vector<TArrow> out;
  for (const auto& e : fs::recursive_directory_iterator(src)) {
    if (!e.is_regular_file()) continue;
    const auto ext = e.path().extension();
    if (ext != ".h" && ext != ".cpp") continue;
    const std::string from = fs::relative(e.path(), src).generic_string();
    std::ifstream in(e.path());
    for (std::string line; std::getline(in, line);)
      if (auto arrow = ParseInclude(from, line)) out.push_back(*arrow);
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

TEST(Layering, TheRulesJudgeEachFormOfInclude) {
  struct Case {
    const char* from;
    const char* line;
    bool fault;
  };
  const Case cases[] = {
      {"editor/ui/x.cpp", "#include <shell/mainwindow.h>", true},
      {"editor/ui/x.cpp", "#include \"shell/mainwindow.h\"", true},
      {"editor/x.cpp", "#include <jobs/ui/pipeline.h>", true},
      {"editor/x.cpp", "#  include <print/printlayout.h>", true},
      {"shell/x.cpp", "#include <editor/ui/documents.h>", false},
      {"print/x.cpp", "#include <print/printlayout.h>", false},
      {"editor/x.cpp", "#include \"nowhere/thing.h\"", true},
      {"editor/x.cpp", "#include <QString>", true},
      {"widgets/x.cpp", "#include <QString>", false},
      {"editor/x.cpp", "#include <vector>", false},
      {"config/other.cpp", "#include <unistd.h>", true},
      {"shell/x.cpp", "#include <sys/stat.h>", true},
      {"platform/x.cpp", "#include <unistd.h>", false},
      {"config/registry.cpp", "#include <sys/stat.h>", false},
  };
  for (const Case& c : cases) {
    const auto arrow = ParseInclude(c.from, c.line);
    ASSERT_TRUE(arrow) << c.line;
    EXPECT_EQ(!Fault(*arrow).empty(), c.fault)
        << c.from << ": " << c.line << " -> " << Fault(*arrow);
  }
}

TEST(Layering, IncludesRunDownwardOnly) {
  int checked = 0;
  for (const TArrow& a : Arrows(VORTAN_SOURCE_DIR "/src")) {
    if (!kRank.count(FolderOf(a.From))) continue;  // reported by EveryFolderHasARank
    EXPECT_EQ(Fault(a), "");
    if (IsProjectHeader(a)) ++checked;
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
