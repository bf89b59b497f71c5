#include "shell/themes.h"

namespace vortan {

QStringList ThemeNames() {
  return {QStringLiteral("Default"), QStringLiteral("OfficeXP"), QStringLiteral("Stripes")};
}

bool IsKnownTheme(const QString& name) { return ThemeNames().contains(name); }

namespace {

// Office XP: pale blue-grey bars, a shaded icon column in menus, hot items framed in navy
// over a light blue fill.
const char* const OfficeXP = R"(
QToolBar { background: #eeeef2; border: none; spacing: 1px; padding: 1px; }
QToolBar::separator { background: #a7a6aa; width: 1px; margin: 3px 4px; }
QToolBar::handle { image: none; width: 5px; margin: 2px;
  border-left: 2px dotted #8e8e95; }
QToolButton { border: 1px solid transparent; padding: 2px; border-radius: 0; }
QToolButton:hover { background: #c1d2ee; border: 1px solid #316ac5; }
QToolButton:pressed, QToolButton:checked { background: #98b5e2; border: 1px solid #316ac5; }
QToolButton:disabled { color: #a0a0a0; }
QToolButton[popupMode="1"] { padding-right: 12px; }
QToolButton::menu-button { border: none; width: 11px; }
QToolButton::menu-button:hover { border-left: 1px solid #316ac5; }
QMenuBar { background: #eeeef2; }
QMenuBar::item { padding: 3px 7px; border: 1px solid transparent; background: transparent; }
QMenuBar::item:selected { background: #c1d2ee; border: 1px solid #316ac5; }
QMenuBar::item:pressed { background: #f6f6f6; border: 1px solid #8a867a; border-bottom: none; }
QMenu { border: 1px solid #8a867a; padding: 1px;
  background: qlineargradient(x1:0, y1:0, x2:1, y2:0,
    stop:0 #e9e7e2, stop:0.11 #e9e7e2, stop:0.111 #fcfcfc, stop:1 #fcfcfc); }
QMenu::item { padding: 3px 24px 3px 30px; border: 1px solid transparent; color: #000000; }
QMenu::item:selected { background: #c1d2ee; border: 1px solid #316ac5; }
QMenu::item:disabled { color: #a5a5a5; }
QMenu::item:disabled:selected { background: transparent; border: 1px solid #a5a5a5; }
QMenu::icon { padding-left: 4px; }
QMenu::separator { height: 1px; background: #c5c2b8; margin: 2px 4px 2px 30px; }
QMenu::indicator { width: 13px; height: 13px; left: 6px; }
QMenu::indicator:checked { background: #c1d2ee; border: 1px solid #316ac5; }
QDockWidget::title { background: #dbd8d1; padding: 3px 4px; text-align: left; }
QStatusBar { background: #eeeef2; }
)";

// Stripes: graphite bars lined with fine horizontal stripes, warm amber highlights.
const char* const Stripes = R"(
QToolBar { border: none; spacing: 2px; padding: 2px;
  background: qlineargradient(spread:repeat, x1:0, y1:0, x2:0, y2:0.16,
    stop:0 #e4e6ea, stop:0.5 #e4e6ea, stop:0.51 #d0d3da, stop:1 #d0d3da); }
QToolBar::separator { background: #8d939c; width: 2px; margin: 3px 4px; }
QToolBar::handle { width: 6px; margin: 3px 1px;
  background: qlineargradient(spread:repeat, x1:0, y1:0, x2:0, y2:0.14,
    stop:0 #6e747d, stop:0.34 #6e747d, stop:0.35 transparent, stop:1 transparent); }
QToolButton { border: 1px solid transparent; border-radius: 3px; padding: 2px; }
QToolButton:hover { background: #ffe3a6; border: 1px solid #d68b00; }
QToolButton:pressed, QToolButton:checked { background: #ffc95c; border: 1px solid #b36f00; }
QToolButton:disabled { color: #9a9ea5; }
QToolButton[popupMode="1"] { padding-right: 12px; }
QToolButton::menu-button { border: none; width: 11px; }
QMenuBar { border: none;
  background: qlineargradient(spread:repeat, x1:0, y1:0, x2:0, y2:0.16,
    stop:0 #e4e6ea, stop:0.5 #e4e6ea, stop:0.51 #d0d3da, stop:1 #d0d3da); }
QMenuBar::item { padding: 3px 8px; border-radius: 3px; background: transparent; }
QMenuBar::item:selected { background: #ffe3a6; }
QMenuBar::item:pressed { background: #ffc95c; }
QMenu { border: 1px solid #5b616b; padding: 2px 1px;
  background: qlineargradient(x1:0, y1:0, x2:1, y2:0,
    stop:0 #d5d8de, stop:0.095 #d5d8de, stop:0.1 #fbfbfc, stop:1 #fbfbfc); }
QMenu::item { padding: 3px 24px 3px 30px; border-radius: 2px; color: #1d2127; }
QMenu::item:selected { background: #ffd98a; color: #000000; }
QMenu::item:disabled { color: #a2a6ad; }
QMenu::separator { height: 2px; margin: 3px 6px 3px 30px;
  background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #b7bbc2, stop:0.5 #b7bbc2,
    stop:0.51 #ffffff, stop:1 #ffffff); }
QMenu::indicator { width: 13px; height: 13px; left: 6px; }
QMenu::indicator:checked { background: #ffc95c; border: 1px solid #b36f00; border-radius: 2px; }
QDockWidget { color: #1d2127; }
QDockWidget::title { padding: 3px 4px; text-align: left;
  background: qlineargradient(spread:repeat, x1:0, y1:0, x2:0, y2:0.2,
    stop:0 #c9cdd4, stop:0.5 #c9cdd4, stop:0.51 #bcc1c9, stop:1 #bcc1c9); }
QStatusBar { background: #d5d8de; }
)";

const char* const FlatMenusOnly = R"(
QMenu { border: 1px solid palette(dark); }
QMenu::item:selected { border: none; }
)";

const char* const RaisedMenus = R"(
QMenu { border: 2px outset #b0b0b0; }
)";

}  // namespace

QString ThemeStyleSheet(const QString& theme, int flatMenuStyle) {
  QString sheet;
  bool flatTheme = false;
  if (theme == QLatin1String("OfficeXP")) {
    sheet = QString::fromLatin1(OfficeXP);
    flatTheme = true;
  } else if (theme == QLatin1String("Stripes")) {
    sheet = QString::fromLatin1(Stripes);
    flatTheme = true;
  }
  const bool flat = flatMenuStyle == 1 || (flatMenuStyle == 0 && flatTheme);
  if (flat && !flatTheme) sheet += QString::fromLatin1(FlatMenusOnly);
  if (!flat && flatTheme) sheet += QString::fromLatin1(RaisedMenus);
  return sheet;
}

}  // namespace vortan
