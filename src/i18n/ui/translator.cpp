#include "i18n/ui/translator.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMetaProperty>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolBar>
#include <vector>

#include "i18n/parlax.h"
#include "i18n/ui/languagechangedevent.h"
#include "platform/codepage.h"
#include "widgets/shortcuttext.h"

namespace vortan {

namespace {

class TLanguageHandler : public QObject {
 public:
  TLanguageHandler(QWidget* window, std::function<void(TParlax&)> handler)
      : QObject(window), window_(window), handler_(std::move(handler)) {
    setObjectName(QStringLiteral("languageHandler"));
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched == window_ && e->type() == TLanguageChangedEvent::EventType) {
      handler_(static_cast<TLanguageChangedEvent*>(e)->Engine());
      return true;
    }
    return false;
  }

 private:
  QWidget* window_;
  std::function<void(TParlax&)> handler_;
};

QStringList Lines(const std::string& value) {
  QString text = LanguageText(value);
  if (text.isEmpty()) return {};
  return text.split(QLatin1Char('\n'));
}

/// "&File" in a label without a buddy would show the ampersand: drop single marks, keep "&&"
/// as one literal ampersand.
QString WithoutMnemonics(QString caption) {
  QString out;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == QLatin1Char('&')) {
      if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
        out += QLatin1Char('&');
        ++i;
      }
      continue;
    }
    out += caption[i];
  }
  return out;
}

/// The tab widget and index of a page, when the widget is one.
QTabWidget* TabOf(QWidget* w, int& index) {
  auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
  auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
  index = tabs ? tabs->indexOf(w) : -1;
  return index >= 0 ? tabs : nullptr;
}

bool SetCaption(QObject* control, const QString& text) {
  if (auto* a = qobject_cast<QAction*>(control)) {
    a->setText(text);
    return true;
  }
  if (auto* m = qobject_cast<QMenu*>(control)) {
    m->setTitle(text);
    return true;
  }
  if (auto* b = qobject_cast<QAbstractButton*>(control)) {
    b->setText(text);
    return true;
  }
  if (auto* g = qobject_cast<QGroupBox*>(control)) {
    g->setTitle(text);
    return true;
  }
  if (auto* l = qobject_cast<QLabel*>(control)) {
    l->setText(l->buddy() ? text : WithoutMnemonics(text));
    return true;
  }
  if (auto* e = qobject_cast<QLineEdit*>(control)) {
    e->setText(text);
    return true;
  }
  auto* w = qobject_cast<QWidget*>(control);
  if (!w) return false;
  int index = -1;
  if (QTabWidget* tabs = TabOf(w, index)) {
    tabs->setTabText(index, text);
    return true;
  }
  if (w->isWindow() || qobject_cast<QToolBar*>(w) || qobject_cast<QDockWidget*>(w)) {
    w->setWindowTitle(text);
    return true;
  }
  return false;
}

bool SetHint(QObject* control, const QString& hint) {
  if (auto* a = qobject_cast<QAction*>(control)) {
    // An empty tool tip makes the action show its caption, as a control follows its parent.
    a->setToolTip(hint);
    a->setStatusTip(hint);
    return true;
  }
  if (auto* m = qobject_cast<QMenu*>(control)) {
    m->menuAction()->setToolTip(hint);
    m->menuAction()->setStatusTip(hint);
    m->setToolTip(hint);
    return true;
  }
  auto* w = qobject_cast<QWidget*>(control);
  if (!w) return false;
  // A widget without a tool tip passes the tool-tip request to its parent.
  w->setToolTip(hint);
  int index = -1;
  if (QTabWidget* tabs = TabOf(w, index)) tabs->setTabToolTip(index, hint);
  return true;
}

bool SetShortcut(QObject* control, const QKeySequence& key) {
  if (auto* a = qobject_cast<QAction*>(control)) {
    a->setShortcut(key);
    return true;
  }
  if (auto* m = qobject_cast<QMenu*>(control)) {
    m->menuAction()->setShortcut(key);
    return true;
  }
  if (auto* b = qobject_cast<QAbstractButton*>(control)) {
    b->setShortcut(key);
    return true;
  }
  return false;
}

bool SetTitle(QObject* control, const QString& text) {
  if (auto* g = qobject_cast<QGroupBox*>(control)) {
    g->setTitle(text);
    return true;
  }
  if (auto* w = qobject_cast<QWidget*>(control)) {
    w->setWindowTitle(text);
    return true;
  }
  return false;
}

bool SetLines(QObject* control, const QStringList& lines) {
  if (auto* c = qobject_cast<QComboBox*>(control)) {
    const int current = c->currentIndex();
    const QString edit = c->isEditable() ? c->currentText() : QString();
    c->clear();
    c->addItems(lines);
    if (c->isEditable())
      c->setEditText(edit);
    else if (current >= 0 && current < c->count())
      c->setCurrentIndex(current);
    return true;
  }
  if (auto* l = qobject_cast<QListWidget*>(control)) {
    const int current = l->currentRow();
    l->clear();
    l->addItems(lines);
    if (current >= 0 && current < l->count()) l->setCurrentRow(current);
    return true;
  }
  if (auto* p = qobject_cast<QPlainTextEdit*>(control)) {
    p->setPlainText(lines.join(QLatin1Char('\n')));
    return true;
  }
  if (auto* t = qobject_cast<QTextEdit*>(control)) {
    t->setPlainText(lines.join(QLatin1Char('\n')));
    return true;
  }
  // Other text controls (the source editor) take their text through a slot.
  if (control->metaObject()->indexOfMethod("setText(QString)") < 0) return false;
  return QMetaObject::invokeMethod(control, "setText",
                                   Q_ARG(QString, lines.join(QLatin1Char('\n'))));
}

/// Rule 4 for a property the control declares itself: by the property's type.
bool SetByType(QObject* control, std::string_view word, const TParlaxItem& item,
               const std::string& value) {
  const QMetaObject* meta = control->metaObject();
  for (int i = 0; i < meta->propertyCount(); ++i) {
    QMetaProperty p = meta->property(i);
    if (!p.isWritable() || !SameText(p.name(), word)) continue;
    switch (p.userType()) {
      case QMetaType::Int: {
        int n = 0;
        item.GetInteger(word, n);
        return p.write(control, n);
      }
      case QMetaType::QString:
        return p.write(control, LanguageText(value));
      case QMetaType::QStringList:
        return p.write(control, Lines(value));
      default:
        return false;
    }
  }
  return false;
}

}  // namespace

const TParlaxItem& Block(const TParlaxItem& parent, const std::string& name) {
  static const TParlaxItem empty;
  const TParlaxItem* child = parent.FindChild(name);
  return child ? *child : empty;
}

const TParlaxItem& FormBlock(const TParlax& engine, const std::string& formKey) {
  return Block(Block(engine.Root(), "OBJECTS"), "Form:" + formKey);
}

bool ApplyProperty(const TParlaxItem& item, std::string_view word, QObject* control) {
  if (!control) return false;
  const std::string* value = item.FindValue(word);
  if (!value) return false;
  const std::string* spelling = item.FindKeySpelling(word);
  const bool exact = spelling && *spelling == word;

  if (SameText(word, "Shortcut")) {
    // Only the exact spelling reads a key combination; a shortcut cannot be set from other
    // text, so a differently spelt key leaves it as it was.
    return exact && SetShortcut(control, ParseShortcut(*value));
  }
  if (SameText(word, "Hint")) return SetHint(control, LanguageText(*value));
  if (SameText(word, "Caption")) return SetCaption(control, LanguageText(*value));
  if (SameText(word, "Title")) return SetTitle(control, LanguageText(*value));
  if (SameText(word, "Items") || SameText(word, "Strings") || SameText(word, "Lines"))
    return SetLines(control, Lines(*value));
  return SetByType(control, word, item, *value);
}

void ApplyProperties(const TParlaxItem& item, std::initializer_list<std::string_view> words,
                     QObject* control) {
  for (std::string_view w : words) ApplyProperty(item, w, control);
}

void ApplyTo(const TParlaxItem& parent, const std::string& block, QObject* control,
             std::initializer_list<std::string_view> words) {
  ApplyProperties(Block(parent, block), words, control);
}

void AttachLanguageHandler(QWidget* window, std::function<void(TParlax&)> handler) {
  new TLanguageHandler(window, std::move(handler));
}

void Translate(TParlax& engine, QWidget* window) {
  if (!engine.Active) return;
  if (window) {
    TLanguageChangedEvent e(engine);
    QCoreApplication::sendEvent(window, &e);
    return;
  }
  // Handlers may open or close windows: collect first, then send to those still alive.
  std::vector<QPointer<QWidget>> targets;
  auto add = [&targets](QWidget* w) {
    for (const QPointer<QWidget>& t : targets)
      if (t == w) return;
    targets.emplace_back(w);
  };
  for (QWidget* top : QApplication::topLevelWidgets()) {
    add(top);
    for (QMdiArea* mdi : top->findChildren<QMdiArea*>())
      for (QMdiSubWindow* sub : mdi->subWindowList()) {
        add(sub);
        if (sub->widget()) add(sub->widget());
      }
  }
  for (const QPointer<QWidget>& t : targets) {
    if (!t) continue;
    TLanguageChangedEvent e(engine);
    QCoreApplication::sendEvent(t.data(), &e);
  }
}

TParlax& BuiltInLanguage() {
  static TParlax* t = [] {
    auto* p = new TParlax;
    p->LoadFromResource();
    return p;
  }();
  return *t;
}

}  // namespace vortan
