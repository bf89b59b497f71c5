#pragma once
#include <string>
#include <vector>

namespace vortan {

/// Full name of the language file in use; empty for the built-in language.
std::string& CurrentLanguageFile();

/// The language files (*.prlx, any letter case) directly inside each directory, in the
/// order of the directories and then by name; a file found twice is listed once.
std::vector<std::string> FindLanguageFiles(const std::vector<std::string>& directories);

}  // namespace vortan
