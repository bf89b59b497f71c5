#pragma once
// The program's start sequence and tear-down, with everything it touches injected so that
// tests drive every path without a real user, store or installation.

#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shell/splash.h"

namespace vortan {

class TfrmMain;
class TVortanPath;
class TVortanExtension;
class TVortanFormat;

enum class TStartSwitch { None, Localize, Uninstall, Clear, Reset };
/// Reads the switch of the first argument (letter case ignored).
TStartSwitch ParseSwitch(const QStringList& args);

struct TStartupOptions {
  std::string StorePath;   ///< empty: the default store location
  std::string InstallDir;  ///< empty: the directory of the running executable
  /// The language selector: gets the language files found and returns the chosen file ("" for
  /// the built-in language), or nothing when cancelled. Unset: no selector is shown.
  std::function<std::optional<std::string>(const std::vector<std::string>&)> SelectLanguage;
  /// The .f file type association. Unset: the question is not asked.
  std::function<bool()> IsAssociated;
  std::function<void(const std::string& description)> Associate;
  /// Windows language id of the user (chooses the splash notice).
  int UserLanguageId = 0;
};

class TStartup {
 public:
  explicit TStartup(TStartupOptions options);
  ~TStartup();

  /// Runs the start sequence. True when the main window exists and the event loop is to run.
  bool Start(const QStringList& args);
  /// Writes the resolvers back, destroys the main window and releases the store.
  void Finish();

  TfrmMain* MainWindow() const { return main_; }
  TfrmSplash* Splash() const { return splash_; }
  /// The splash status texts in the order they were shown.
  const QStringList& SplashHistory() const { return splashHistory_; }
  bool SelectorShown() const { return selectorShown_; }

 private:
  void SetSplash(const QString& text);

  TStartupOptions options_;
  std::unique_ptr<TVortanPath> paths_;
  std::unique_ptr<TVortanExtension> extensions_;
  std::unique_ptr<TVortanFormat> formats_;
  TfrmMain* main_ = nullptr;
  QPointer<TfrmSplash> splash_;
  QStringList splashHistory_;
  bool selectorShown_ = false;
  bool storeOpen_ = false;
  bool finished_ = false;
};

}  // namespace vortan
