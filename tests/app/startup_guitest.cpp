// The start sequence and tear-down, driven with a scripted prompt service, a temporary
// store and a temporary installation tree.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "app/startup.h"
#include "config/registry.h"
#include "config/settingsstore.h"
#include "config/settingstable.h"
#include "editor/ui/editorwindow.h"
#include "i18n/currentlanguage.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "print/ui/printengine.h"
#include "shell/dialogpromptservice.h"
#include "shell/mainwindow.h"
#include "shell/printcommands.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

using test::TScriptedPrompts;
namespace fs = std::filesystem;

constexpr const char* kGeneral = "Software\\Ostrel\\Vortan\\2.0\\General";
constexpr const char* kInstall = "Software\\Ostrel\\Vortan\\2.0\\Install";

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    install_ = tmp_.MakeDir("install") + "/";
    for (const char* tool : {"ftnchek", "gfortran", "gdb"})
      tmp_.Write(std::string("install/Bin/") + tool, "");
    store_ = tmp_ / "store.sqlite";
    ResetStringTable();
    MainLanguage().Active = false;
    MainLanguage().Root().Clear();
  }

  TStartupOptions Options() {
    TStartupOptions o;
    o.StorePath = store_;
    o.InstallDir = install_;
    o.SelectLanguage = [this](const std::vector<std::string>& files) -> std::optional<std::string> {
      selectorCalls_.push_back(files);
      return selectorAnswer_;
    };
    return o;
  }

  // Runs one whole start and tear-down; `check` sees the started program.
  bool RunOnce(const QStringList& args, const std::function<void(TStartup&)>& check = {}) {
    TStartup s(Options());
    bool running = s.Start(args);
    if (check) check(s);
    s.Finish();
    return running;
  }

  // Opens the store file after the program has released it.
  std::optional<TRegValue> Stored(const char* key, const char* name) {
    TRegistry reg;
    std::string err;
    EXPECT_TRUE(reg.Open(store_, err)) << err;
    return reg.ReadValue(key, name);
  }

  test::TTempDir tmp_;
  std::string install_, store_;
  TScriptedPrompts prompts_;
  std::vector<std::vector<std::string>> selectorCalls_;
  std::optional<std::string> selectorAnswer_ = std::string();
};

TEST_F(StartupTest, FirstStartOpensOneNewSourceAndWritesTheResolvedPathsBack) {
  bool running = RunOnce({}, [](TStartup& s) {
    ASSERT_NE(s.MainWindow(), nullptr);
    EXPECT_EQ(s.MainWindow()->Editors().size(), 1u);
    EXPECT_TRUE(s.MainWindow()->Editors()[0]->FileName().empty());
    EXPECT_EQ(s.SplashHistory(), QStringList({"", "Verifying components...",
                                              "Creating environment...", "Starting..."}));
    EXPECT_FALSE(s.SelectorShown());  // no language files anywhere
  });
  EXPECT_TRUE(running);
  auto bin = Stored(kInstall, "Bin Path");
  ASSERT_TRUE(bin);
  EXPECT_EQ(bin->Data, install_ + "Bin/");
  EXPECT_TRUE(prompts_.asked.empty());
}

TEST_F(StartupTest, CancelInTheFirstStartSelectorEndsButKeepsTheInstallSettings) {
  tmp_.Write("install/Lang/Portugues.prlx", "INFO {\n Language = Portugues\n}\n");
  selectorAnswer_ = std::nullopt;
  EXPECT_FALSE(RunOnce({}, [](TStartup& s) { EXPECT_EQ(s.MainWindow(), nullptr); }));
  ASSERT_EQ(selectorCalls_.size(), 1u);
  EXPECT_EQ(selectorCalls_[0].size(), 1u);
  EXPECT_TRUE(Stored(kInstall, "Install Path"));
  EXPECT_FALSE(Stored(kGeneral, "Language file"));

  // The key exists now: the next start shows no selector and uses the built-in language.
  selectorAnswer_ = std::string();
  EXPECT_TRUE(RunOnce({}, [](TStartup& s) { EXPECT_FALSE(s.SelectorShown()); }));
  EXPECT_EQ(selectorCalls_.size(), 1u);
  EXPECT_TRUE(CurrentLanguageFile().empty());
}

TEST_F(StartupTest, ChosenLanguageIsStoredLoadedAndFeedsTheStringTable) {
  const std::string lang =
      tmp_.Write("install/Lang/pt.prlx",
                 "INFO {\n Language = Portugues\n}\nSTRINGS {\n strStarting = Iniciando...\n}\n");
  selectorAnswer_ = lang;
  EXPECT_TRUE(RunOnce({}, [&](TStartup& s) {
    EXPECT_TRUE(s.SelectorShown());
    EXPECT_EQ(CurrentLanguageFile(), lang);
    EXPECT_TRUE(MainLanguage().Active);
    EXPECT_EQ(s.SplashHistory().last(), "Iniciando...");
  }));
  ASSERT_TRUE(Stored(kGeneral, "Language file"));
  EXPECT_EQ(Stored(kGeneral, "Language file")->Data, lang);
}

TEST_F(StartupTest, StaleLanguageFileFallsBackToBuiltInAndKeepsTheSetting) {
  RunOnce({});
  {
    TSettingsStore s;
    s.Open(store_);
    s.WriteString(9, tmp_ / "gone.prlx");
  }
  EXPECT_TRUE(RunOnce({}, [](TStartup&) {
    EXPECT_TRUE(CurrentLanguageFile().empty());
    EXPECT_FALSE(MainLanguage().Active);
    EXPECT_EQ(Str(TStr::strStarting), "Starting...");
  }));
  EXPECT_EQ(Stored(kGeneral, "Language file")->Data, tmp_ / "gone.prlx");
}

TEST_F(StartupTest, UninstallRemovesOnlyThisVersionAndEnds) {
  RunOnce({});
  {
    TSettingsStore s;
    s.Open(store_);
    s.Registry()->WriteString("Software\\Ostrel\\Vortan\\1.0", "x", "kept");
  }
  EXPECT_FALSE(RunOnce({"/U"}, [](TStartup& s) { EXPECT_EQ(s.MainWindow(), nullptr); }));
  TRegistry reg;
  std::string err;
  ASSERT_TRUE(reg.Open(store_, err));
  EXPECT_FALSE(reg.KeyExists("Software\\Ostrel\\Vortan\\2.0"));
  EXPECT_TRUE(reg.KeyExists("Software\\Ostrel\\Vortan\\1.0"));

  // Without another version the parents go too.
  reg.DeleteKeyTree("Software\\Ostrel\\Vortan\\1.0");
  reg.Close();
  RunOnce({});
  EXPECT_FALSE(RunOnce({"-uninstall"}));
  ASSERT_TRUE(reg.Open(store_, err));
  EXPECT_FALSE(reg.KeyExists("Software\\Ostrel"));
}

TEST_F(StartupTest, ResetForgetsEverythingIncludingTheLanguageAndShowsNoSelector) {
  const std::string lang = tmp_.Write("install/Lang/pt.prlx", "INFO {\n Language = P\n}\n");
  selectorAnswer_ = lang;
  RunOnce({});
  ASSERT_EQ(selectorCalls_.size(), 1u);
  EXPECT_TRUE(RunOnce({"/reset"}, [](TStartup& s) { EXPECT_FALSE(s.SelectorShown()); }));
  EXPECT_EQ(selectorCalls_.size(), 1u);
  EXPECT_TRUE(CurrentLanguageFile().empty());
  EXPECT_EQ(Stored(kGeneral, "Language file")->Data, "");
}

TEST_F(StartupTest, ClearFindsToolsAgainAndOpensTheFilesAfterTheSwitch) {
  RunOnce({});
  // A stored Bin directory that still exists elsewhere is used until "/c".
  const std::string other = tmp_.MakeDir("other-bin") + "/";
  for (const char* tool : {"ftnchek", "gfortran", "gdb"})
    tmp_.Write(std::string("other-bin/") + tool, "");
  {
    TSettingsStore s;
    s.Open(store_);
    s.WriteString(44, other);
  }
  RunOnce({});
  EXPECT_EQ(Stored(kInstall, "Bin Path")->Data, other);
  const std::string src = tmp_.Write("prog.f", "      END\n");
  EXPECT_TRUE(RunOnce({"/c", QString::fromStdString(src)}, [&](TStartup& s) {
    ASSERT_EQ(s.MainWindow()->Editors().size(), 1u);
    EXPECT_EQ(s.MainWindow()->Editors()[0]->FileName(), src);
  }));
  EXPECT_EQ(Stored(kInstall, "Bin Path")->Data, install_ + "Bin/");
}

TEST_F(StartupTest, LocalizeShowsTheSelectorOnlyAsFirstArgument) {
  tmp_.Write("install/Lang/pt.prlx", "INFO {\n Language = P\n}\n");
  RunOnce({});
  ASSERT_EQ(selectorCalls_.size(), 1u);
  const std::string src = tmp_.Write("a.f", "      END\n");
  RunOnce({QString::fromStdString(src), "/l"});
  EXPECT_EQ(selectorCalls_.size(), 1u);  // a switch in the second place is only a file name
  RunOnce({"-LOCALIZE"});
  EXPECT_EQ(selectorCalls_.size(), 2u);
}

TEST_F(StartupTest, NonexistentFilesGiveExactlyOneNewSource) {
  EXPECT_TRUE(RunOnce({"/nope/a.f", "/nope/b.f"}, [](TStartup& s) {
    ASSERT_EQ(s.MainWindow()->Editors().size(), 1u);
    EXPECT_TRUE(s.MainWindow()->Editors()[0]->FileName().empty());
  }));
}

struct MissingToolCase {
  const char* name;
  std::vector<std::pair<TModalResult, bool>> answers;  // answer, box ticked
  bool starts;
  size_t questions;
  bool askAgain;  // setting 144 afterwards
};

void PrintTo(const MissingToolCase& c, std::ostream* os) { *os << c.name; }

class MissingToolTest : public StartupTest,
                        public ::testing::WithParamInterface<MissingToolCase> {};

TEST_P(MissingToolTest, AnswersDecideWhetherTheStartGoesOn) {
  const MissingToolCase& c = GetParam();
  fs::remove(install_ + "Bin/ftnchek");
  fs::remove(install_ + "Bin/gdb");
  for (auto [r, tick] : c.answers) prompts_.Answer(r, tick);
  EXPECT_EQ(RunOnce({}), c.starts);
  ASSERT_EQ(prompts_.asked.size(), c.questions);
  const TMessageRequest& q = prompts_.asked[0];
  EXPECT_EQ(q.Kind, TMsgDlgType::Error);
  EXPECT_TRUE(q.HasCheckBox);
  EXPECT_EQ(q.Buttons, TMsgDlgButtons({TMsgDlgBtn::Yes, TMsgDlgBtn::No, TMsgDlgBtn::YesToAll}));
  EXPECT_NE(q.Text.find(install_ + "Bin/ftnchek"), std::string::npos) << q.Text;
  EXPECT_NE(q.Text.find("Reinstall the Vortan"), std::string::npos);
  auto stored = Stored("Software\\Ostrel\\Vortan\\2.0\\Messages", "Install file missing");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->Data[0] != 0, c.askAgain);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MissingToolTest,
    ::testing::Values(
        MissingToolCase{
            "Yes", {{TModalResult::Yes, false}, {TModalResult::Yes, false}}, true, 2, true},
        MissingToolCase{"No", {{TModalResult::No, false}}, false, 1, true},
        MissingToolCase{"YesToAll", {{TModalResult::YesToAll, false}}, true, 1, true},
        MissingToolCase{"YesTicked", {{TModalResult::Yes, true}}, true, 1, false},
        MissingToolCase{"NoTicked", {{TModalResult::No, true}}, false, 1, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StartupTest, TickedBoxStopsTheCheckOnLaterStarts) {
  fs::remove(install_ + "Bin/gdb");
  prompts_.Answer(TModalResult::Yes, true);
  EXPECT_TRUE(RunOnce({}));
  EXPECT_TRUE(RunOnce({}));  // no question queued: a second one would fail the test
  EXPECT_EQ(prompts_.asked.size(), 1u);
}

TEST_F(StartupTest, DamagedStoreIsMovedAsideReportedOnceAndReplacedByDefaults) {
  const std::string garbage(4096, '\x5a');
  { std::ofstream(store_, std::ios::binary) << garbage; }
  prompts_.Answer(TModalResult::OK);
  EXPECT_TRUE(RunOnce({}));
  ASSERT_EQ(prompts_.asked.size(), 1u);
  EXPECT_EQ(prompts_.asked[0].Kind, TMsgDlgType::Warning);
  // The damaged file is kept, byte for byte, beside the fresh store.
  int kept = 0;
  for (const auto& e : fs::directory_iterator(tmp_.Path())) {
    const std::string name = e.path().filename().string();
    if (name.rfind("store.sqlite.", 0) == 0 && name.find("-wal") == std::string::npos &&
        name.find("-shm") == std::string::npos) {
      std::ifstream in(e.path(), std::ios::binary);
      std::string bytes((std::istreambuf_iterator<char>(in)), {});
      EXPECT_EQ(bytes, garbage);
      EXPECT_NE(prompts_.asked[0].Text.find(e.path().string()), std::string::npos);
      ++kept;
    }
  }
  EXPECT_EQ(kept, 1);
  EXPECT_TRUE(RunOnce({}));  // the fresh store is fine: no second message
  EXPECT_EQ(prompts_.asked.size(), 1u);
}

// The program's own dialog service beneath the start, as the program installs it. While the
// main window is built another service stands in place (the one that puts the splash aside);
// the print commands must still reach the real dialogs, on the print engine's printer.
TEST_F(StartupTest, PrintAndPageSetupOpenTheirDialogsOnTheEnginesPrinterAfterTheStart) {
  TDialogPromptService dialogs;
  SetPrompts(&dialogs);
  EXPECT_TRUE(RunOnce({}, [](TStartup& s) {
    TfrmMain* main = s.MainWindow();
    ASSERT_NE(main, nullptr);
    main->UpdateActions();
    QPrinter* engine = &main->PrintCommands().Engine().Printer();
    for (const char* action : {"actPrint", "actPageSetup"}) {
      // Plays the user: notes the dialog that opens and cancels it.
      QString shown;
      QPrinter* printer = nullptr;
      QTimer user;
      user.setInterval(10);
      QObject::connect(&user, &QTimer::timeout, [&] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dlg) return;
        shown = QString::fromLatin1(dlg->metaObject()->className());
        if (auto* p = qobject_cast<QPrintDialog*>(dlg)) printer = p->printer();
        if (auto* p = qobject_cast<QPageSetupDialog*>(dlg)) printer = p->printer();
        dlg->reject();
      });
      user.start();
      main->Action(action)->trigger();
      user.stop();
      const std::string expected =
          std::string(action) == "actPrint" ? "QPrintDialog" : "QPageSetupDialog";
      EXPECT_EQ(shown.toStdString(), expected) << action << " opened no dialog";
      EXPECT_EQ(printer, engine) << action;
    }
  }));
  SetPrompts(&prompts_);
}

}  // namespace
}  // namespace vortan
