#pragma once
#include <QMainWindow>
#include <QStringList>
#include <string>
#include <vector>

class QMdiArea;

namespace vortan {

class TfrmEditor;

/// The main window: a frame of editor windows.
class TfrmMain : public QMainWindow {
  Q_OBJECT
 public:
  explicit TfrmMain(QWidget* parent = nullptr);
  ~TfrmMain() override;

  /// Opens the file (or activates its window when already open). Null when it cannot be read.
  TfrmEditor* OpenSourceFile(const std::string& fileName, bool foreground = true);
  /// Opens every entry that names an existing file; returns how many were opened.
  int OpenFileList(const std::vector<std::string>& names);
  TfrmEditor* NewSourceFile();
  TfrmEditor* FindEditor(const std::string& fileName) const;
  std::vector<TfrmEditor*> Editors() const;
  TfrmEditor* ActiveEditor() const;
  /// An open request from another launch: line 1 is the file to open.
  void Vortan2DDEExecuteMacro(const QStringList& lines);
  /// Restores the window when minimised and brings it to the front.
  void BringToFront();
  /// Temporary source copies, deleted when the window is destroyed.
  std::vector<std::string>& TempFiles() { return tempFiles_; }
  QMdiArea* MdiArea() const { return mdi_; }

 signals:
  void FirstShown();

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  TfrmEditor* AddEditor(TfrmEditor* editor);
  QMdiArea* mdi_;
  int untitledCount_ = 0;
  bool shownOnce_ = false;
  std::vector<std::string> tempFiles_;
};

}  // namespace vortan
