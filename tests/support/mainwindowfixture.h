#pragma once
// A shown main window over a store of its own in a temporary folder. Questions are scripted;
// when the test ends every one is answered No, so closing the window never waits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>

#include "config/settingsstore.h"
#include "shell/mainwindow.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

namespace vortan::test {

/// Deletes the windows that were scheduled for deletion, and lets their ends be handled.
inline void SettleDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

class MainWindowFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenStore(dir_ / "store.sqlite").Ok);
    main_ = std::make_unique<TfrmMain>();
    main_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
  }
  void TearDown() override {
    prompts_.AnswerAlways(TModalResult::No);
    main_.reset();
    SettleDeletes();
    CloseStore();
  }

  TTempDir dir_;
  TScriptedPrompts prompts_;
  std::unique_ptr<TfrmMain> main_;
};

}  // namespace vortan::test
