#pragma once
// Changing the language of the running program: the Program language command and the
// first-start choice, both through the language selector.

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QWidget;

namespace vortan {

class TfrmParla;

/// Makes the file the language in use (empty or missing: the built-in language), stores it
/// in setting 9 and puts it on every open window.
void SwitchLanguage(const std::string& fileName);

/// The Program language command: shows the selector over the installation and language
/// directories and switches to the chosen language on OK. Whatever the answer, the string
/// table is that of the language in use afterwards. `run` shows the dialog and tells whether
/// it was accepted (default: modal); `userLanguageId` drives the preselection.
void ProgramLanguageCommand(QWidget* parent, const std::function<bool(TfrmParla&)>& run = {},
                            std::optional<int> userLanguageId = std::nullopt);

/// The first-start selector over the directories of the language files found: the chosen
/// file ("" for the built-in language), or nothing when cancelled. When none of the files can
/// be listed, the dialog is not shown and the stored choice is returned unchanged.
std::optional<std::string> SelectLanguageAtStart(const std::vector<std::string>& files);

}  // namespace vortan
