#pragma once
// The print preview window: modal, maximised, one page at a time at a chosen zoom, with the
// main window's Print, Page Setup and Print Options on its toolbar.

#include <QMainWindow>
#include <functional>
#include <map>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QToolBar;

namespace vortan {

class TParlax;
class TPrintEngine;
class TPreviewPane;

/// What the preview borrows from the main window.
struct TPreviewCommands {
  QAction* Print = nullptr;
  QAction* PageSetup = nullptr;
  QAction* PrintOptions = nullptr;
  /// The icon of the icon set in use for a preview action ("actFirst" ...); null for none.
  std::function<QIcon(const std::string& action)> Icon;
};

class TfrmPrintPreview : public QMainWindow {
  Q_OBJECT
 public:
  TfrmPrintPreview(TPrintEngine& engine, TPreviewCommands commands, QWidget* parent = nullptr);

  /// Shows the window maximised and returns when it has closed.
  void Execute();
  /// Lays the document out again and shows the current page (after page setup or options).
  void RefreshPreview();

  /// A zoom value of the box (a percentage, -1 page width, -2 fit to page). True when it is
  /// one of the box's entries (then selected); otherwise the box is the caller's.
  bool SetZoom(int value);
  /// The selected entry's value, else the number the box starts with, else the percentage.
  int CurrentZoom() const;
  /// The scale as a percentage of the page's real size.
  int CurrentPercent() const;
  void ZoomIn();
  void ZoomOut();
  void ShowPage(int page);

  QAction* Action(const std::string& name) const { return actions_.at(name); }
  QLineEdit* PageBox() const { return edtPage_; }
  QComboBox* ZoomBox() const { return cbxZoom_; }
  QLabel* TotalLabel() const { return lblTotal_; }
  TPreviewPane* Pane() const { return pane_; }
  QToolBar* ToolBar() const { return toolBar_; }

 signals:
  void Closed();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void ApplyLanguage(TParlax& language);
  void UpdateActions();
  void ApplyScale();
  void StepZoom(int percent);
  void PageEntered();
  void ZoomEntered();

  TPrintEngine& engine_;
  TPreviewCommands commands_;
  std::map<std::string, QAction*> actions_;
  QToolBar* toolBar_ = nullptr;
  QLineEdit* edtPage_ = nullptr;
  QLabel* lblPage_ = nullptr;
  QLabel* lblOf_ = nullptr;
  QLabel* lblTotal_ = nullptr;
  QComboBox* cbxZoom_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  TPreviewPane* pane_ = nullptr;
  int zoom_ = 100;  // the value applied last (percentage, -1 or -2)
  bool closing_ = false;
};

}  // namespace vortan
