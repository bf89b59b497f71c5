#pragma once
// Shortcut texts as language files write them ("Shift+Ctrl+S", "Del", "PgDn").

#include <QKeySequence>
#include <string>

namespace vortan {

/// Blanks are ignored and letter case does not matter. Empty or unreadable text gives no
/// shortcut.
QKeySequence ParseShortcut(const std::string& text);

}  // namespace vortan
