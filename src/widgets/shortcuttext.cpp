#include "widgets/shortcuttext.h"

#include <algorithm>
#include <cctype>

namespace vortan {

namespace {

bool StartsWithNoCase(const std::string& s, std::size_t at, std::string_view word) {
  if (s.size() - at < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[at + i])) !=
        std::tolower(static_cast<unsigned char>(word[i])))
      return false;
  return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

int KeyOf(std::string_view name) {
  if (name.size() == 1) {
    const unsigned char c = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(name[0])));
    if (std::isalnum(c)) return c;  // Qt::Key_A.. and Key_0.. equal their characters
    return 0;
  }
  if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
    int n = 0;
    for (char ch : name.substr(1)) {
      if (!std::isdigit(static_cast<unsigned char>(ch))) return 0;
      n = n * 10 + (ch - '0');
    }
    return n >= 1 && n <= 12 ? Qt::Key_F1 + n - 1 : 0;
  }
  static const std::pair<const char*, int> named[] = {
      {"BkSp", Qt::Key_Backspace}, {"Tab", Qt::Key_Tab},       {"Esc", Qt::Key_Escape},
      {"Enter", Qt::Key_Return},   {"Space", Qt::Key_Space},   {"PgUp", Qt::Key_PageUp},
      {"PgDn", Qt::Key_PageDown},  {"End", Qt::Key_End},       {"Home", Qt::Key_Home},
      {"Left", Qt::Key_Left},      {"Up", Qt::Key_Up},         {"Right", Qt::Key_Right},
      {"Down", Qt::Key_Down},      {"Ins", Qt::Key_Insert},    {"Del", Qt::Key_Delete},
  };
  for (const auto& [word, key] : named)
    if (EqualsNoCase(name, word)) return key;
  return 0;
}

}  // namespace

QKeySequence ParseShortcut(const std::string& text) {
  std::string s;
  for (char c : text)
    if (c != ' ' && c != '\t') s += c;
  if (s.empty()) return {};
  int modifiers = 0;
  std::size_t at = 0;
  for (bool more = true; more;) {
    more = false;
    for (const auto& [word, mod] : {std::pair{"Shift+", int(Qt::ShiftModifier)},
                                    std::pair{"Ctrl+", int(Qt::ControlModifier)},
                                    std::pair{"Alt+", int(Qt::AltModifier)}}) {
      if (StartsWithNoCase(s, at, word)) {
        modifiers |= mod;
        at += std::string_view(word).size();
        more = true;
      }
    }
  }
  const int key = KeyOf(std::string_view(s).substr(at));
  if (key == 0) return {};
  return QKeySequence(QKeyCombination(Qt::KeyboardModifiers(modifiers), Qt::Key(key)));
}

}  // namespace vortan
