// Changing the language of the running program: the open main window, its editors, the
// next message dialog, windows opened later, the Program language and Translate commands.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "i18n/currentlanguage.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "i18n/ui/languagecommand.h"
#include "i18n/ui/messagedialog.h"
#include "i18n/ui/parla.h"
#include "platform/platform.h"
#include "shell/aboutbox.h"
#include "shell/mainwindow.h"
#include "shell/mainwindowlanguage.h"
#include "support/files.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"
#include "system/product.h"
#include "system/vortanextension.h"
#include "system/vortanpath.h"
#include "widgets/dialogtitles.h"

namespace vortan {
namespace {

using vortan::test::ReadFile;

TMessageRequest YesNoQuestion() {
  TMessageRequest r;
  r.Text = "?";
  r.Kind = TMsgDlgType::Confirmation;
  r.Buttons = {TMsgDlgBtn::Yes, TMsgDlgBtn::No};
  return r;
}

class LanguageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLanguage();
    ASSERT_TRUE(OpenStore(dir_ / "store.sqlite").Ok);
    install_ = dir_.MakeDir("install") + "/";
    portuguese_ = dir_.Write("install/Lang/Portugues.prlx",
                             ReadFile(VORTAN_TEST_DATA "/../../resources/lang/Portugues.prlx"));
    paths_ = std::make_unique<TVortanPath>(Store(), install_);
    SetVortanPath(paths_.get());
    main_ = std::make_unique<TfrmMain>();
    main_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
    editor_ = main_->NewSourceFile();
    editor_->SetText("      END\n");
    editor_->SetModified(true);
  }
  void TearDown() override {
    prompts_.AnswerAlways(TModalResult::No);
    main_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetVortanExtension(nullptr);
    extensions_.reset();
    SetVortanPath(nullptr);
    paths_.reset();
    CloseStore();
    ResetLanguage();
  }
  static void ResetLanguage() {
    MainLanguage().Active = false;
    MainLanguage().Root().Clear();
    CurrentLanguageFile().clear();
    ResetStringTable();
  }

  QString MenuTitle(const char* key) { return main_->Menu(key)->title(); }
  QAction* Act(const char* name) { return main_->Action(name); }
  QString MoreButtonsHint() {
    auto* b = main_->MainToolbar()->findChild<QToolButton*>("qt_toolbar_ext_button");
    return b ? b->toolTip() : QString();
  }

  test::TTempDir dir_;
  test::TScriptedPrompts prompts_;
  std::string install_, portuguese_;
  std::unique_ptr<TVortanPath> paths_;
  std::unique_ptr<TVortanExtension> extensions_;
  std::unique_ptr<TfrmMain> main_;
  TfrmEditor* editor_ = nullptr;
};

TEST_F(LanguageTest, SwitchingChangesOpenWindowsAndTheNextDialogAndBackToEnglish) {
  EXPECT_EQ(MenuTitle("File"), "&File");
  EXPECT_EQ(editor_->StatusText(1), "Modified");

  SwitchLanguage(portuguese_);
  EXPECT_EQ(CurrentLanguageFile(), portuguese_);
  EXPECT_EQ(ReadString(sidLanguageFile), portuguese_);
  EXPECT_EQ(MenuTitle("File"), "&Arquivo");
  EXPECT_EQ(MenuTitle("Help"), "Aj&uda");
  EXPECT_EQ(Act("actSave")->text(), "&Salvar");
  EXPECT_EQ(Act("actSave")->statusTip(), "Salvar o arquivo-fonte ativo");
  EXPECT_EQ(Act("actSave")->shortcut(), QKeySequence("Ctrl+S"));
  EXPECT_EQ(main_->FilesWindow()->windowTitle(), "Arquivos");
  EXPECT_TRUE(
      main_->FilesTree()->toolTip().startsWith(QString::fromUtf8("Clique com o botão esquerdo")));
  EXPECT_EQ(main_->FilesTree()->toolTip().count('\n'), 1);
  EXPECT_EQ(MoreButtonsHint(), QString::fromUtf8("Mais botões"));
  EXPECT_EQ(FileDialogTitle(*main_, TFileDialogKind::Save), "Salvar como");
  EXPECT_EQ(editor_->StatusText(1), "Modificado");
  EXPECT_EQ(editor_->StatusText(2), "Inserir");
  {
    TMessageDlg next(YesNoQuestion());
    EXPECT_EQ(next.windowTitle(), QString::fromUtf8("Confirmação"));
    EXPECT_EQ(next.Button(TMsgDlgBtn::No)->text(), QString::fromUtf8("&Não"));
  }
  {
    TfrmAbout about(1033, main_.get());
    EXPECT_EQ(about.windowTitle(), "Sobre o Vortan");
  }

  SwitchLanguage("");
  EXPECT_TRUE(CurrentLanguageFile().empty());
  EXPECT_FALSE(MainLanguage().Active);
  EXPECT_EQ(MenuTitle("File"), "&File");
  EXPECT_EQ(Act("actSave")->statusTip(), "Save the active source file");
  EXPECT_EQ(main_->FilesWindow()->windowTitle(), "Files");
  EXPECT_EQ(MoreButtonsHint(), "More Buttons");
  EXPECT_EQ(FileDialogTitle(*main_, TFileDialogKind::Save), "Save As");
  EXPECT_EQ(editor_->StatusText(1), "Modified");
  {
    TMessageDlg next(YesNoQuestion());
    EXPECT_EQ(next.windowTitle(), "Confirm");
    EXPECT_EQ(next.Button(TMsgDlgBtn::No)->text(), "&No");
  }
  // Windows opened afterwards keep their built-in English.
  TfrmEditor* later = main_->NewSourceFile();
  EXPECT_EQ(later->StatusText(2), "Insert");
  TfrmAbout about(1033, main_.get());
  EXPECT_EQ(about.windowTitle(), "About Vortan");
  TfrmParla selector(1033, main_.get());
  EXPECT_EQ(selector.CancelButton()->text(), "Cancel");
}

TEST_F(LanguageTest, MissingKeysKeepTheTextsBeforeAndShortcutsFollowTheirRules) {
  SwitchLanguage(portuguese_);
  const std::string partial = dir_.Write("partial.prlx",
                                         "INFO {\n Language = Parcial\n}\n"
                                         "OBJECTS {\n Form:Main {\n"
                                         "  Menu:File {\n   Caption = &Fichier\n  }\n"
                                         "  File {\n"
                                         "   Action:Save {\n    Shortcut =\n   }\n"
                                         "   Action:New {\n    Shortcut = Shift + Alt + N\n   }\n"
                                         "   Action:Open {\n    Shortcut = Ctrl+Nothing\n   }\n"
                                         "  }\n }\n}\n");
  SwitchLanguage(partial);
  EXPECT_EQ(MenuTitle("File"), "&Fichier");
  EXPECT_EQ(MenuTitle("Edit"), "&Editar");  // not in the file: stays Portuguese
  EXPECT_EQ(Act("actSave")->text(), "&Salvar");
  EXPECT_TRUE(Act("actSave")->shortcut().isEmpty());  // empty: removed
  EXPECT_TRUE(Act("actOpen")->shortcut().isEmpty());  // unreadable: removed
  EXPECT_EQ(Act("actNew")->shortcut(), QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_N));
  EXPECT_EQ(editor_->StatusText(2), "Inserir");  // the string table keeps Portuguese too

  // The shortcut written with blanks works from the keyboard.
  main_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(main_.get()));
  const std::size_t before = main_->Editors().size();
  QTest::keyClick(main_.get(), Qt::Key_N, Qt::AltModifier | Qt::ShiftModifier);
  EXPECT_EQ(main_->Editors().size(), before + 1);
}

TEST_F(LanguageTest, ProgramLanguageCommandOutcomesAndTheStringTableAfterwards) {
  auto choose = [](int row, bool ok) {
    return [row, ok](TfrmParla& d) {
      d.List()->setCurrentItem(d.List()->topLevelItem(row));
      return ok;
    };
  };
  // OK on Portuguese.
  ProgramLanguageCommand(main_.get(), choose(1, true), 1033);
  EXPECT_EQ(CurrentLanguageFile(), portuguese_);
  EXPECT_TRUE(MainLanguage().Active);
  EXPECT_EQ(MenuTitle("File"), "&Arquivo");
  EXPECT_EQ(Str(TStr::MsgDlgCancel), "Cancelar");

  // Cancel after previewing the built-in language: Portuguese stays everywhere; the language
  // in use is preselected.
  std::string preselected;
  ProgramLanguageCommand(
      main_.get(),
      [&](TfrmParla& d) {
        preselected = d.SelectedFile();
        d.List()->setCurrentItem(d.List()->topLevelItem(0));
        EXPECT_EQ(Str(TStr::MsgDlgCancel), "Cancel");
        return false;
      },
      1033);
  EXPECT_EQ(preselected, portuguese_);
  EXPECT_EQ(Str(TStr::MsgDlgCancel), "Cancelar");
  EXPECT_EQ(MenuTitle("File"), "&Arquivo");
  EXPECT_EQ(ReadString(sidLanguageFile), portuguese_);

  // OK on the built-in language.
  ProgramLanguageCommand(main_.get(), choose(0, true), 1033);
  EXPECT_TRUE(CurrentLanguageFile().empty());
  EXPECT_FALSE(MainLanguage().Active);
  EXPECT_EQ(MenuTitle("File"), "&File");
  EXPECT_EQ(Str(TStr::MsgDlgCancel), "Cancel");
  EXPECT_EQ(ReadString(sidLanguageFile), "");

  // Cancel after previewing Portuguese while the built-in language is in use.
  ProgramLanguageCommand(main_.get(), choose(1, false), 1033);
  EXPECT_EQ(Str(TStr::MsgDlgCancel), "Cancel");
  EXPECT_EQ(MenuTitle("File"), "&File");

  // The command is the action's.
  bool shown = false;
  QTimer::singleShot(0, [&] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = qobject_cast<TfrmParla*>(w); d && d->isVisible()) {
        shown = true;
        d->reject();
      }
  });
  Act("actProgramLanguage")->trigger();
  EXPECT_TRUE(shown);
}

TEST_F(LanguageTest, TranslateCommandStartsTheToolOrOffersTheWebsite) {
  extensions_ = std::make_unique<TVortanExtension>(*paths_, Store());
  SetVortanExtension(extensions_.get());
  SwitchLanguage(portuguese_);
  prompts_.Answer(TModalResult::No);
  Act("actTranslate")->trigger();
  ASSERT_EQ(prompts_.asked.size(), 1u);
  const TMessageRequest& q = prompts_.asked[0];
  EXPECT_EQ(q.Kind, TMsgDlgType::Information);
  EXPECT_EQ(q.Buttons, TMsgDlgButtons({TMsgDlgBtn::Yes, TMsgDlgBtn::No}));
  EXPECT_EQ(q.Text, FormatText(TStr::strMsgExtensionNotFound, {ProjectWebsite, "Vortan"}));
  EXPECT_NE(q.Text.find(ProjectWebsite), std::string::npos);

  // Found: started with this program's full name as its one argument.
  const std::string out = dir_ / "argument.txt";
  const std::string tool = dir_.Write("install/" + std::string(platform::ParlaxFileName),
                                      "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > '" + out + "'\n");
  std::filesystem::permissions(tool, std::filesystem::perms::owner_all);
  SetVortanExtension(nullptr);
  extensions_ = std::make_unique<TVortanExtension>(*paths_, Store());
  SetVortanExtension(extensions_.get());
  Act("actTranslate")->trigger();
  for (int i = 0; i < 100 && ReadFile(out).empty(); ++i) QTest::qWait(50);
  EXPECT_EQ(ReadFile(out), "1|" + platform::ExecutablePath());
  EXPECT_EQ(prompts_.asked.size(), 1u);
}

}  // namespace
}  // namespace vortan
