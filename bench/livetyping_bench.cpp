// The check as you type in the main window with the real gfortran and ftnchek:
// - from the end of the pause until the marks are painted, 1,000 lines, beside the raw tools;
// - a typed key until idle with checks off and on, in a 1,000- and a 100,000-line file, keys
//   120 ms apart. "On" starts each burst of keys 50 ms after a check began (its tools running,
//   at low priority) and, as a stress, uses the shortest delay the Options allow (100 ms), so
//   that every key lands 20 ms into a check and stops it.
// Runs offscreen: livetyping_bench [bursts]
#include <QApplication>
#include <QKeyEvent>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/livemarks.h"
#include "editor/ui/streaksynedit.h"
#include "editorbenchfile.h"
#include "editorbenchrun.h"
#include "jobs/ui/livecheckcontrol.h"
#include "shell/mainwindow.h"

namespace {

double Percentile(std::vector<double> v, double p) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

void RunFor(double ms) {
  const auto start = Clock::now();
  while (Ms(start) < ms) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

std::string SmallFile() {
  std::string text = "      PROGRAM BIG\n      INTEGER I, J\n      J = 0\n";
  for (int i = 0; i < 995; ++i) text += "      J = J + " + std::to_string(i) + "\n";
  return text + "      I = 1 + (\n      PRINT *, J\n      END\n";
}

struct TKeys {
  std::vector<double> Wall, Cpu;
};

constexpr double kKeyInterval = 120;

// Bursts of ten keys kKeyInterval apart on line 3 of the file; each key until idle, in wall time
// and in the interface thread's processor time (which the load of other programs does not swell).
TKeys Type(vortan::TStreakSynEdit* s, int bursts, double pauseMs) {
  TKeys keys;
  s->setCursorPosition(2, 10);
  for (int b = 0; b < bursts; ++b) {
    for (int k = 0; k < 10; ++k) {
      const auto t = Clock::now();
      const double cpu = CpuMs();
      QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("X"));
      QApplication::sendEvent(s, &press);
      RunUntilIdle();
      keys.Cpu.push_back(CpuMs() - cpu);
      keys.Wall.push_back(Ms(t));
      RunFor(kKeyInterval - std::min(kKeyInterval, keys.Wall.back()));
    }
    RunFor(pauseMs);
  }
  return keys;
}

void Report(const char* what, const TKeys& keys, const TKeys* off) {
  std::printf("  %-30s median %5.2f ms  p95 %5.2f  worst %6.2f | processor %5.2f ms", what,
              Median(keys.Wall), Percentile(keys.Wall, 0.95), Percentile(keys.Wall, 1.0),
              Median(keys.Cpu));
  if (off != nullptr)
    std::printf("  (%.2fx, processor %.2fx off)", Median(keys.Wall) / Median(off->Wall),
                Median(keys.Cpu) / Median(off->Cpu));
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const int bursts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 6;
  const auto dir =
      std::filesystem::temp_directory_path() / ("vortan-livetyping-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  qputenv("XDG_CACHE_HOME", QByteArray::fromStdString((dir / "cache").string()));
  QApplication app(argc, argv);
  vortan::OpenStore((dir / "store.sqlite").string());
  constexpr int kDelay = 300;
  vortan::WriteInteger(vortan::sidLiveCheckDelay, kDelay);
  {
    auto main = std::make_unique<vortan::TfrmMain>();
    main->show();
    vortan::TLiveCheckControl& live = main->LiveCheck();
    int shown = 0;
    live.Shown = [&shown](vortan::TfrmEditor*) { ++shown; };

    // The pause's end until the marks are painted.
    const std::string small = (dir / "small.f").string();
    std::ofstream(small, std::ios::binary) << SmallFile();
    vortan::TfrmEditor* e = main->OpenSourceFile(small);
    RunUntilColoured(e->SynEdit());
    std::vector<double> marks;
    std::size_t marked = 0;
    for (int i = 0; i < 7; ++i) {
      const int before = shown;
      const auto t = Clock::now();
      live.CheckNow();
      while (shown == before && Ms(t) < 30000)
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
      RunUntilIdle();
      marks.push_back(Ms(t));
      marked = e->SynEdit()->LiveMarks().MarkedLines().size();
    }
    auto raw = [&](const std::string& command) {
      std::vector<double> ms;
      for (int i = 0; i < 7; ++i) {
        const auto t = Clock::now();
        (void)std::system((command + " '" + small + "' >/dev/null 2>&1").c_str());
        ms.push_back(Ms(t));
      }
      return Median(ms);
    };
    const double gfortran = raw("gfortran -fsyntax-only");
    const double ftnchek = raw("ftnchek -nonovice -quiet -wrap=999");
    std::printf("pause end to marks painted, 1,000 lines: %.1f ms median of 7 (%zu marked lines)\n",
                Median(marks), marked);
    std::printf("raw tools by hand: gfortran -fsyntax-only %.1f ms + ftnchek %.1f ms = %.1f ms\n",
                gfortran, ftnchek, gfortran + ftnchek);

    const std::string big = (dir / "big.f").string();
    std::ofstream(big, std::ios::binary) << Generate(100000);
    for (const std::string& file : {small, big}) {
      vortan::TfrmEditor* doc = main->OpenSourceFile(file);
      vortan::TStreakSynEdit* s = doc->SynEdit();
      s->setFocus();
      RunUntilColoured(s);
      std::printf("typing, %d lines, %d bursts of 10 keys %.0f ms apart:\n", doc->LineCount(),
                  bursts, kKeyInterval);
      vortan::WriteBool(vortan::sidLiveCheck, false);
      const TKeys off = Type(s, bursts, kDelay + 50);
      Report("checks off", off, nullptr);
      vortan::WriteBool(vortan::sidLiveCheck, true);
      const int before = shown;
      Report("on, keys while a check runs", Type(s, bursts, kDelay + 50), &off);
      vortan::WriteInteger(vortan::sidLiveCheckDelay, 100);
      Report("on, every key into a check", Type(s, bursts, 0), &off);
      vortan::WriteInteger(vortan::sidLiveCheckDelay, kDelay);
      std::printf("  checks shown meanwhile: %d (the others were stopped by a key)\n",
                  shown - before);
      // What a check's start costs the interface thread.
      std::vector<double> copy, tools;
      for (int i = 0; i < 20; ++i) {
        auto t = Clock::now();
        const vortan::TTextCopy text = doc->TextCopy();
        copy.push_back(Ms(t));
        t = Clock::now();
        const vortan::TLiveTools settings = vortan::LiveToolsFromSettings();
        tools.push_back(Ms(t));
      }
      std::printf("  a check's start: text copy %.3f ms, tools from the settings %.3f ms\n",
                  Median(copy), Median(tools));
      doc->SetModified(false);
    }
    live.Drop();
  }
  vortan::CloseStore();
  std::filesystem::remove_all(dir);
  return 0;
}
