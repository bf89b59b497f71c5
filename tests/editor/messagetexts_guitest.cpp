// Messages that name a file are built from decoded parts: the language text through the
// language file's code page, the file name through the file system's encoding. A translation
// with "€" and curly quotes and a folder named "Área de Trabalho" must both show right.
#include <QLabel>
#include <filesystem>

#include "editorfixture.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "i18n/ui/messagedialog.h"
#include "platform/platform.h"

namespace vortan::test {
namespace {

// Windows-1252 bytes: "Salvar alterações em “%s”? (€)" / "Falta o arquivo “%s” (%s) €".
constexpr const char* kLanguage =
    "STRINGS {\n"
    "  strSaveChanges = Salvar altera\xe7\xf5"
    "es em \x93%s\x94? (\x80)\n"
    "  strMsgFileMissing = Falta o arquivo \x93%s\x94 (%s) \x80\n"
    "  strModified = \x93Modificado\x94 \x80\n"
    "  strInsert = \x93Inserir\x94\n"
    "  strOverwrite = \x93Sobrescrever\x94\n"
    "}\n";

class MessageTexts : public EditorFixture {
 protected:
  void SetUp() override {
    EditorFixture::SetUp();
    TParlax language;
    language.LoadFromText(kLanguage);
    language.Active = true;
    LoadStringTable(language);
    folder = dir / "\xc3\x81rea de Trabalho";  // "Área de Trabalho" in UTF-8
    std::filesystem::create_directories(folder);
  }
  void TearDown() override {
    ResetStringTable();
    EditorFixture::TearDown();
  }
  std::string LastText() const {
    return prompts.asked.empty() ? std::string() : prompts.asked.back().Text;
  }
  std::string folder;
};

TEST_F(MessageTexts, EveryMessageNamingAFileShowsNameAndTranslationRight) {
  const std::string missing = folder + "/sem nome.f";
  const std::string unwritable = folder + "/n\xc3\xa3o existe/prog.f";  // "não existe"
  prompts.AnswerAlways(TModalResult::Cancel);

  TfrmEditor* e = NewEditor();
  EXPECT_FALSE(e->LoadFromFile(missing));
  EXPECT_NE(LastText().find("\"" + missing + "\""), std::string::npos) << LastText();

  EXPECT_FALSE(e->SaveToFile(unwritable));
  EXPECT_NE(LastText().find("\"" + unwritable + "\""), std::string::npos) << LastText();

  e->SetCaption(QString::fromUtf8("Área.f"));
  e->SetText("      END\n");
  e->SetModified(true);
  EXPECT_FALSE(e->close());
  EXPECT_EQ(LastText(), "Salvar alterações em “Área.f”? (€)");

  // A name that is not UTF-8 (Latin-1 bytes from an old disk) still shows every byte.
  EXPECT_EQ(platform::FileNameText("caf\xe9.f"), "café.f");
  EXPECT_EQ(FormatText(TStr::strMsgFileMissing, {platform::FileNameText(missing), "Vortan"}),
            "Falta o arquivo “" + missing + "” (Vortan) €");
}

TEST_F(MessageTexts, TheStatusBarShowsTheTranslationRight) {
  TfrmEditor* e = ShownEditor();
  e->SetText("      END\r\n");
  e->SetModified(true);
  e->SynEdit()->SetInsertMode(true);
  e->StatusRefresh();
  EXPECT_EQ(e->StatusText(1), QString::fromUtf8("“Modificado” €"));
  EXPECT_EQ(e->StatusText(2), QString::fromUtf8("“Inserir”"));
  e->SynEdit()->SetInsertMode(false);
  e->StatusRefresh();
  EXPECT_EQ(e->StatusText(2), QString::fromUtf8("“Sobrescrever”"));
}

TEST_F(MessageTexts, TheDialogShowsTheUtf8TextAsIs) {
  TMessageRequest r;
  r.Text = FormatText(TStr::strSaveChanges, {platform::FileNameText(folder)});
  r.Kind = TMsgDlgType::Confirmation;
  r.Buttons = {TMsgDlgBtn::Yes, TMsgDlgBtn::No};
  TMessageDlg dlg(r);
  const auto labels = dlg.findChildren<QLabel*>();
  bool found = false;
  for (QLabel* l : labels)
    if (l->text().contains(QString::fromUtf8("“")) &&
        l->text().contains(QString::fromUtf8("Área de Trabalho")) &&
        l->text().contains(QString::fromUtf8("€")))
      found = true;
  EXPECT_TRUE(found);
}

}  // namespace
}  // namespace vortan::test
