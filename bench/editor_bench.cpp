// The editor on a generated fixed-form file of 100,000 lines: the Fortran scanner's throughput
// beside QScintilla's own Fortran 77 lexer on the same text, the time to open and fully colour
// the file in an editor window, and the memory the process holds.
//
// Runs offscreen: editor_bench [runs]

#include <Qsci/qscilexerfortran77.h>
#include <Qsci/qsciscintilla.h>

#include <unistd.h>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "config/settingsstore.h"
#include "editor/fortranhighlighter.h"
#include "editor/ui/editorhost.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/fortranlexer.h"
#include "editor/ui/streaksynedit.h"
#include "editorbenchfile.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

long RssKiB() {
  std::ifstream in("/proc/self/status");
  std::string word;
  while (in >> word)
    if (word == "VmRSS:") {
      long kib = 0;
      in >> kib;
      return kib;
    }
  return 0;
}

// Styles the whole document from scratch and returns the seconds it took.
double ColourAll(QsciScintilla& editor) {
  editor.SendScintilla(QsciScintillaBase::SCI_CLEARDOCUMENTSTYLE);
  const auto start = Clock::now();
  editor.SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0ul, -1l);
  return Seconds(start);
}

// Processor time of this thread, in seconds: on a shared machine the wall time says little.
double CpuSeconds() {
  timespec t{};
  ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Runs events until a pass finds nothing left to do, or the time is up.
void RunUntilIdle(double seconds) {
  const auto start = Clock::now();
  QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance();
  while (d->processEvents(QEventLoop::AllEvents) && Seconds(start) < seconds) {
  }
}

double Best(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

  char dirTemplate[] = "/tmp/editor-bench-XXXXXX";
  const std::string dir = ::mkdtemp(dirTemplate);
  const std::string store = dir + "/store.sqlite";
  vortan::OpenStore(store);

  const long rssStart = RssKiB();
  const std::string text = Generate(100000);
  const double megabytes = static_cast<double>(text.size()) / 1e6;
  const std::string file = dir + "/big.f";
  std::ofstream(file, std::ios::binary) << text;
  std::printf("file: 100000 lines, %.2f MB\n", megabytes);

  THost host;
  host.highlighter.LoadAttributes(vortan::Store());

  // The bare scanner over the lines, state carried from line to line.
  {
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
      const auto start = Clock::now();
      int range = vortan::rsNone;
      unsigned long tokens = 0;
      std::size_t pos = 0;
      while (pos < text.size()) {
        std::size_t end = text.find('\r', pos);
        if (end == std::string::npos) end = text.size();
        host.highlighter.SetRange(range);
        host.highlighter.SetLine(std::string_view(text).substr(pos, end - pos), 0);
        for (; !host.highlighter.GetEol(); host.highlighter.Next()) ++tokens;
        range = host.highlighter.GetRange();
        pos = end + 2;
      }
      times.push_back(Seconds(start));
      if (tokens == 0) std::printf("no tokens?\n");
    }
    std::printf("scanner alone:                 %8.1f MB/s  (%.1f ms)\n", megabytes / Best(times),
                Best(times) * 1e3);
  }

  // Both lexers styling the same document inside QScintilla.
  {
    QsciScintilla editor;
    editor.setUtf8(true);
    editor.SendScintilla(QsciScintillaBase::SCI_SETEOLMODE, QsciScintillaBase::SC_EOL_CRLF);
    editor.SendScintilla(QsciScintillaBase::SCI_APPENDTEXT, static_cast<unsigned long>(text.size()),
                         text.c_str());
    auto* ours = new vortan::TFortranLexer(&host.highlighter, &editor);
    editor.setLexer(ours);
    std::vector<double> ourTimes;
    for (int r = 0; r < runs; ++r) ourTimes.push_back(ColourAll(editor));
    editor.setLexer(nullptr);
    auto* builtIn = new QsciLexerFortran77(&editor);
    editor.setLexer(builtIn);
    std::vector<double> builtInTimes;
    for (int r = 0; r < runs; ++r) builtInTimes.push_back(ColourAll(editor));
    std::printf("styling in QScintilla, ours:   %8.1f MB/s  (%.1f ms)\n",
                megabytes / Best(ourTimes), Best(ourTimes) * 1e3);
    std::printf("styling, QsciLexerFortran77:   %8.1f MB/s  (%.1f ms)\n",
                megabytes / Best(builtInTimes), Best(builtInTimes) * 1e3);
    editor.setLexer(nullptr);
  }

  // Opening the file in an editor window and colouring all of it.
  {
    std::vector<double> times, loads;
    const long rssBefore = RssKiB();
    long rssOpen = 0;
    for (int r = 0; r < runs; ++r) {
      const auto start = Clock::now();
      auto* editor = new vortan::TfrmEditor(&host);
      editor->LoadFromFile(file);
      loads.push_back(Seconds(start));
      editor->SynEdit()->SendScintilla(QsciScintillaBase::SCI_COLOURISE, 0ul, -1l);
      times.push_back(Seconds(start));
      rssOpen = std::max(rssOpen, RssKiB());
      delete editor;
    }
    std::printf("editor window: create and load %.1f ms, then colour all: %.1f ms in total\n",
                Best(loads) * 1e3, Best(times) * 1e3);
    std::printf(
        "memory (RSS): %ld KiB after start-up, %ld KiB before opening, %ld KiB with the file open"
        " (file %.0f KiB)\n",
        rssStart, rssBefore, rssOpen, static_cast<double>(text.size()) / 1024.0);
  }

  // Jumping to the end (Ctrl+End, painted at once) of the file freshly opened in a shown window,
  // once the interface is idle after the load, beside later jumps.
  {
    std::vector<double> idles, firsts, laters, firstCpu, laterCpu;
    for (int r = 0; r < runs; ++r) {
      auto* editor = new vortan::TfrmEditor(&host);
      editor->resize(900, 700);
      editor->show();
      RunUntilIdle(5);
      vortan::TStreakSynEdit* s = editor->SynEdit();
      const auto start = Clock::now();
      editor->LoadFromFile(file);
      s->viewport()->repaint();
      RunUntilIdle(5);
      idles.push_back(Seconds(start));
      double cpu = 0;
      auto jump = [&](Qt::Key key) {
        const auto t = Clock::now();
        const double c = CpuSeconds();
        s->RunKey(key, Qt::ControlModifier);
        s->viewport()->repaint();
        cpu = CpuSeconds() - c;
        return Seconds(t);
      };
      firsts.push_back(jump(Qt::Key_End));
      firstCpu.push_back(cpu);
      for (int i = 0; i < 3; ++i) {
        jump(Qt::Key_Home);
        laters.push_back(jump(Qt::Key_End));
        laterCpu.push_back(cpu);
      }
      delete editor;
    }
    std::printf(
        "shown editor: load to idle %.1f ms; first Ctrl+End %.1f ms (processor %.1f ms),"
        " later ones %.1f ms (processor %.1f ms)\n",
        Best(idles) * 1e3, Best(firsts) * 1e3, Best(firstCpu) * 1e3, Best(laters) * 1e3,
        Best(laterCpu) * 1e3);
  }

  vortan::CloseStore();
  std::remove(file.c_str());
  std::remove(store.c_str());
  ::rmdir(dir.c_str());
  return 0;
}
