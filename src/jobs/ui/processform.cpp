#include "jobs/ui/processform.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "i18n/ui/languagechangedevent.h"
#include "widgets/qtconvert.h"

namespace vortan {

namespace {

// Client area of the reference layout.
constexpr int kWidth = 372;
constexpr int kHeight = 133;

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text) {
  auto* l = new QLabel(QString::fromLatin1(text), parent);
  l->setObjectName(QString::fromLatin1(name));
  return l;
}

}  // namespace

TfrmProcess::TfrmProcess(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmProcess"));
  setWindowTitle(QStringLiteral("Process"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kWidth, kHeight);

  frame_ = new QFrame(this);
  frame_->setObjectName(QStringLiteral("Bevel1"));
  frame_->setFrameStyle(QFrame::Box | QFrame::Sunken);
  frame_->setGeometry(8, 8, kWidth - 16, 86);

  lblProcessing_ = MakeLabel(frame_, "lblProcessing", "Processing:");
  lblFile_ = MakeLabel(frame_, "lblFile", "*");
  lblMessage_ = MakeLabel(frame_, "lblMessage", "Running Analyzer...");
  lblProcessing_->move(10, 8);
  lblFile_->move(80, 8);
  lblFile_->setTextFormat(Qt::PlainText);
  lblMessage_->setTextFormat(Qt::PlainText);
  lblMessage_->setGeometry(10, 28, frame_->width() - 20, 18);

  const char* captions[3][2] = {
      {"lblLines", "Lines:"}, {"lblHits", "Hits:"}, {"lblErrors", "Errors:"}};
  const char* numbers[3][2] = {{"Label1", "*"}, {"Label2", "0"}, {"Label3", "0"}};
  QLabel** captionLabels[3] = {&lblLines_, &lblHits_, &lblErrors_};
  QLabel** numberLabels[3] = {&label1_, &label2_, &label3_};
  const int boxWidth = (frame_->width() - 20 - 2 * 6) / 3;
  for (int i = 0; i < 3; ++i) {
    auto* box = new QFrame(frame_);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setGeometry(10 + i * (boxWidth + 6), 52, boxWidth, 24);
    boxes_[i] = box;
    *captionLabels[i] = MakeLabel(box, captions[i][0], captions[i][1]);
    (*captionLabels[i])->move(6, 4);
    *numberLabels[i] = MakeLabel(box, numbers[i][0], numbers[i][1]);
    (*numberLabels[i])->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }

  btnCancel_ = new QPushButton(QStringLiteral("Cancel"), this);
  btnCancel_->setObjectName(QStringLiteral("btnCancel"));
  btnCancel_->setDefault(true);
  btnCancel_->setAutoDefault(true);
  btnCancel_->setGeometry((kWidth - 75) / 2, kHeight - 33, 75, 25);
  connect(btnCancel_, &QPushButton::clicked, this, &TfrmProcess::Cancel);

  timer1_.setInterval(1000);
  connect(&timer1_, &QTimer::timeout, this, &TfrmProcess::Timer1Timer);

  if (MainLanguage().Active) ApplyLanguage(MainLanguage());
  PlaceLabels();
}

TfrmProcess::~TfrmProcess() { timer1_.stop(); }

void TfrmProcess::ApplyLanguage(const TParlax& language) {
  const TParlaxItem* objects = language.Root().FindChild("OBJECTS");
  const TParlaxItem* form = objects ? objects->FindChild("Form:Process") : nullptr;
  if (form == nullptr) return;
  std::string text;
  auto apply = [&](const char* block, QWidget* w, bool caption) {
    const TParlaxItem* item = form->FindChild(block);
    if (item == nullptr) return;
    if (caption && item->GetString("Caption", text)) {
      if (auto* label = qobject_cast<QLabel*>(w))
        label->setText(LanguageText(text));
      else if (auto* button = qobject_cast<QPushButton*>(w))
        button->setText(LanguageText(text));
    }
    if (item->GetString("Hint", text)) w->setToolTip(LanguageText(text));
  };
  if (form->GetString("Caption", text)) setWindowTitle(LanguageText(text));
  if (form->GetString("Hint", text)) setToolTip(LanguageText(text));
  apply("Label:Processing", lblProcessing_, true);
  apply("Label:File", lblFile_, false);
  apply("Label:Message", lblMessage_, false);
  apply("Label:Lines", lblLines_, true);
  apply("Label:Hits", lblHits_, true);
  apply("Label:Errors", lblErrors_, true);
  // Once the step has ended the button reads "OK", whatever the language says it reads
  // while a step runs.
  apply("Button:Cancel", btnCancel_, !finished_);
  PlaceLabels();
}

bool TfrmProcess::event(QEvent* e) {
  if (e->type() == TLanguageChangedEvent::EventType) {
    ApplyLanguage(static_cast<TLanguageChangedEvent*>(e)->Engine());
    return true;
  }
  return QDialog::event(e);
}

void TfrmProcess::PlaceLabels() {
  lblProcessing_->adjustSize();
  lblFile_->adjustSize();
  lblFile_->move(lblProcessing_->x() + lblProcessing_->width() + 4, lblProcessing_->y());
  lblFile_->resize(std::max(0, frame_->width() - 10 - lblFile_->x()), lblFile_->height());
  QLabel* numbers[3] = {label1_, label2_, label3_};
  QLabel* captions[3] = {lblLines_, lblHits_, lblErrors_};
  for (int i = 0; i < 3; ++i) {
    captions[i]->adjustSize();
    numbers[i]->adjustSize();
    const int right = boxes_[i]->width() - 4;
    numbers[i]->move(right - numbers[i]->width(), 4);
  }
}

void TfrmProcess::showEvent(QShowEvent* e) {
  PlaceLabels();
  QDialog::showEvent(e);
}

void TfrmProcess::Repaint() {
  if (isVisible()) repaint();
}

void TfrmProcess::SetMessage(const std::string& text) {
  lblMessage_->setText(LanguageText(text));
  Repaint();
}

std::string TfrmProcess::Message() const { return LatinBytes(lblMessage_->text()); }

void TfrmProcess::SetFile(const std::string& text) {
  lblFile_->setText(Local(text));
  PlaceLabels();
  Repaint();
}

void TfrmProcess::SetNumber(QLabel* label, int n) {
  label->setText(QString::number(n));
  PlaceLabels();
  Repaint();
}

void TfrmProcess::SetLines(int n) { SetNumber(label1_, n); }
void TfrmProcess::SetHits(int n) { SetNumber(label2_, n); }
void TfrmProcess::SetErrors(int n) { SetNumber(label3_, n); }

void TfrmProcess::SetBold(bool bold) {
  QFont f = lblMessage_->font();
  f.setBold(bold);
  lblMessage_->setFont(f);
  Repaint();
}

void TfrmProcess::SetFinished() {
  finished_ = true;
  btnCancel_->setText(LanguageText(Str(TStr::strOK)));
}

void TfrmProcess::Cancel() {
  if (currentThread_ == nullptr || finished_) {
    finished_ = true;
    close();
    return;
  }
  if (Waiting()) return;
  btnCancel_->setEnabled(false);
  TBaseThread* job = currentThread_;
  {
    auto hold = job->Hold();
    QPointer<TfrmProcess> self(this);
    savedOnTerminate_ = job->OnFinished;
    TBaseThread::TNotify saved = savedOnTerminate_;
    job->OnFinished = [self, saved](TBaseThread& j) {
      if (self)
        self->WaitEnded(j);
      else if (saved)
        saved(j);
    };
    job->RequestStop();
  }
  if (OnCancelled) OnCancelled();
  SetBold(true);
  waitCountdown_ = WaitSeconds;
  ShowCountdown();
  timer1_.start();
}

void TfrmProcess::ShowCountdown() {
  SetMessage(FormatStr(Str(TStr::strWaitingProcess), {std::to_string(waitCountdown_)}));
}

void TfrmProcess::Timer1Timer() {
  --waitCountdown_;
  if (waitCountdown_ > 0) {
    ShowCountdown();
    return;
  }
  timer1_.stop();
  // The job is left running with its own end handler; when it ends later it finds this
  // window's step over and shows nothing.
  if (currentThread_ != nullptr) {
    currentThread_->ExchangeOnFinished(savedOnTerminate_);
  }
  savedOnTerminate_ = nullptr;
  SetFinished();
  if (OnClearStatus) OnClearStatus();
  btnCancel_->setEnabled(true);
}

void TfrmProcess::WaitEnded(TBaseThread& job) {
  timer1_.stop();
  btnCancel_->setEnabled(true);
  TBaseThread::TNotify saved = std::move(savedOnTerminate_);
  savedOnTerminate_ = nullptr;
  if (saved) saved(job);
}

void TfrmProcess::reject() {
  if (finished_)
    close();
  else
    Cancel();
}

void TfrmProcess::closeEvent(QCloseEvent* e) {
  if (!finished_) {
    e->ignore();
    Cancel();
    return;
  }
  timer1_.stop();
  emit Closing();
  e->accept();
}

}  // namespace vortan
