#include "widgets/shortcuttext.h"

#include <string_view>
#include <utility>

#include "platform/text.h"

namespace vortan {

namespace {

// Stored key names that Qt's portable text spells otherwise; Ins, Del, Esc and PgUp it reads
// as they are.
constexpr std::pair<std::string_view, std::string_view> QtNames[] = {
    {"BkSp", "Backspace"}, {"PgDn", "PgDown"}, {"Enter", "Return"}};

std::string_view QtName(std::string_view part) {
  for (const auto& [stored, qt] : QtNames)
    if (SameText(part, stored)) return qt;
  return part;
}

}  // namespace

QKeySequence ParseShortcut(const std::string& text) {
  std::string portable, part;
  auto endPart = [&] {
    portable += QtName(part);
    part.clear();
  };
  for (char c : text) {
    if (c == ' ' || c == '\t') continue;
    if (c == '+') {
      endPart();
      portable += c;
    } else {
      part += c;
    }
  }
  endPart();
  if (portable.empty()) return {};
  const QKeySequence keys =
      QKeySequence::fromString(QString::fromLatin1(portable), QKeySequence::PortableText);
  // A stored shortcut is one key combination; a sequence of several is not one of ours, and
  // a name Qt does not know comes back as an unknown key.
  if (keys.count() != 1) return {};
  const Qt::Key key = keys[0].key();
  return key == Qt::Key_unknown || key == 0 ? QKeySequence() : keys;
}

}  // namespace vortan
