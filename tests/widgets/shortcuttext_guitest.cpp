// Shortcut texts as the language files store them, read into Qt key sequences.
#include "widgets/shortcuttext.h"

#include <gtest/gtest.h>

#include <string>

namespace vortan {
namespace {

TEST(ShortcutText, StoredTextsGiveOneKeyCombination) {
  struct TCase {
    std::string text;
    QKeySequence keys;  // empty: no shortcut
  };
  const TCase cases[] = {
      {"Shift+Ctrl+F4", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_F4)},
      {"Ctrl+Shift+F4", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_F4)},
      {"Shift+Ctrl+S", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_S)},
      {"Alt+BkSp", QKeySequence(Qt::ALT | Qt::Key_Backspace)},
      {"ctrl+pgdn", QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
      {" shift + ctrl + pgdn ", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_PageDown)},
      {"Ctrl+PgUp", QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
      {"Del", QKeySequence(Qt::Key_Delete)},
      {"DEL", QKeySequence(Qt::Key_Delete)},
      {"Shift+Ins", QKeySequence(Qt::SHIFT | Qt::Key_Insert)},
      {"Esc", QKeySequence(Qt::Key_Escape)},
      {"Ctrl+Enter", QKeySequence(Qt::CTRL | Qt::Key_Return)},
      {"F12", QKeySequence(Qt::Key_F12)},
      {"Ctrl+F13", QKeySequence(Qt::CTRL | Qt::Key_F13)},
      {"ctrl+a", QKeySequence(Qt::CTRL | Qt::Key_A)},
      {"Alt+3", QKeySequence(Qt::ALT | Qt::Key_3)},
      {"Ctrl+Space", QKeySequence(Qt::CTRL | Qt::Key_Space)},
      {"Shift+Ctrl+Tab", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Tab)},
      {"Ctrl+Foo", {}},
      {"Ctrl+", {}},
      {"Ctrl+A, Ctrl+B", {}},
      {"Del,Esc", {}},
      {"", {}},
      {"   ", {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseShortcut(c.text), c.keys) << ParseShortcut(c.text).toString().toStdString();
  }
}

}  // namespace
}  // namespace vortan
