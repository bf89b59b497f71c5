#pragma once
// A main window stand-in for editor tests: records what the editor asks of it.
#include <QLabel>
#include <QStatusBar>
#include <memory>
#include <string>
#include <vector>

#include "config/storedformats.h"
#include "editor/fortranhighlighter.h"
#include "editor/ui/editorhost.h"
#include "editor/ui/editorwindow.h"

namespace vortan::test {

class TFakeHost : public TEditorHost {
 public:
  TFakeHost() {
    builtInError.Foreground = 0x00FFFFFF;
    builtInError.Background = 0x00000080;
  }

  bool BatchClose() const override { return batchClose; }
  void SetBatchClose(bool on) override { batchClose = on; }
  bool NoToAllChosen() const override { return noToAll; }
  void SetNoToAllChosen(bool on) override { noToAll = on; }

  bool SaveEditorAs(const std::string& fileName, TfrmEditor* editor) override {
    savedAs.push_back(fileName);
    if (!editor->SaveToFile(fileName)) return false;
    editor->SetFileName(fileName);
    editor->SetModified(false);
    return true;
  }
  std::string RunSaveDialog(const std::string& proposed) override {
    dialogProposals.push_back(proposed);
    return dialogAnswer;
  }

  void SelectFileNode(TfrmEditor*) override { ++selected; }
  void RemoveFileNode(TfrmEditor*) override { calls.push_back("RemoveFileNode"); }
  void RemoveEditorMessages(TfrmEditor*) override { calls.push_back("RemoveEditorMessages"); }
  void EditorDestroyed(TfrmEditor*) override { calls.push_back("EditorDestroyed"); }
  void StopJob(TfrmEditor*) override { calls.push_back("StopJob"); }

  QLabel* MainStatusPanel(int index) override {
    if (!mainBar) mainBar = std::make_unique<QStatusBar>();
    if (!mainPanels[0])
      for (auto& p : mainPanels) mainBar->addWidget(p = new QLabel(mainBar.get()));
    return index >= 0 && index < 4 ? mainPanels[index] : nullptr;
  }
  QString MainPanel(int i) { return MainStatusPanel(i)->text(); }
  QMenu* EditorContextMenu() override { return nullptr; }
  TSynFortranSyn* Highlighter() override { return &highlighter; }
  const THighlightAttribute& DefaultErrorLine() const override { return builtInError; }
  const THighlightAttribute& UserErrorLine() const override { return userError; }

  bool batchClose = false;
  bool noToAll = false;
  std::string dialogAnswer;
  std::vector<std::string> dialogProposals;
  std::vector<std::string> savedAs;
  std::vector<std::string> calls;
  int selected = 0;
  TSynFortranSyn highlighter;
  THighlightAttribute builtInError, userError;
  std::unique_ptr<QStatusBar> mainBar;
  QLabel* mainPanels[4] = {};
};

}  // namespace vortan::test
