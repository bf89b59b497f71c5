// The language selector: which files it lists and preselects, its live preview, its hints
// and giving the string table back when it goes.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "i18n/currentlanguage.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "i18n/ui/parla.h"
#include "support/files.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

const std::string kPortuguese = VORTAN_TEST_DATA "/../../resources/lang/Portugues.prlx";

using vortan::test::ReadFile;

std::string Info(const std::string& language, const std::string& langId) {
  return "INFO {\n Author = A. Writer\n Email = a@b.c\n LangID = " + langId +
         "\n Language = " + language + "\n Version = 1.0\n}\n";
}

class ParlaTest : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    ResetStringTable();
    CurrentLanguageFile().clear();
    MainLanguage().Active = false;
    MainLanguage().Root().Clear();
  }
  std::string Portuguese(const std::string& name) {
    return dir_.Write(name, ReadFile(kPortuguese));
  }
  QString Current(TfrmParla& d) {
    QTreeWidgetItem* item = d.List()->currentItem();
    return item ? item->text(0) : QString();
  }

  test::TTempDir dir_;
};

struct PreselectCase {
  const char* name;
  int userId;
  const char* langId;
  bool selected;
};
void PrintTo(const PreselectCase& c, std::ostream* os) { *os << c.name; }

class Preselection : public ParlaTest, public ::testing::WithParamInterface<PreselectCase> {};

TEST_P(Preselection, ByLangIdOfTheUsersLanguage) {
  const PreselectCase& c = GetParam();
  dir_.Write("lang/a.prlx", Info("Deutsch", "1031"));
  const std::string target = dir_.Write("lang/b.prlx", Info("Alvo", c.langId));
  TfrmParla d(c.userId);
  EXPECT_TRUE(d.ScanLanguages(dir_ / "lang"));
  ASSERT_EQ(d.List()->topLevelItemCount(), 3);
  EXPECT_EQ(d.SelectedFile(), c.selected ? target : std::string());
  if (c.selected) {
    EXPECT_EQ(Current(d), "Alvo");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Preselection,
    ::testing::Values(PreselectCase{"ListedAmongOthers", 1046, "1046, 2070", true},
                      PreselectCase{"SecondOfTheList", 2070, "1046 ,2070", true},
                      PreselectCase{"Hexadecimal", 1046, "$416", true},
                      PreselectCase{"NotANumber", 1046, "pt-BR", false},
                      PreselectCase{"TagThenNumber", 1046, "pt-BR,1046", true},
                      PreselectCase{"EnglishUserNeverByLangId", 1033, "1033", false},
                      PreselectCase{"NoUserLanguage", 0, "0", false}));

TEST_F(ParlaTest, LanguageInUseWinsAndALaterDirectoryReplacesAnEarlierChoice) {
  dir_.Write("install/a.prlx", Info("Primeiro", "1046"));
  const std::string inUse = dir_.Write("install/z.prlx", Info("EmUso", "9999"));
  CurrentLanguageFile() = inUse;
  {
    TfrmParla d(1046);
    EXPECT_TRUE(d.ScanLanguages(dir_ / "install"));
    EXPECT_EQ(d.SelectedFile(), inUse);  // also though a.prlx matched the id first
  }
  CurrentLanguageFile().clear();
  const std::string later = dir_.Write("lang/c.prlx", Info("Depois", "1046"));
  TfrmParla d(1046);
  EXPECT_TRUE(d.ScanLanguageDirs({dir_ / "install", dir_ / "missing", dir_ / "lang"}));
  EXPECT_EQ(d.SelectedFile(), later);
  EXPECT_EQ(d.List()->topLevelItemCount(), 4);
}

TEST_F(ParlaTest, FilesWithoutInfoAndMissingDirectoriesAddNothing) {
  dir_.Write("lang/none.prlx", "STRINGS {\n strOK = Certo\n}\n");
  dir_.Write("lang/empty.prlx", "INFO {\n}\n");
  dir_.Write("lang/other.txt", Info("Texto", "1046"));
  dir_.Write("lang/bom.prlx", "\xEF\xBB\xBFINFO {\n Language = Bom\n}\n");
  TfrmParla d(1046);
  EXPECT_FALSE(d.ScanLanguageDirs({dir_ / "lang", dir_ / "missing", ""}));
  EXPECT_EQ(d.List()->topLevelItemCount(), 1);
  EXPECT_EQ(d.List()->topLevelItem(0)->text(0), "Default (Internal)");
  EXPECT_TRUE(d.SelectedFile().empty());
}

TEST_F(ParlaTest, PreviewTranslatesTheDialogAndTheStringTableAndDefaultTurnsThemBack) {
  const std::string pt = Portuguese("lang/Portugues.prlx");
  TfrmParla d(1046);
  d.show();
  ASSERT_TRUE(d.ScanLanguages(dir_ / "lang"));
  EXPECT_EQ(d.SelectedFile(), pt);
  EXPECT_EQ(d.windowTitle(), "Seletor de idioma");
  EXPECT_EQ(d.findChild<QLabel*>("lblPlease")->text(), "Selecione o seu idioma.");
  EXPECT_EQ(d.CancelButton()->text(), "Cancelar");
  EXPECT_EQ(d.List()->topLevelItem(0)->text(0), QString::fromUtf8("Padrão (interno)"));
  EXPECT_EQ(Str(TStr::MsgDlgCancel), "Cancelar");

  d.List()->setCurrentItem(d.List()->topLevelItem(0));
  EXPECT_TRUE(d.SelectedFile().empty());
  EXPECT_EQ(d.windowTitle(), "Language selector");
  EXPECT_EQ(d.CancelButton()->text(), "Cancel");
  EXPECT_EQ(d.List()->topLevelItem(0)->text(0), "Default (Internal)");
  EXPECT_EQ(Str(TStr::MsgDlgCancel), "Cancel");

  // A file removed after the scan previews as the built-in language.
  d.List()->setCurrentItem(d.List()->topLevelItem(1));
  EXPECT_EQ(d.CancelButton()->text(), "Cancelar");
  std::filesystem::remove(pt);
  d.List()->setCurrentItem(d.List()->topLevelItem(0));
  d.List()->setCurrentItem(d.List()->topLevelItem(1));
  EXPECT_EQ(d.SelectedFile(), pt);
  EXPECT_EQ(d.CancelButton()->text(), "Cancel");
}

TEST_F(ParlaTest, ClosingGivesTheStringTableBackWhateverTheLanguageInUse) {
  const std::string pt = Portuguese("lang/Portugues.prlx");
  dir_.Write("lang/x.prlx", Info("Xadrez", "1") + "STRINGS {\n MsgDlgYes = &Ja\n}\n");

  // Built-in language in use: the Portuguese preview goes with the dialog.
  {
    TfrmParla d(1046);
    d.ScanLanguages(dir_ / "lang");
    EXPECT_EQ(Str(TStr::MsgDlgNo), "&N\xe3o");
  }
  EXPECT_EQ(Str(TStr::MsgDlgNo), "&No");

  // A partial language in use: the keys it lacks come back too, not only the ones it has.
  MainLanguage().LoadFromFile(dir_ / "lang/x.prlx");
  MainLanguage().Active = true;
  LoadStringTable(MainLanguage());
  {
    TfrmParla d(1046);
    d.ScanLanguages(dir_ / "lang");
    EXPECT_EQ(Str(TStr::MsgDlgYes), "&Sim");
    d.reject();
  }
  EXPECT_EQ(Str(TStr::MsgDlgYes), "&Ja");
  EXPECT_EQ(Str(TStr::MsgDlgNo), "&No");
}

TEST_F(ParlaTest, EntryHintHasSixLinesAndFollowsTheMouse) {
  const std::string file = dir_.Write("lang/a.prlx", Info("Alfa", "1046"));
  TfrmParla d(1033);
  d.resize(300, 280);
  d.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
  d.ScanLanguages(dir_ / "lang");
  EXPECT_EQ(d.EntryHint(0), "");
  EXPECT_EQ(d.EntryHint(1), QString::fromStdString("Author: A. Writer\nEmail: a@b.c\nLangID: 1046\n"
                                                   "Language: Alfa\nVersion: 1.0\nFilename: " +
                                                   file));

  QWidget* viewport = d.List()->viewport();
  const QPoint over = d.List()->visualItemRect(d.List()->topLevelItem(1)).center();
  QTest::mouseMove(viewport, over);
  QMouseEvent move(QEvent::MouseMove, over, viewport->mapToGlobal(over), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
  EXPECT_EQ(d.List()->toolTip(), d.EntryHint(1));

  const QPoint below(5, viewport->height() - 2);
  QMouseEvent away(QEvent::MouseMove, below, viewport->mapToGlobal(below), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &away);
  EXPECT_EQ(d.List()->toolTip(), "");
}

TEST_F(ParlaTest, DoubleClickOnAnEntryActsAsOK) {
  dir_.Write("lang/a.prlx", Info("Alfa", "1"));
  TfrmParla d(1033);
  d.show();
  d.ScanLanguages(dir_ / "lang");
  QTreeWidgetItem* item = d.List()->topLevelItem(1);
  d.List()->setCurrentItem(item);
  emit d.List()->itemDoubleClicked(item, 0);
  EXPECT_EQ(d.result(), QDialog::Accepted);
  EXPECT_EQ(d.SelectedFile(), dir_ / "lang/a.prlx");
}

}  // namespace
}  // namespace vortan
