// Search, replace and conversion on the editor bench's 100,000-line file in an editor window:
// finding the last occurrence of a word from the top, Replace All of a word on every line
// without prompting, To Upper Case and To Lower Case of the whole file, and Undo of each.
//
// Runs offscreen: search_bench [runs] [lines]

#include <unistd.h>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "editorbenchfile.h"
#include "editorbenchrun.h"

namespace {

// Geany on the same file, from the side-by-side run (medians, ms; not run here).
constexpr double kGeanyFindMs = 34.6;
constexpr double kGeanyUpperMs = 465;

struct TFigures {
  std::vector<double> act, undo;
};

// Opens the file, runs `act` and then Undo, `runs` times; the best of each.
void Measure(const char* name, const std::string& file, int runs, THost& host,
             const std::function<void(vortan::TStreakSynEdit*)>& act) {
  TFigures f;
  for (int r = 0; r < runs; ++r) {
    vortan::TfrmEditor editor(&host);
    editor.LoadFromFile(file);
    vortan::TStreakSynEdit* s = editor.SynEdit();
    const std::string before = s->Bytes();
    auto start = Clock::now();
    act(s);
    f.act.push_back(Ms(start));
    start = Clock::now();
    s->undo();
    f.undo.push_back(Ms(start));
    if (s->Bytes() != before) std::printf("  (undo did not restore the text!)\n");
  }
  std::printf("%-52s %8.1f ms   undo %8.1f ms\n", name,
              *std::min_element(f.act.begin(), f.act.end()),
              *std::min_element(f.undo.begin(), f.undo.end()));
  std::fflush(stdout);
}

// As the user meets it: a shown window with the file coloured and the caret at the top; `act`
// until the view has repainted and the interface is idle again with every line coloured.
// Medians of the rounds, wall and processor time.
void MeasureShown(const char* name, double geanyMs, const std::string& file, int runs, THost& host,
                  const std::function<void(vortan::TStreakSynEdit*)>& act) {
  std::vector<double> walls, cpus;
  int full = 0;
  for (int r = 0; r < runs; ++r) {
    vortan::TfrmEditor editor(&host);
    editor.resize(900, 700);
    editor.show();
    editor.LoadFromFile(file);
    vortan::TStreakSynEdit* s = editor.SynEdit();
    RunUntilColoured(s);
    TPaintCounter counter(s->viewport());
    const auto start = Clock::now();
    const double cpu = CpuMs();
    act(s);
    RunUntilColoured(s);
    walls.push_back(Ms(start));
    cpus.push_back(CpuMs() - cpu);
    full = counter.full;
  }
  std::printf("%-52s %8.1f ms   processor %8.1f ms, %d full repaints   [Geany %.1f ms]\n", name,
              Median(walls), Median(cpus), full, geanyMs);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

  char dirTemplate[] = "/tmp/search-bench-XXXXXX";
  const std::string dir = ::mkdtemp(dirTemplate);
  const std::string store = dir + "/store.sqlite";
  vortan::OpenStore(store);
  THost host;
  host.highlighter.LoadAttributes(vortan::Store());

  const int lines = argc > 2 ? std::max(21, std::atoi(argv[2])) : 100000;
  const std::string text = Generate(lines);
  const std::string file = dir + "/big.f";
  std::ofstream(file, std::ios::binary) << text;
  // The same file with one more word at the end of every line, for Replace All.
  std::string tagged;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t end = text.find("\r\n", pos);
    tagged.append(text, pos, end - pos).append(" WORD\r\n");
    pos = end + 2;
  }
  const std::string taggedFile = dir + "/tagged.f";
  std::ofstream(taggedFile, std::ios::binary) << tagged;
  std::printf(
      "file: %d lines, %.2f MB (Replace All: %.2f MB with \"WORD\" on every line); best of %d\n",
      lines, static_cast<double>(text.size()) / 1e6, static_cast<double>(tagged.size()) / 1e6,
      runs);

  // The subroutine of the last block is named once, near the end of the file.
  const std::string last = "RELAX" + std::to_string(1 + ((lines - 1) / 21) % 99999);
  Measure(("find \"" + last + "\" (last lines) from the top").c_str(), file, runs, host,
          [&](vortan::TStreakSynEdit* s) {
            vortan::TSearchOptions o;
            o.EntireScope = o.WholeWord = true;
            if (s->SearchReplace(last, "", o, nullptr) != 1) std::printf("  (not found!)\n");
            // Undo has nothing to undo after a find; select something undoable to keep the pattern.
          });
  MeasureShown(("find \"" + last + "\", shown, until idle").c_str(), kGeanyFindMs, file, runs, host,
               [&](vortan::TStreakSynEdit* s) {
                 vortan::TSearchOptions o;
                 o.WholeWord = true;
                 if (s->SearchReplace(last, "", o, nullptr) != 1) std::printf("  (not found!)\n");
               });
  Measure("Replace All \"WORD\" -> \"TERM\" on every line", taggedFile, runs, host,
          [lines](vortan::TStreakSynEdit* s) {
            vortan::TSearchOptions o;
            o.EntireScope = o.ReplaceAll = o.WholeWord = o.MatchCase = true;
            if (s->SearchReplace("WORD", "TERM", o, nullptr) != lines)
              std::printf("  (wrong count!)\n");
          });
  Measure("To Upper Case, whole file", file, runs, host,
          [](vortan::TStreakSynEdit* s) { s->ConvertSelection(1); });
  MeasureShown("To Upper Case, whole file, shown, until idle", kGeanyUpperMs, file, runs, host,
               [](vortan::TStreakSynEdit* s) { s->ConvertSelection(1); });
  Measure("To Lower Case, whole file (every line changes)", file, runs, host,
          [](vortan::TStreakSynEdit* s) { s->ConvertSelection(2); });

  vortan::CloseStore();
  std::remove(file.c_str());
  std::remove(taggedFile.c_str());
  std::remove(store.c_str());
  ::rmdir(dir.c_str());
  return 0;
}
