// Setting control properties from a language tree, and sending the language-changed event
// to one window or to all of them.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHelpEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QToolTip>
#include <memory>

#include "i18n/parlax.h"
#include "i18n/ui/languagechangedevent.h"
#include "i18n/ui/translator.h"

namespace vortan {
namespace {

/// A one-block tree: OBJECTS > Form:Test > Item { <body> }.
struct TTree {
  explicit TTree(const std::string& body) {
    engine.LoadFromText("OBJECTS {\n Form:Test {\n Item {\n" + body + "\n }\n }\n}\n");
    engine.Active = true;
  }
  const TParlaxItem& Item() const { return Block(FormBlock(engine, "Test"), "Item"); }
  TParlax engine;
};

struct ShortcutCase {
  const char* value;
  const char* expected;  // portable text; "" for no shortcut
};

class ShortcutRule : public ::testing::TestWithParam<ShortcutCase> {};

TEST_P(ShortcutRule, ReadsTheCombinationOrRemovesTheShortcut) {
  TTree t(std::string("Shortcut = ") + GetParam().value);
  QAction action;
  action.setShortcut(QKeySequence(QStringLiteral("F5")));
  ApplyProperty(t.Item(), "Shortcut", &action);
  EXPECT_EQ(action.shortcut().toString(), QString::fromLatin1(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Values, ShortcutRule,
                         ::testing::Values(ShortcutCase{"Ctrl+N", "Ctrl+N"},
                                           ShortcutCase{"Shift + Ctrl + S", "Ctrl+Shift+S"},
                                           ShortcutCase{"alt+ctrl+shift+f12", "Ctrl+Alt+Shift+F12"},
                                           ShortcutCase{"Ctrl + PgDn", "Ctrl+PgDown"},
                                           ShortcutCase{"", ""}, ShortcutCase{"Ctrl+Banana", ""},
                                           ShortcutCase{"Ctrl+", ""}));

TEST(ApplyProperty, ShortcutKeySpeltInOtherCaseLeavesTheShortcutAlone) {
  TTree t("shortcut = Ctrl+Q");
  QAction action;
  action.setShortcut(QKeySequence(QStringLiteral("F5")));
  EXPECT_FALSE(ApplyProperty(t.Item(), "Shortcut", &action));
  EXPECT_EQ(action.shortcut().toString(), "F5");
}

TEST(ApplyProperty, EmptyHintFollowsTheParentAndTwoLinesShowAsTwoLines) {
  QWidget parent;
  parent.setToolTip(QStringLiteral("parent hint"));
  auto* child = new QPushButton(&parent);
  child->setToolTip(QStringLiteral("old"));
  parent.resize(100, 100);
  child->setGeometry(10, 10, 50, 20);
  parent.show();
  auto tipShownOver = [&] {
    QToolTip::hideText();
    QHelpEvent e(QEvent::ToolTip, QPoint(5, 5), child->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(child, &e);
    return QToolTip::text();
  };

  TTree empty("Hint =");
  ApplyProperty(empty.Item(), "Hint", child);
  EXPECT_TRUE(child->toolTip().isEmpty());
  EXPECT_EQ(tipShownOver(), "parent hint");

  TTree twoLines("Hint = {\"First line\"\n \"Second line\"\n}");
  ApplyProperty(twoLines.Item(), "Hint", child);
  EXPECT_EQ(tipShownOver(), "First line\nSecond line");
  QToolTip::hideText();
}

TEST(ApplyProperty, CaptionsKeepAcceleratorsWhereTheControlShowsThem) {
  TTree t("Caption = Fish && &Chips");
  QPushButton button;
  QLabel plain, buddied;
  buddied.setBuddy(&button);
  ApplyProperty(t.Item(), "Caption", &button);
  ApplyProperty(t.Item(), "Caption", &plain);
  ApplyProperty(t.Item(), "Caption", &buddied);
  EXPECT_EQ(button.text(), "Fish && &Chips");
  EXPECT_EQ(button.shortcut(), QKeySequence(Qt::ALT | Qt::Key_C));
  EXPECT_EQ(plain.text(), "Fish & Chips");
  EXPECT_EQ(buddied.text(), "Fish && &Chips");
}

TEST(ApplyProperty, ListsIntegersAndMissingKeysOrProperties) {
  TTree t("Items = {\"One\"\n \"Two\"\n \"Three\"\n}\nValue = $1F\nCaption = Ignored");
  QWidget window;
  QComboBox& combo = *new QComboBox(&window);
  combo.addItems({"a", "b"});
  combo.setCurrentIndex(1);
  EXPECT_TRUE(ApplyProperty(t.Item(), "Items", &combo));
  ASSERT_EQ(combo.count(), 3);
  EXPECT_EQ(combo.itemText(2), "Three");
  EXPECT_EQ(combo.currentIndex(), 1);

  QSpinBox spin;
  spin.setRange(0, 100);
  EXPECT_TRUE(ApplyProperty(t.Item(), "Value", &spin));
  EXPECT_EQ(spin.value(), 31);

  // No such key, no such property, no control: nothing happens.
  combo.setToolTip(QStringLiteral("kept"));
  EXPECT_FALSE(ApplyProperty(t.Item(), "Hint", &combo));
  EXPECT_EQ(combo.toolTip(), "kept");
  EXPECT_FALSE(ApplyProperty(t.Item(), "Caption", &combo));
  EXPECT_FALSE(ApplyProperty(t.Item(), "Caption", nullptr));
}

TEST(ApplyProperty, TextsAreReadInTheAnsiCodePage) {
  TTree t("Caption = Informa\xe7\xe3o \x80");
  QPushButton button;
  ApplyProperty(t.Item(), "Caption", &button);
  EXPECT_EQ(button.text(), QString::fromUtf8("Informação €"));
}

TEST(Translate, ReachesOneWindowOrEveryWindowIncludingMdiChildrenOnlyWhileActive) {
  TParlax engine;
  engine.LoadFromText("OBJECTS {}\n");
  int mainCalls = 0, childCalls = 0, otherCalls = 0;
  TParlax* seen = nullptr;

  auto main = std::make_unique<QWidget>();
  auto* mdi = new QMdiArea(main.get());
  auto* child = new QWidget;
  mdi->addSubWindow(child);
  auto other = std::make_unique<QWidget>();
  AttachLanguageHandler(main.get(), [&](TParlax& e) {
    ++mainCalls;
    seen = &e;
  });
  AttachLanguageHandler(child, [&](TParlax&) { ++childCalls; });
  AttachLanguageHandler(other.get(), [&](TParlax&) { ++otherCalls; });

  Translate(engine, main.get());
  Translate(engine, nullptr);
  EXPECT_EQ(mainCalls + childCalls + otherCalls, 0);  // inactive

  engine.Active = true;
  Translate(engine, other.get());
  EXPECT_EQ(otherCalls, 1);
  EXPECT_EQ(mainCalls, 0);

  Translate(engine, nullptr);
  EXPECT_EQ(mainCalls, 1);
  EXPECT_EQ(childCalls, 1);
  EXPECT_EQ(otherCalls, 2);
  EXPECT_EQ(seen, &engine);

  // The event carries the message number windows answer to.
  TLanguageChangedEvent e(engine);
  EXPECT_EQ(int(e.type()), 3024);
}

}  // namespace
}  // namespace vortan
