// Find, Search Again, Replace All and Go to Line Number on the main window, driven by their
// keys; the dialogs get their text typed in like a user would, prompts are scripted.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "shell/mainwindow.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

// Runs `type` on the modal dialog as soon as it is shown and active (keys typed into a dialog
// that is not yet the active window go nowhere). A dialog still open a while later fails the
// test and is closed, so that a failed step never leaves the test waiting for good.
void WhenDialogShows(std::function<void(QWidget*)> type) {
  auto* poll = new QTimer;
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, type] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog || !dialog->isVisible() || !dialog->isActiveWindow()) return;
    poll->stop();
    poll->deleteLater();
    auto* d = qobject_cast<QDialog*>(dialog);
    if (!d) return;
    // Dialogs are kept for the run: only this showing of it counts.
    auto finished = std::make_shared<bool>(false);
    QObject::connect(
        d, &QDialog::finished, d, [finished] { *finished = true; }, Qt::SingleShotConnection);
    type(d);
    QTimer::singleShot(10000, d, [d, finished] {
      if (*finished) return;
      ADD_FAILURE() << "the dialog was still open after the keys were typed";
      d->reject();
    });
  });
  poll->start();
}

void TypeInto(QWidget* box, const char* text) {
  box->setFocus();
  QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(box, QString::fromLatin1(text));
}

TEST(SearchKeys, FindSearchAgainReplaceAllAndGoToByTheirKeys) {
  test::TTempDir dir;
  test::TScriptedPrompts prompts;
  ASSERT_TRUE(OpenStore(dir / "store.sqlite").Ok);
  {
    auto main = std::make_unique<TfrmMain>();
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    // The keys reach the window's shortcuts while it is the active one, as after a dialog.
    auto activate = [&main] {
      main->activateWindow();
      return QTest::qWaitForWindowActive(main.get());
    };
    ASSERT_TRUE(activate());
    std::string text;
    for (int i = 1; i <= 12; ++i) text += "      X = ITER + " + std::to_string(i) + "\r\n";
    TfrmEditor* e = main->OpenSourceFile(dir.Write("keys.f", text));
    ASSERT_NE(e, nullptr);
    TStreakSynEdit* s = e->SynEdit();
    s->setFocus();
    QApplication::processEvents();
    main->UpdateActions();

    WhenDialogShows([](QWidget* d) {
      TypeInto(d->findChild<QComboBox*>(QStringLiteral("cbxFind")), "iter");
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    QTest::keyClick(s, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(s->SelectedBytes(), "ITER");
    EXPECT_EQ(s->CaretLine(), 1);

    ASSERT_TRUE(activate());
    main->UpdateActions();
    QTest::keyClick(s, Qt::Key_F3);
    EXPECT_EQ(s->SelectedBytes(), "ITER");
    EXPECT_EQ(s->CaretLine(), 2);

    QTest::keyClick(s, Qt::Key_Home, Qt::ControlModifier);
    prompts.AnswerAlways(TModalResult::YesToAll);
    WhenDialogShows([](QWidget* d) {
      TypeInto(d->findChild<QComboBox*>(QStringLiteral("cbxFind")), "ITER");
      TypeInto(d->findChild<QComboBox*>(QStringLiteral("cbxReplace")), "K");
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
    });
    ASSERT_TRUE(activate());
    QTest::keyClick(s, Qt::Key_R, Qt::ControlModifier);
    std::string replaced;
    for (int i = 1; i <= 12; ++i)
      replaced += "      X = K + " + std::to_string(i) + (i < 12 ? "\n" : "");
    EXPECT_EQ(s->Bytes(), replaced);

    WhenDialogShows([](QWidget* d) {
      QTest::keyClicks(d->focusWidget(), QStringLiteral("10"));
      QTest::keyClick(d->focusWidget(), Qt::Key_Return);
    });
    ASSERT_TRUE(activate());
    QTest::keyClick(s, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(s->CaretLine(), 10);

    prompts.AnswerAlways(TModalResult::No);
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  CloseStore();
}

}  // namespace
}  // namespace vortan
