#include "widgets/documentopener.h"

#include <QDesktopServices>
#include <QUrl>

#include "widgets/qtconvert.h"

namespace vortan {

bool OpenDocumentAt(const std::string& file, const std::string& fragment) {
  QUrl url = QUrl::fromLocalFile(Local(file));
  if (!fragment.empty()) url.setFragment(Local(fragment));
  return QDesktopServices::openUrl(url);
}

}  // namespace vortan
