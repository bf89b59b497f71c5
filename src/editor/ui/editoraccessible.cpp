#include "editor/ui/editoraccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include "editor/ui/streaksynedit.h"

namespace vortan {

namespace {

QAccessibleInterface* EditorAccessible(const QString& className, QObject* object) {
  // Qt asks for the most derived class first, so this is asked before QScintilla's factory.
  if (QAccessible::isActive() ||
      className != QLatin1String(TStreakSynEdit::staticMetaObject.className()))
    return nullptr;
  auto* widget = qobject_cast<QWidget*>(object);
  return widget ? new QAccessibleWidget(widget, QAccessible::EditableText) : nullptr;
}

}  // namespace

void InstallEditorAccessibleFactory() {
  static const bool installed = [] {
    QAccessible::installFactory(EditorAccessible);
    return true;
  }();
  (void)installed;
}

}  // namespace vortan
