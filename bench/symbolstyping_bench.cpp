// Typing in the editor bench's 100,000-line file in the main window with the symbol index live:
// each key until idle, and the longest pass of the interface thread in the pause after a burst
// of keys, when the indexer takes a copy of the editor's text (read by a thread).
// Runs offscreen: symbolstyping_bench [bursts]
#include <QApplication>
#include <QKeyEvent>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "editorbenchfile.h"
#include "editorbenchrun.h"
#include "shell/mainwindow.h"
#include "symbols/ui/symbolindexer.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  const int bursts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const auto dir = std::filesystem::temp_directory_path() /
                   ("vortan-symbolstyping-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  qputenv("XDG_CACHE_HOME", QByteArray::fromStdString((dir / "cache").string()));
  QApplication app(argc, argv);
  vortan::OpenStore((dir / "store.sqlite").string());
  const std::string file = (dir / "big.f").string();
  std::ofstream(file, std::ios::binary) << Generate(100000);
  {
    auto main = std::make_unique<vortan::TfrmMain>();
    main->show();
    vortan::TfrmEditor* e = main->OpenSourceFile(file);
    vortan::TStreakSynEdit* s = e->SynEdit();
    RunUntilColoured(s);
    vortan::TSymbolIndexer& ix = main->SymbolIndexer();
    const auto start = Clock::now();
    while ((!ix.Ready() || ix.Busy()) && Ms(start) < 60000) RunUntilIdle(50);
    std::printf("index ready:             %8.1f ms after the file was coloured, %zu files\n",
                Ms(start), ix.Index().FileCount());
    s->setCursorPosition(50000, 10);
    s->setFocus();
    std::vector<double> keys, pauses;
    for (int b = 0; b < bursts; ++b) {
      for (int k = 0; k < 20; ++k) {
        const auto t = Clock::now();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("X"));
        QApplication::sendEvent(s, &press);
        RunUntilIdle();
        keys.push_back(Ms(t));
      }
      // The pause: the longest single pass of the event loop while the indexer reads the text.
      double longest = 0;
      const auto pause = Clock::now();
      while (Ms(pause) < vortan::TSymbolIndexer::kEditDelayMs + 600) {
        const auto t = Clock::now();
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        longest = std::max(longest, Ms(t));
      }
      pauses.push_back(longest);
    }
    std::sort(keys.begin(), keys.end());
    std::printf("key until idle:          %8.2f ms median, %8.2f ms worst (%zu keys)\n",
                Median(keys), keys.back(), keys.size());
    std::printf("longest pass in a pause: %8.2f ms median, %8.2f ms worst (%d pauses)\n",
                Median(pauses), *std::max_element(pauses.begin(), pauses.end()), bursts);
    // What the indexer takes in the interface thread at a pause: the control's buffer as it
    // stands (the file's bytes are made of it in the reading thread).
    std::vector<double> takes;
    for (int i = 0; i < 5; ++i) {
      const auto t = Clock::now();
      const vortan::TTextCopy text = e->TextCopy();
      takes.push_back(Ms(t));
    }
    std::printf("text copy at a pause:    %8.2f ms median\n", Median(takes));
    e->SetModified(false);
  }
  vortan::CloseStore();
  std::filesystem::remove_all(dir);
  return 0;
}
