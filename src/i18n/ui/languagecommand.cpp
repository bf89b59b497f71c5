#include "i18n/ui/languagecommand.h"

#include <filesystem>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "i18n/currentlanguage.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "i18n/ui/parla.h"
#include "i18n/ui/translator.h"
#include "platform/platform.h"
#include "system/vortanpath.h"

namespace vortan {

namespace {

bool RunModal(TfrmParla& dialog) { return dialog.exec() == QDialog::Accepted; }

void RestoreStringTable() {
  if (MainLanguage().Active)
    LoadStringTable(MainLanguage());
  else
    ResetStringTable();
}

}  // namespace

void SwitchLanguage(const std::string& fileName) {
  TParlax& language = MainLanguage();
  CurrentLanguageFile() = fileName;
  WriteString(sidLanguageFile, fileName);
  language.Active = false;
  if (!fileName.empty() && platform::FileExists(fileName)) {
    try {
      language.LoadFromFile(fileName);
      language.Active = true;
      // Windows read string-table texts while they translate (status texts, Reopen menu).
      LoadStringTable(language);
      Translate(language, nullptr);
      return;
    } catch (const std::exception&) {
      // Unreadable: the built-in language, as for a missing file.
    }
  }
  // The built-in language: its texts are applied once, then the tree is dropped, so that
  // windows created later keep their own built-in texts.
  CurrentLanguageFile().clear();
  language.LoadFromResource();
  language.Active = true;
  LoadStringTable(language);
  Translate(language, nullptr);
  language.Active = false;
  language.Root().Clear();
}

void ProgramLanguageCommand(QWidget* parent, const std::function<bool(TfrmParla&)>& run,
                            std::optional<int> userLanguageId) {
  std::optional<std::string> chosen;
  {
    TfrmParla dialog(userLanguageId ? *userLanguageId : platform::UserLanguageId(), parent);
    if (TVortanPath* paths = VortanPath())
      dialog.ScanLanguageDirs({paths->GetPath(sidInstallPath), paths->GetPath(sidLanguagePath)});
    if (run ? run(dialog) : RunModal(dialog)) chosen = dialog.SelectedFile();
  }  // the dialog gives the string table back as it was before its preview
  if (chosen) SwitchLanguage(*chosen);
  RestoreStringTable();
}

std::optional<std::string> SelectLanguageAtStart(const std::vector<std::string>& files) {
  std::vector<std::string> directories;
  for (const std::string& f : files) {
    const std::string dir = std::filesystem::path(f).parent_path().string();
    bool known = false;
    for (const std::string& d : directories) known = known || d == dir;
    if (!known) directories.push_back(dir);
  }
  TfrmParla dialog(platform::UserLanguageId());
  if (!dialog.ScanLanguageDirs(directories)) return ReadString(sidLanguageFile);
  if (!RunModal(dialog)) return std::nullopt;
  return dialog.SelectedFile();
}

}  // namespace vortan
