// The progress window's cancel protocol against a worker that does not react to the stop at
// once, as a capture job waiting on a silent tool would not.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <chrono>
#include <thread>

#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "i18n/ui/languagechangedevent.h"
#include "jobs/basethread.h"
#include "jobs/ui/mainthreadcall.h"
#include "jobs/ui/processform.h"

namespace vortan::test {
namespace {

// Ends only when let go, then reports the stop if one was asked for.
class TStubbornJob : public TBaseThread {
 public:
  TStubbornJob(std::atomic<bool>& letGo) : TBaseThread(QtMainThreadCall()), letGo_(letGo) {}

 protected:
  void Execute() override {
    while (!letGo_) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ResultCode = StopRequested() ? jrTerminated : jrOK;
    if (StopRequested())
      DoError();
    else
      DoSuccess();
  }

 private:
  std::atomic<bool>& letGo_;
};

class ProcessForm : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = new TfrmProcess;
    form_->setAttribute(Qt::WA_DeleteOnClose);
    form_->OnCancelled = [this] { ++cancelled_; };
    form_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form_));
    job_ = new TStubbornJob(letGo_);
    // What the pipeline's failure handler does.
    job_->OnError = [this](TBaseThread& j) {
      errors_.push_back(j.ResultCode);
      if (!form_) return;
      form_->SetFinished();
      form_->SetBold(true);
      form_->SetMessage(Str(TStr::strTerminatedByUser));
    };
    job_->OnFinished = [this](TBaseThread&) { ownEnd_ = true; };
    form_->SetCurrentThread(job_);
    job_->Start();
  }
  void TearDown() override {
    letGo_ = true;
    EXPECT_TRUE(QTest::qWaitFor([this] { return ownEnd_.load(); }, 5000));
    delete form_.data();
  }

  std::atomic<bool> letGo_{false};
  std::atomic<bool> ownEnd_{false};
  QPointer<TfrmProcess> form_;
  TStubbornJob* job_ = nullptr;
  int cancelled_ = 0;
  std::vector<TJobResult> errors_;
};

TEST_F(ProcessForm, EscCancelsCountsDownAndTheJobEndingFinishesTheStep) {
  QTest::keyClick(form_, Qt::Key_Escape);
  EXPECT_EQ(cancelled_, 1);
  EXPECT_EQ(form_->Message(), "Waiting process to terminate... 15");
  EXPECT_FALSE(form_->CancelButton()->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return form_->WaitCountdown() == 14; }, 3000));
  EXPECT_EQ(form_->Message(), "Waiting process to terminate... 14");
  QTest::keyClick(form_, Qt::Key_Escape);
  EXPECT_EQ(cancelled_, 1) << "a second Cancel while waiting does nothing";

  letGo_ = true;
  ASSERT_TRUE(QTest::qWaitFor([&] { return ownEnd_.load(); }, 5000));
  EXPECT_EQ(errors_, std::vector<TJobResult>{jrTerminated});
  EXPECT_EQ(form_->Message(), "Error.       Terminated by user.");
  EXPECT_EQ(form_->CancelButton()->text(), QStringLiteral("OK"));
  EXPECT_TRUE(form_->CancelButton()->isEnabled());
  EXPECT_FALSE(form_->Waiting());

  bool closing = false;
  QObject::connect(form_, &TfrmProcess::Closing, [&] { closing = true; });
  QTest::keyClick(form_, Qt::Key_Escape);
  EXPECT_TRUE(closing) << "Esc after the outcome closes the window";
}

TEST_F(ProcessForm, AJobThatOutlastsTheCountIsLeftRunningWithItsOwnEndHandler) {
  form_->CancelButton()->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return form_->Finished(); }, 20000));
  EXPECT_EQ(form_->Message(), "Waiting process to terminate... 1");
  EXPECT_EQ(form_->CancelButton()->text(), QStringLiteral("OK"));
  EXPECT_TRUE(form_->CancelButton()->isEnabled());
  form_->close();

  letGo_ = true;
  ASSERT_TRUE(QTest::qWaitFor([&] { return ownEnd_.load(); }, 5000));
  EXPECT_EQ(errors_, std::vector<TJobResult>{jrTerminated});
}

TEST(ProcessFormLanguage, TakesTheLanguagesCaptionsButKeepsOKOnceTheStepHasEnded) {
  TParlax language;
  TParlaxItem& form = language.Root().Child("OBJECTS").Child("Form:Process");
  form.AddValue("Caption", "Processo");
  form.Child("Label:Processing").AddValue("Caption", "Processando um arquivo:");
  form.Child("Label:Hits").AddValue("Caption", "Achados:");
  form.Child("Button:Cancel").AddValue("Caption", "Cancelar");
  TfrmProcess window;
  window.SetFile("prog.f");
  TLanguageChangedEvent e(language);
  QCoreApplication::sendEvent(&window, &e);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Processo"));
  EXPECT_EQ(window.findChild<QLabel*>("lblHits")->text(), QStringLiteral("Achados:"));
  EXPECT_EQ(window.CancelButton()->text(), QStringLiteral("Cancelar"));
  const QLabel* processing = window.findChild<QLabel*>("lblProcessing");
  EXPECT_EQ(window.FileLabel()->x(), processing->x() + processing->width() + 4);

  window.SetFinished();
  QCoreApplication::sendEvent(&window, &e);
  EXPECT_EQ(window.CancelButton()->text(), QStringLiteral("OK"));
}

}  // namespace
}  // namespace vortan::test
