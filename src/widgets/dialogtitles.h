#pragma once
// The titles of the main window's open and save dialogs. The dialogs are made when used, so
// the translation leaves their titles on the window until then.

#include <string>

class QWidget;

namespace vortan {

enum class TFileDialogKind { Open, Save };

/// Keeps the title (language-file bytes) for later dialogs of that kind.
void SetFileDialogTitle(QWidget& window, TFileDialogKind kind, const std::string& title);
/// The title as last translated, else the built-in English one.
std::string FileDialogTitle(const QWidget& window, TFileDialogKind kind);

}  // namespace vortan
