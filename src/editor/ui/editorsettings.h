#pragma once
// Applying the stored editor settings: to every open editor at once (after the Options
// dialog's Apply), while a new editor applies its own settings only when it opens.

#include <vector>

namespace vortan {

class TfrmEditor;

/// Each editor applies the stored settings once, oldest first.
void ApplySettingsToEditors(const std::vector<TfrmEditor*>& editors);

}  // namespace vortan
