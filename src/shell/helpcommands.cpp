// The Help menu's commands.
#include "config/settingids.h"
#include "platform/platform.h"
#include "shell/aboutbox.h"
#include "shell/commands.h"
#include "shell/mainwindow.h"
#include "system/helpanchor.h"
#include "system/product.h"
#include "system/promptservice.h"
#include "system/vortanextension.h"
#include "widgets/desktop.h"

namespace vortan::cmd {

namespace {

void ShowExtension(int id) {
  const std::string file = ExtensionOf(id);
  // A page with no program to open it is as missing as no page at all.
  if (file.empty() || !OpenLocalFile(file, HelpAnchor(id))) ExtensionNotFound();
}
}  // namespace

void Help(const TCommandCall&) { ShowExtension(sidHelpExtension); }
void Tutorial(const TCommandCall&) { ShowExtension(sidTutorialExtension); }
void CompilerManual(const TCommandCall&) { ShowExtension(sidG77ManualExtension); }
void AnalyzerManual(const TCommandCall&) { ShowExtension(sidFtnchekManualExtension); }
void DebuggerManual(const TCommandCall&) { ShowExtension(sidGDBManualExtension); }

void Donations(const TCommandCall&) {
  // Texts of this message are the program's own, in UTF-8.
  const std::string text =
      platform::IsBrazilianPortuguese(platform::UserLanguageId())
          ? "O Vortan é software livre, feito no tempo livre de quem o escreve.\n\n"
            "Se ele é útil para você, ajude o projeto a continuar: uma doação, "
            "por menor que seja, paga o tempo de novas versões.\n\n"
            "Deseja visitar a página do projeto para fazer uma doação?"
          : "Vortan is free software, written in the spare time of its authors.\n\n"
            "If it is useful to you, please help the project go on: a donation, however small, "
            "pays for the time new versions take.\n\n"
            "Do you want to visit the project's website to make a donation?";
  if (MessageDlgDef(text, TMsgDlgType::Information, {TMsgDlgBtn::Yes, TMsgDlgBtn::No}) ==
      TModalResult::Yes)
    OpenAddress(vortan::ProjectWebsite);
}

void ProjectWebsite(const TCommandCall&) { OpenAddress(vortan::ProjectWebsite); }

void About(const TCommandCall& c) {
  auto* about = new TfrmAbout(platform::UserLanguageId(), &c.Main);
  about->exec();
}

}  // namespace vortan::cmd
