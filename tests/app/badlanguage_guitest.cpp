// Damaged language files named in the settings: the program still starts, and every text
// whose key cannot be found stays built-in.
#include <gtest/gtest.h>

#include <QMenu>
#include <random>

#include "app/startup.h"
#include "config/settingids.h"
#include "config/settingsstore.h"
#include "i18n/currentlanguage.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "shell/mainwindow.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

std::string Garbage(std::size_t size) {
  // Heavy in the bytes the parser cares about, but without NUL, which would end it at once.
  static const char special[] = "{}=\"\r\n \t";
  std::mt19937 gen(7);
  std::uniform_int_distribution<int> pick(0, 15), any(1, 255);
  std::string s(size, ' ');
  for (char& c : s) c = pick(gen) < 8 ? special[pick(gen) % 8] : char(any(gen));
  return s;
}

struct BadFileCase {
  const char* name;
  std::string bytes;
  const char* fileMenu;  // the File menu's title afterwards
  const char* editMenu;
  const char* starting;  // strStarting afterwards
};
void PrintTo(const BadFileCase& c, std::ostream* os) { *os << c.name; }

class BadLanguageFile : public ::testing::TestWithParam<BadFileCase> {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    MainLanguage().Active = false;
    MainLanguage().Root().Clear();
    CurrentLanguageFile().clear();
    ResetStringTable();
  }
  test::TTempDir tmp_;
  test::TScriptedPrompts prompts_;
};

TEST_P(BadLanguageFile, ProgramStartsAndUnfoundKeysStayBuiltIn) {
  const BadFileCase& c = GetParam();
  const std::string install = tmp_.MakeDir("install") + "/";
  for (const char* tool : {"ftnchek", "gfortran", "gdb"})
    tmp_.Write(std::string("install/Bin/") + tool, "");
  const std::string store = tmp_ / "store.sqlite";
  const std::string file = tmp_.Write("bad.prlx", c.bytes);
  {
    TSettingsStore s;
    s.Open(store);
    s.WriteString(sidLanguageFile, file);
  }
  TStartupOptions o;
  o.StorePath = store;
  o.InstallDir = install;
  TStartup startup(std::move(o));
  ASSERT_TRUE(startup.Start({}));
  TfrmMain* main = startup.MainWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(CurrentLanguageFile(), file);
  EXPECT_EQ(main->Menu("File")->title(), c.fileMenu);
  EXPECT_EQ(main->Menu("Edit")->title(), c.editMenu);
  EXPECT_EQ(main->Action("actSave")->text(), "&Save");
  EXPECT_EQ(Str(TStr::strStarting), c.starting);
  EXPECT_EQ(Str(TStr::MsgDlgNo), "&No");
  startup.Finish();
}

const std::string kObjects =
    "OBJECTS {\n Form:Main {\n  Menu:File {\n   Caption = &Arquivo\n  }\n }\n}\n";
const std::string kStrings = "STRINGS {\n strStarting = Iniciando...\n}\n";

INSTANTIATE_TEST_SUITE_P(
    Files, BadLanguageFile,
    ::testing::Values(
        BadFileCase{"ByteOrderMark", "\xEF\xBB\xBF" + kObjects + kStrings, "&File", "&Edit",
                    "Iniciando..."},
        BadFileCase{"UnclosedBlock",
                    kStrings + "OBJECTS {\n Form:Main {\n  Menu:File {\n   Caption = &Arquivo\n",
                    "&Arquivo", "&Edit", "Iniciando..."},
        BadFileCase{"StrayClosingBraces", "}\n}\n" + kObjects + "}\n}\n" + kStrings, "&Arquivo",
                    "&Edit", "Iniciando..."},
        BadFileCase{"NulBytes",
                    kStrings +
                        "OBJECTS {\n Form:Main {\n  Menu:Edit {\n   Caption = &Editar\n  }\n" +
                        std::string(1, '\0') + "  Menu:File {\n   Caption = &Arquivo\n  }\n }\n}\n",
                    "&File", "&Editar", "Iniciando..."},
        BadFileCase{"TenMegabytesOfGarbage", Garbage(10 * 1024 * 1024), "&File", "&Edit",
                    "Starting..."}));

}  // namespace
}  // namespace vortan
