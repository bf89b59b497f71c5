#pragma once
// A main window over a temporary store and installation tree whose Bin/ holds the real
// ftnchek and gfortran, for driving the build actions offscreen with scripted answers.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "i18n/stringtable.h"
#include "jobs/ui/messagestree.h"
#include "jobs/ui/outputpanel.h"
#include "jobs/ui/pipeline.h"
#include "jobs/ui/processform.h"
#include "shell/mainwindow.h"
#include "support/files.h"
#include "support/mainwindowfixture.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"
#include "system/vortanextension.h"
#include "system/vortanformat.h"
#include "system/vortanpath.h"

namespace vortan::test {

class PipelineFixture : public ::testing::Test {
 protected:
  /// The tools linked into Bin/; a test that needs one missing leaves it out.
  virtual std::vector<std::string> Tools() const { return {"ftnchek", "gfortran"}; }

  void SetUp() override {
    install_ = dir_.MakeDir("install") + "/";
    dir_.MakeDir("install/Bin");
    for (const std::string& tool : Tools())
      std::filesystem::create_symlink("/usr/bin/" + tool, install_ + "Bin/" + tool);
    tmp_ = dir_.MakeDir("tmp") + "/";
    ASSERT_TRUE(OpenStore(dir_ / "store.sqlite").Ok);
    WriteString(sidTempPath, tmp_);
    paths_ = std::make_unique<TVortanPath>(Store(), install_);
    extensions_ = std::make_unique<TVortanExtension>(*paths_, Store());
    formats_ = std::make_unique<TVortanFormat>(Store());
    SetVortanPath(paths_.get());
    SetVortanExtension(extensions_.get());
    SetVortanFormat(formats_.get());
    main_ = std::make_unique<TfrmMain>();
    main_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
  }

  void TearDown() override {
    prompts_.AnswerAlways(TModalResult::No);
    // A step still running is cancelled and waited for, so no job outlives the test's files.
    if (TfrmProcess* form = Pipeline().ProcessForm()) {
      form->Cancel();
      EXPECT_TRUE(QTest::qWaitFor([&] { return !form->isVisible() || form->Finished(); }, 20000));
    }
    main_.reset();
    SettleDeletes();
    SetVortanFormat(nullptr);
    SetVortanExtension(nullptr);
    SetVortanPath(nullptr);
    formats_.reset();
    extensions_.reset();
    paths_.reset();
    CloseStore();
  }

  TPipeline& Pipeline() { return main_->Pipeline(); }

  TfrmEditor* Open(const std::string& file) {
    TfrmEditor* e = main_->OpenSourceFile(file);
    EXPECT_NE(e, nullptr) << file;
    return e;
  }

  /// Runs a build action as its menu item would, once its enabling rule allows it. Returns
  /// the progress window it opened (null when none).
  TfrmProcess* Trigger(const char* action) {
    main_->UpdateActions();
    QAction* a = main_->Action(action);
    EXPECT_TRUE(a->isEnabled()) << action;
    closingMessage_.clear();
    a->trigger();
    TfrmProcess* form = Pipeline().ProcessForm();
    if (form != nullptr) {
      QObject::connect(form, &TfrmProcess::Closing, form,
                       [this, form] { closingMessage_ = form->Message(); });
    }
    return form;
  }

  /// Waits until the step has ended (the button reads OK) or the window has closed itself,
  /// and returns the last message shown.
  std::string WaitOutcome(QPointer<TfrmProcess> form, int timeoutMs = 60000) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return !form || !form->isVisible() || form->Finished(); },
                                timeoutMs));
    if (form && form->isVisible()) return form->Message();
    return closingMessage_;
  }

  std::vector<std::string> TopLevelTexts() {
    std::vector<std::string> texts;
    QTreeWidget* tree = main_->MessagesTree();
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
      texts.push_back(tree->topLevelItem(i)->text(0).toStdString());
    return texts;
  }

  TTempDir dir_;
  std::string install_;
  std::string tmp_;
  TScriptedPrompts prompts_;
  std::unique_ptr<TVortanPath> paths_;
  std::unique_ptr<TVortanExtension> extensions_;
  std::unique_ptr<TVortanFormat> formats_;
  std::unique_ptr<TfrmMain> main_;
  std::string closingMessage_;
};

}  // namespace vortan::test
