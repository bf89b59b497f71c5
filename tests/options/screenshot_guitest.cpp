// Every page of the Options dialog in English and in Portuguese, as a user sees it. With
// VORTAN_SCREENSHOT_DIR set the pictures are saved there (scripts/options-screenshots.sh runs
// this under Xvfb); without it the pages are still built and shown, which catches a page
// that cannot be reached.
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <memory>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "i18n/ui/translator.h"
#include "options/ui/optionsform.h"
#include "shell/mainoptionshost.h"
#include "shell/mainwindow.h"
#include "support/framedshot.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"
#include "system/vortanpath.h"

namespace vortan {
namespace {

TEST(OptionsScreenshots, EveryPageInEnglishAndPortuguese) {
  test::TTempDir dir;
  ASSERT_TRUE(OpenStore(dir / "store.sqlite").Ok);
  test::TScriptedPrompts prompts;
  // The user's desktop and menu folders exist, as on a desktop: the shortcut buttons are live.
  for (int id : {sidDesktopPath, sidStartMenuPath, sidProgramsGroupPath})
    WriteString(id, dir.MakeDir("folder" + std::to_string(id)) + "/");
  TVortanPath paths(Store(), dir.MakeDir("install") + "/");
  SetVortanPath(&paths);
  const QString out = qEnvironmentVariable("VORTAN_SCREENSHOT_DIR");
  for (const char* language : {"en", "pt"}) {
    if (std::string(language) == "pt") {
      MainLanguage().LoadFromFile(VORTAN_TEST_DATA "/../../resources/lang/Portugues.prlx");
      MainLanguage().Active = true;
      LoadStringTable(MainLanguage());
    }
    auto main = std::make_unique<TfrmMain>();
    main->NewSourceFile();
    TMainOptionsHost host(*main);
    TfrmOptions d(host, TfrmOptions::pgGeneral, main.get());
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    struct Shot {
      const char* name;
      int page, sub;
    } shots[] = {{"general", 0, -1},
                 {"editor-options", 1, 0},
                 {"editor-display", 1, 1},
                 {"editor-color", 1, 2},
                 {"run", 2, -1},
                 {"print-margins", 3, 0},
                 {"print-header-footer", 3, 1},
                 {"print-page-sample", 3, 2},
                 {"others", 4, -1}};
    for (const Shot& s : shots) {
      d.Pages()->setCurrentIndex(s.page);
      if (s.page == 1) d.EditorPages()->setCurrentIndex(s.sub);
      if (s.page == 3) d.PrintPages()->setCurrentIndex(s.sub);
      QApplication::processEvents();
      EXPECT_TRUE(d.Pages()->currentWidget()->isVisible()) << s.name;
      if (s.page == 4) {
        for (QPushButton* b : d.Pages()->currentWidget()->findChildren<QPushButton*>())
          EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
      }
      if (!out.isEmpty()) {
        QDir().mkpath(out);
        EXPECT_TRUE(
            test::Framed(&d).save(out + QStringLiteral("/%1-%2.png").arg(language, s.name)));
      }
    }
    d.close();
    prompts.AnswerAlways(TModalResult::No);
    main->close();
  }
  SetVortanPath(nullptr);
  MainLanguage().Active = false;
  MainLanguage().Root().Clear();
  ResetStringTable();
  CloseStore();
}

}  // namespace
}  // namespace vortan
