#include "shell/mainwindowlanguage.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVariant>
#include <vector>

#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "i18n/ui/translator.h"
#include "platform/codepage.h"
#include "shell/actiontable.h"
#include "shell/mainwindow.h"
#include "symbols/ui/symbolspanel.h"
#include "widgets/dialogtitles.h"

namespace vortan {

namespace {

/// Holds painting and layout of the given widgets until it goes, also when the pass fails.
class TUpdatesHold {
 public:
  explicit TUpdatesHold(std::vector<QWidget*> widgets) : widgets_(std::move(widgets)) {
    for (QWidget* w : widgets_) w->setUpdatesEnabled(false);
  }
  ~TUpdatesHold() {
    for (auto it = widgets_.rbegin(); it != widgets_.rend(); ++it) (*it)->setUpdatesEnabled(true);
  }

 private:
  std::vector<QWidget*> widgets_;
};

}  // namespace

void TMainWindowTranslator::Apply(const TParlax& language) {
  TfrmMain& m = main_;
  const TParlaxItem& form = FormBlock(language, "Main");
  TUpdatesHold hold({&m, m.MenuToolbar(), m.MainToolbar(), m.EditToolbar(), m.RunToolbar(),
                     m.FilesWindow(), m.MessagesWindow(), m.OutputWindow(), m.SymbolsWindow()});

  ApplyProperties(form, {"Hint"}, &m);
  for (const TActionRow& row : ActionTable())
    ApplyTo(Block(form, row.Group), std::string("Action:") + row.Key, m.Action(row.Name),
            {"Caption", "Hint", "Shortcut"});
  for (const TMenuSpec& spec : MainMenus())
    ApplyTo(form, std::string("Menu:") + spec.Key, m.Menu(spec.Key),
            {"Caption", "Hint", "Shortcut"});

  const std::pair<const char*, QWidget*> bars[] = {
      {"Toolbar:Edit", m.EditToolbar()},        {"Toolbar:Files", m.FilesWindow()},
      {"Toolbar:Main", m.MainToolbar()},        {"Toolbar:Menu", m.MenuToolbar()},
      {"Toolbar:Messages", m.MessagesWindow()}, {"Toolbar:Output", m.OutputWindow()},
      {"Toolbar:Run", m.RunToolbar()},          {"Toolbar:Symbols", m.SymbolsWindow()}};
  for (const auto& [key, bar] : bars) ApplyTo(form, key, bar);
  ApplyTo(form, "List:Files", m.FilesTree(), {"Hint"});
  ApplyTo(form, "List:Messages", m.MessagesTree(), {"Hint"});

  // The file dialogs are made when used; their titles wait on the window until then.
  std::string title;
  if (Block(form, "Form:Open").GetString("Title", title))
    SetFileDialogTitle(m, TFileDialogKind::Open, title);
  if (Block(form, "Form:Save").GetString("Title", title))
    SetFileDialogTitle(m, TFileDialogKind::Save, title);

  // The theme list's label carries the caption of actTheme.
  if (QComboBox* themes = m.ThemeList())
    if (QWidget* host = themes->parentWidget())
      if (auto* label = host->findChild<QLabel*>())
        if (QAction* theme = m.Action("actTheme")) label->setText(theme->text());

  const QString more = LanguageText(Str(TStr::strMoreButtons));
  for (QToolBar* bar : {m.MenuToolbar(), m.MainToolbar(), m.EditToolbar(), m.RunToolbar()})
    if (auto* button = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button")))
      button->setToolTip(more);
  m.SymbolsPanel().Retranslate();
  m.BuildReopenMenu();
}

}  // namespace vortan
