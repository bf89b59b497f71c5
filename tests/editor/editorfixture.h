#pragma once
// An editor window on its own settings store, a fake main window and scripted prompts.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <fstream>
#include <memory>
#include <sstream>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "fakehost.h"
#include "support/files.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

namespace vortan::test {

class EditorFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenStore(dir / "store.sqlite").Ok);
    host.highlighter.LoadAttributes(Store());
  }
  void TearDown() override {
    editors.clear();
    CloseStore();
  }
  TfrmEditor* NewEditor() {
    editors.push_back(std::make_unique<TfrmEditor>(&host));
    TfrmEditor* e = editors.back().get();
    e->setAttribute(Qt::WA_DeleteOnClose, false);
    return e;
  }
  /// Shown at a fixed size, so that it paints and lays out like on screen.
  TfrmEditor* ShownEditor() {
    TfrmEditor* e = NewEditor();
    e->resize(700, 400);
    e->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(e));
    return e;
  }
  void Type(TfrmEditor* e, const QString& text) {
    for (QChar c : text)
      QTest::sendKeyEvent(QTest::Click, e->SynEdit(), Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
  void Key(TfrmEditor* e, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(e->SynEdit(), key, mods);
  }

  TTempDir dir;
  TFakeHost host;
  TScriptedPrompts prompts;
  std::vector<std::unique_ptr<TfrmEditor>> editors;
};

}  // namespace vortan::test

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
QT_END_NAMESPACE
