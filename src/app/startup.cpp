#include "app/startup.h"

#include <QApplication>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "i18n/currentlanguage.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "platform/platform.h"
#include "shell/mainwindow.h"
#include "shell/splash.h"
#include "system/product.h"
#include "system/promptservice.h"
#include "system/verifycomponents.h"
#include "system/vortanextension.h"
#include "system/vortanformat.h"
#include "system/vortanpath.h"
#include "widgets/qtconvert.h"

namespace vortan {

TStartSwitch ParseSwitch(const QStringList& args) {
  if (args.isEmpty()) return TStartSwitch::None;
  const QString a = args.first().toLower();
  auto is = [&a](const char* shortName, const char* longName) {
    for (const char* prefix : {"/", "-"})
      if (a == QLatin1String(prefix) + QLatin1String(shortName) ||
          a == QLatin1String(prefix) + QLatin1String(longName))
        return true;
    return false;
  };
  if (is("l", "localize")) return TStartSwitch::Localize;
  if (is("u", "uninstall")) return TStartSwitch::Uninstall;
  if (is("c", "clear")) return TStartSwitch::Clear;
  if (is("r", "reset")) return TStartSwitch::Reset;
  return TStartSwitch::None;
}

namespace {

// The splash stays on top of every window: a question asked while it shows would sit behind
// it, and the start would wait for an answer no one can give. The splash steps aside while
// the question is open. Every question is passed on whole to the service beneath: one kept
// back here would be answered as cancelled without a window.
class TSplashAsidePrompts : public TPromptService {
 public:
  explicit TSplashAsidePrompts(QPointer<TfrmSplash>& splash) : splash_(splash), next_(Prompts()) {
    SetPrompts(this);
  }
  ~TSplashAsidePrompts() override { SetPrompts(next_); }

  TMessageAnswer MessageDlg(const TMessageRequest& request) override {
    return Aside([&] { return Next().MessageDlg(request); });
  }
  std::vector<std::string> OpenFileDialog(const TFileDialogRequest& request) override {
    return Aside([&] { return Next().OpenFileDialog(request); });
  }
  std::string SaveFileDialog(const TFileDialogRequest& request) override {
    return Aside([&] { return Next().SaveFileDialog(request); });
  }
  bool FontDialog(TFontSpec& font) override {
    return Aside([&] { return Next().FontDialog(font); });
  }
  bool ColorDialog(uint32_t& color) override {
    return Aside([&] { return Next().ColorDialog(color); });
  }
  TPrintDialogAnswer PrintDialog(const TPrintDialogRequest& request) override {
    return Aside([&] { return Next().PrintDialog(request); });
  }
  bool PageSetupDialog(QPrinter* printer) override {
    return Aside([&] { return Next().PageSetupDialog(printer); });
  }

 private:
  template <class TAsk>
  auto Aside(TAsk ask) -> decltype(ask()) {
    const bool shown = splash_ && splash_->isVisible();
    if (shown) splash_->hide();
    auto answer = ask();
    if (shown && splash_) splash_->show();
    return answer;
  }
  // Without a service beneath, the interface's own answers (all "cancelled").
  TPromptService& Next() { return next_ ? *next_ : none_; }

  struct TNoPrompts : TPromptService {
    TMessageAnswer MessageDlg(const TMessageRequest& r) override {
      return {EscapeResult(r.Buttons), r.Checked};
    }
  };
  QPointer<TfrmSplash>& splash_;
  TPromptService* next_;
  TNoPrompts none_;
};

}  // namespace

TStartup::TStartup(TStartupOptions options) : options_(std::move(options)) {}

TStartup::~TStartup() { Finish(); }

void TStartup::SetSplash(const QString& text) {
  if (!splash_) return;
  splash_->SetStatus(text);
  splashHistory_ << text;
}

bool TStartup::Start(const QStringList& args) {
  TSplashAsidePrompts prompts(splash_);
  QApplication::setOverrideCursor(Qt::WaitCursor);
  QApplication::setApplicationName(QString::fromLatin1(ApplicationTitle));
  auto fail = [] {
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    return false;
  };

  const TStoreOpenResult opened =
      OpenStore(options_.StorePath.empty() ? DefaultStorePath() : options_.StorePath);
  storeOpen_ = true;
  TSettingsStore& store = Store();

  const TStartSwitch sw = ParseSwitch(args);
  bool selectorDue = !store.RootExists() || sw == TStartSwitch::Localize;

  if (sw == TStartSwitch::Uninstall) {
    store.Uninstall();
    return fail();
  }

  const std::string installDir = options_.InstallDir.empty()
                                     ? platform::ExecutableDir()
                                     : platform::IncludeTrailingSeparator(options_.InstallDir);
  paths_ = std::make_unique<TVortanPath>(store, installDir);
  extensions_ = std::make_unique<TVortanExtension>(*paths_, store);
  formats_ = std::make_unique<TVortanFormat>(store);
  SetVortanPath(paths_.get());
  SetVortanExtension(extensions_.get());
  SetVortanFormat(formats_.get());

  if (sw == TStartSwitch::Clear) {
    paths_->ClearPaths();
    extensions_->ClearExtensions();
  } else if (sw == TStartSwitch::Reset) {
    store.DeleteRoot();
  }

  if (selectorDue && options_.SelectLanguage) {
    const std::vector<std::string> files =
        FindLanguageFiles({paths_->GetPath(sidInstallPath), paths_->GetPath(sidLanguagePath)});
    if (!files.empty()) {
      selectorShown_ = true;
      std::optional<std::string> chosen = options_.SelectLanguage(files);
      if (!chosen) {
        Finish();
        return fail();
      }
      store.WriteString(sidLanguageFile, *chosen);
    }
  }

  // Every setting exists from here on (a start cancelled in the selector stores only
  // what it found of the installation), created in one go: a run that ends abnormally later
  // cannot leave the store with some settings written and others missing.
  store.CreateMissingSettings();
  CurrentLanguageFile() = store.ReadString(sidLanguageFile);
  TParlax& language = MainLanguage();
  language.Active = false;
  bool loaded = false;
  if (!CurrentLanguageFile().empty() && platform::FileExists(CurrentLanguageFile())) {
    try {
      language.LoadFromFile(CurrentLanguageFile());
      language.Active = true;
      loaded = true;
    } catch (const std::exception&) {
      // An unreadable language file leaves the built-in language.
    }
  }
  if (!loaded) {
    CurrentLanguageFile().clear();
    language.Root().Clear();
  }

  if (store.ReadBool(sidShowSplashScreen)) {
    splash_ = new TfrmSplash(options_.UserLanguageId);
    SetSplash(QString());
    splash_->show();
    splash_->repaint();
  }

  if (!language.Active && selectorShown_) ResetStringTable();
  LoadStringTable(language);

  if (opened.WasDamaged) {
    MessageDlgDef(
        FormatText(TStr::strMsgStoreDamaged,
                   {platform::FileNameText(options_.StorePath.empty() ? DefaultStorePath()
                                                                      : options_.StorePath),
                    platform::FileNameText(opened.MovedAsideTo)}),
        TMsgDlgType::Warning, {TMsgDlgBtn::OK});
  }
  if (opened.ReadOnly) {
    MessageDlgDef(
        FormatText(TStr::strMsgStoreReadOnly,
                   {platform::FileNameText(options_.StorePath.empty() ? DefaultStorePath()
                                                                      : options_.StorePath)}),
        TMsgDlgType::Information, {TMsgDlgBtn::OK});
  }

  SetSplash(LanguageText(Str(TStr::strVerifyingComponents)));

  if (options_.IsAssociated && options_.Associate) {
    bool show = store.ReadBool(sidAssociateFiles);
    if (show && !options_.IsAssociated()) {
      const std::string text = FormatText(TStr::strMsgAssociateExtension, {ApplicationTitle});
      if (MessageDlgCheck(text, TMsgDlgType::Confirmation, {TMsgDlgBtn::Yes, TMsgDlgBtn::No}, {},
                          show) == TModalResult::Yes)
        options_.Associate(FormatText(TStr::strSourceFileDescription, {ApplicationTitle}));
      store.WriteBool(sidAssociateFiles, show);
    }
  }

  if (!VerifyComponents(*paths_, store)) {
    if (splash_) delete splash_.data();
    Finish();
    return fail();
  }

  SetSplash(LanguageText(Str(TStr::strCreatingEnvironment)));
  main_ = new TfrmMain;
  SetSplash(LanguageText(Str(TStr::strStarting)));
  if (splash_) splash_->Arm();

  const bool newSource = store.ReadBool(sidStartWithNewSourceFile);
  int openedFiles = 0;
  if (!args.isEmpty()) {
    std::vector<std::string> names;
    for (const QString& a : args) names.push_back(LocalBytes(a));
    openedFiles = main_->OpenFileList(names);
  }
  if (openedFiles == 0 && newSource) main_->NewSourceFile();
  main_->show();
  if (splash_) splash_->raise();
  return true;
}

void TStartup::Finish() {
  if (finished_) return;
  finished_ = true;
  // The resolvers write what they found back to the settings.
  SetVortanFormat(nullptr);
  SetVortanExtension(nullptr);
  SetVortanPath(nullptr);
  formats_.reset();
  extensions_.reset();
  paths_.reset();
  delete main_;
  main_ = nullptr;
  if (splash_) delete splash_.data();
  if (storeOpen_) CloseStore();
  storeOpen_ = false;
}

}  // namespace vortan
