#include "widgets/desktop.h"

#include <QDesktopServices>
#include <QUrl>

#include "i18n/stringtable.h"
#include "system/product.h"
#include "system/promptservice.h"
#include "widgets/qtconvert.h"

namespace vortan {

bool OpenLocalFile(const std::string& fileName, const std::string& fragment) {
  QUrl url = QUrl::fromLocalFile(Local(fileName));
  if (!fragment.empty()) url.setFragment(QString::fromUtf8(fragment.c_str()));
  return QDesktopServices::openUrl(url);
}

bool OpenAddress(const std::string& url) {
  return QDesktopServices::openUrl(QUrl(QString::fromUtf8(url.c_str())));
}

void ExtensionNotFound() {
  const std::string text =
      FormatStr(Str(TStr::strMsgExtensionNotFound), {ProjectWebsite, ProductWord});
  if (MessageDlgDef(text, TMsgDlgType::Information, {TMsgDlgBtn::Yes, TMsgDlgBtn::No}) ==
      TModalResult::Yes)
    OpenAddress(ProjectWebsite);
}

}  // namespace vortan
