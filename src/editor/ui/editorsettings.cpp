#include "editor/ui/editorsettings.h"

#include "editor/ui/editorwindow.h"

namespace vortan {

void ApplySettingsToEditors(const std::vector<TfrmEditor*>& editors) {
  for (auto it = editors.rbegin(); it != editors.rend(); ++it) (*it)->ApplyEditorSettings();
}

}  // namespace vortan
