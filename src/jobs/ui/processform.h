#pragma once
// The progress window of a build action: the file processed, what is happening, the line
// count and the analysis' findings, and one button that cancels the running step and, once
// the step has ended, closes the window.

#include <QDialog>
#include <QTimer>
#include <functional>
#include <string>

#include "jobs/basethread.h"

class QFrame;
class QLabel;
class QPushButton;

namespace vortan {

class TParlax;

class TfrmProcess : public QDialog {
  Q_OBJECT
 public:
  static constexpr int WaitSeconds = 15;

  /// Created hidden, with the message "Running Analyzer...".
  explicit TfrmProcess(QWidget* parent = nullptr);
  ~TfrmProcess() override;

  // Each setter repaints the window at once.
  void SetMessage(const std::string& text);
  void SetFile(const std::string& text);
  void SetLines(int n);
  void SetHits(int n);
  void SetErrors(int n);
  void SetBold(bool bold);
  std::string Message() const;

  /// The job of the step now running; not owned. Touched only while the button reads Cancel.
  TBaseThread* CurrentThread() const { return currentThread_; }
  void SetCurrentThread(TBaseThread* job) { currentThread_ = job; }

  /// The step has ended: the button gets the result OK and the caption "OK".
  void SetFinished();
  /// The button's result is OK: closing is allowed.
  bool Finished() const { return finished_; }
  /// Waiting for a cancelled job to end.
  bool Waiting() const { return timer1_.isActive(); }
  int WaitCountdown() const { return waitCountdown_; }

  /// The button's click (also Esc, and any attempt to close while a step runs).
  void Cancel();
  /// The cancelled job's end handler while the window waits.
  void WaitEnded(TBaseThread& job);

  /// Cancel's clean-up outside the window: clear the Messages tree, empty the process panel.
  std::function<void()> OnCancelled;
  /// Empties the status bar's process panel.
  std::function<void()> OnClearStatus;

  /// Applies the "Form:Process" texts of a language.
  void ApplyLanguage(const TParlax& language);

  QLabel* FileLabel() const { return lblFile_; }
  QLabel* MessageLabel() const { return lblMessage_; }
  QPushButton* CancelButton() const { return btnCancel_; }

 signals:
  /// The window is about to be destroyed after an allowed close.
  void Closing();

 protected:
  void closeEvent(QCloseEvent* e) override;
  void reject() override;
  void showEvent(QShowEvent* e) override;
  bool event(QEvent* e) override;

 private:
  void Timer1Timer();
  void SetNumber(QLabel* label, int n);
  void PlaceLabels();
  void Repaint();
  void ShowCountdown();

  QFrame* frame_ = nullptr;
  QLabel* lblProcessing_ = nullptr;
  QLabel* lblFile_ = nullptr;
  QLabel* lblMessage_ = nullptr;
  QLabel* lblLines_ = nullptr;
  QLabel* label1_ = nullptr;
  QLabel* lblHits_ = nullptr;
  QLabel* label2_ = nullptr;
  QLabel* lblErrors_ = nullptr;
  QLabel* label3_ = nullptr;
  QFrame* boxes_[3] = {};
  QPushButton* btnCancel_ = nullptr;
  QTimer timer1_;

  TBaseThread* currentThread_ = nullptr;
  int waitCountdown_ = WaitSeconds;
  TBaseThread::TNotify savedOnTerminate_;
  bool finished_ = false;
};

}  // namespace vortan
