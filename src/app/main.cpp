// Vortan: a development environment for FORTRAN 77.
#include <QApplication>

#include "app/quitonsignal.h"
#include "app/singleinstance.h"
#include "app/startup.h"
#include "i18n/ui/languagecommand.h"
#include "platform/codepage.h"
#include "platform/platform.h"
#include "shell/dialogpromptservice.h"
#include "shell/mainwindow.h"
#include "system/product.h"
#include "system/shellintegration.h"
#include "widgets/qtconvert.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QStringList args = QApplication::arguments();
  args.removeFirst();

  // A second launch hands its files to the running instance, brings it to the front and
  // ends without touching the settings.
  vortan::TSingleInstance instance;
  if (!instance.TryBecomePrimary()) {
    QStringList files;
    for (const QString& a : args) {
      const std::string path = vortan::LocalBytes(a);
      if (vortan::platform::FileExists(path))
        files << QString::fromStdString(vortan::platform::AbsolutePath(path));
    }
    if (instance.ForwardToPrimary(files)) return 0;
    // The lock's holder does not answer (a process that is ending, or not ours): a start
    // must still bring up a window, so this one runs on its own.
  }
  // A polite end (SIGTERM, SIGINT, SIGHUP) closes the main window as the user would, so the
  // settings, the lock and the channel are put away instead of being left behind.
  vortan::TQuitOnSignal quitOnSignal;

  vortan::TDialogPromptService prompts;
  vortan::SetPrompts(&prompts);

  vortan::TStartupOptions options;
  options.UserLanguageId = vortan::platform::UserLanguageId();
  options.SelectLanguage = vortan::SelectLanguageAtStart;
  options.IsAssociated = [] {
    return vortan::IsExtensionAssociated(".f", vortan::SourceFileTypeId);
  };
  options.Associate = [](const std::string& description) {
    vortan::AssociateExtension(vortan::platform::ExecutablePath(), ".f", vortan::SourceFileTypeId,
                               true, 1, vortan::OpenRequestTopic, description);
  };
  vortan::TStartup startup(std::move(options));
  int rc = 0;
  if (startup.Start(args)) {
    vortan::TfrmMain* main = startup.MainWindow();
    QObject::connect(&instance, &vortan::TSingleInstance::OpenRequested, main,
                     &vortan::TfrmMain::Vortan2DDEExecuteMacro);
    QObject::connect(&instance, &vortan::TSingleInstance::RaiseRequested, main,
                     &vortan::TfrmMain::BringToFront);
    instance.SetDelivering(true);
    QApplication::setQuitOnLastWindowClosed(true);
    rc = QApplication::exec();
  }
  instance.SetDelivering(false);
  startup.Finish();
  vortan::SetPrompts(nullptr);
  return rc;
}
