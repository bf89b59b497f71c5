#include "widgets/dialogtitles.h"

#include <QByteArray>
#include <QVariant>
#include <QWidget>

namespace vortan {

namespace {
const char* Key(TFileDialogKind kind) {
  return kind == TFileDialogKind::Open ? "vortanOpenDialogTitle" : "vortanSaveDialogTitle";
}
}  // namespace

void SetFileDialogTitle(QWidget& window, TFileDialogKind kind, const std::string& title) {
  window.setProperty(Key(kind), QByteArray::fromStdString(title));
}

std::string FileDialogTitle(const QWidget& window, TFileDialogKind kind) {
  const QVariant v = window.property(Key(kind));
  if (v.isValid()) return v.toByteArray().toStdString();
  return kind == TFileDialogKind::Open ? "Open" : "Save As";
}

}  // namespace vortan
