#include "shell/dialogpromptservice.h"

#include <QApplication>
#include <QCursor>

#include "i18n/messagedialog.h"

namespace vortan {

TMessageAnswer TDialogPromptService::MessageDlg(const TMessageRequest& request) {
  TMessageDlg dlg(request, QApplication::activeWindow());
  // A question during start-up comes while the busy cursor is set; the user must see an arrow.
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  dlg.exec();
  if (busy) QApplication::restoreOverrideCursor();
  return {dlg.Answer(), dlg.Checked()};
}

}  // namespace vortan
