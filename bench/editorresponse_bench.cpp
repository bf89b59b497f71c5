// How quickly a shown editor window answers on the editor bench's 100,000-line file:
//   - a typed key (a letter, then Backspace) until the view has repainted, with the caret on
//     several lines of the file: the cost must not grow with the caret's line;
//   - opening the file until the interface is idle and every line is coloured, with the number
//     of full repaints of the text area the colouring caused.
// Median wall and processor times of the rounds, beside the reference figures of Geany on the
// same file (measured from outside, on the machine; not run here).
//
// Runs offscreen: editorresponse_bench [rounds] [caret line ...]
// For instruction counts of the key alone:
//   valgrind --tool=callgrind --toggle-collect='*PressKey*' editorresponse_bench 3 13 100000

#include <unistd.h>
#include <QApplication>
#include <QKeyEvent>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "editorbenchfile.h"
#include "editorbenchrun.h"

namespace {

constexpr int kLines = 100000;
// Geany on the same file, from the side-by-side run (medians, ms).
constexpr double kGeanyKeyTopMs = 4.6;  // caret on line 13
constexpr double kGeanyKeyEndMs = 3.8;  // caret on the last line
constexpr double kGeanyOpenMs = 586;

struct TKeyTime {
  double Wall = 0, Cpu = 0;
};

// One key as the window system delivers it, until the text area has repainted.
[[gnu::noinline]] TKeyTime PressKey(vortan::TStreakSynEdit* s, TPaintCounter& counter, int key,
                                    const QString& text) {
  const auto start = Clock::now();
  const double cpu = CpuMs();
  const int before = counter.paints;
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(s, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(s, &release);
  QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance();
  while (counter.paints == before && Ms(start) < 5000) d->processEvents(QEventLoop::AllEvents);
  return {Ms(start), CpuMs() - cpu};
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  std::vector<int> caretLines;
  for (int i = 2; i < argc; ++i) caretLines.push_back(std::clamp(std::atoi(argv[i]), 1, kLines));
  if (caretLines.empty()) caretLines = {13, 50000, kLines};

  char dirTemplate[] = "/tmp/editorresponse-bench-XXXXXX";
  const std::string dir = ::mkdtemp(dirTemplate);
  const std::string store = dir + "/store.sqlite";
  vortan::OpenStore(store);
  THost host;
  host.highlighter.LoadAttributes(vortan::Store());
  const std::string text = Generate(kLines);
  const std::string file = dir + "/big.f";
  std::ofstream(file, std::ios::binary) << text;
  std::printf("file: %d lines, %.2f MB; medians of %d rounds\n", kLines,
              static_cast<double>(text.size()) / 1e6, rounds);

  // Open to idle, as a file named on the command line opens: the window shows, the file
  // loads, and the rest of the document is coloured in idle time.
  {
    std::vector<double> walls, cpus;
    int paints = 0, full = 0;
    for (int r = 0; r < rounds; ++r) {
      const auto start = Clock::now();
      const double cpu = CpuMs();
      auto* editor = new vortan::TfrmEditor(&host);
      editor->resize(900, 700);
      TPaintCounter counter(editor->SynEdit()->viewport());
      editor->show();
      editor->LoadFromFile(file);
      RunUntilColoured(editor->SynEdit());
      walls.push_back(Ms(start));
      cpus.push_back(CpuMs() - cpu);
      paints = counter.paints;
      full = counter.full;
      delete editor;
      RunUntilIdle();
    }
    std::printf(
        "open to idle:   %7.1f ms (processor %7.1f ms), %d paints of which %d full"
        "   [Geany %.0f ms; goal at most %.0f ms, one full repaint]\n",
        Median(walls), Median(cpus), paints, full, kGeanyOpenMs, kGeanyOpenMs / 2);
    std::fflush(stdout);
  }

  // Typing at several lines of the file in one window.
  auto* editor = new vortan::TfrmEditor(&host);
  editor->resize(900, 700);
  editor->show();
  editor->activateWindow();
  editor->LoadFromFile(file);
  vortan::TStreakSynEdit* s = editor->SynEdit();
  s->setFocus();
  RunUntilColoured(s);
  TPaintCounter counter(s->viewport());
  double first = 0;
  for (const int line : caretLines) {
    editor->SetCaret(line, 7);
    RunUntilColoured(s);
    std::vector<double> walls, cpus;
    int fullBefore = counter.full;
    for (int r = 0; r < rounds; ++r) {
      for (const auto& [key, ch] :
           {std::pair{Qt::Key_X, QStringLiteral("X")}, std::pair{Qt::Key_Backspace, QString()}}) {
        const TKeyTime t = PressKey(s, counter, key, ch);
        walls.push_back(t.Wall);
        cpus.push_back(t.Cpu);
        // The next key comes once the editor has settled (its colouring resumed and ended).
        RunUntilColoured(s);
      }
    }
    const double wall = Median(walls), cpu = Median(cpus);
    if (first == 0) first = wall;
    std::printf(
        "key to repaint, caret on line %6d: %6.2f ms (processor %6.2f ms; %.2f of the first line's)"
        ", %d full repaints\n",
        line, wall, cpu, wall / first, counter.full - fullBefore);
    std::fflush(stdout);
  }
  std::printf(
      "   [Geany %.1f ms at line 13, %.1f ms at the last line; goal: the last line within 1.2 times"
      " line 13]\n",
      kGeanyKeyTopMs, kGeanyKeyEndMs);
  delete editor;

  vortan::CloseStore();
  std::remove(file.c_str());
  std::remove(store.c_str());
  ::rmdir(dir.c_str());
  return 0;
}
