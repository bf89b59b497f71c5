#include "system/helpanchor.h"

#include "config/settingids.h"

namespace vortan {

std::string HelpAnchor(int extensionId) {
  // Both pages carry id="contents" on their table of contents.
  if (extensionId == sidHelpExtension || extensionId == sidTutorialExtension) return "contents";
  return std::string();
}

}  // namespace vortan
