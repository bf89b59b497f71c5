// The Symbols panel, a call tree and the tip over a unit's name as a user sees them, on the
// reference LAPACK sources. The tip is shown by the editor's own dwell signal. With
// VORTAN_SCREENSHOT set to a folder the pictures are saved there.
#include <gtest/gtest.h>

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QDockWidget>
#include <QTest>
#include <QToolTip>
#include <QTreeWidget>
#include <filesystem>
#include <memory>

#include "config/settingsstore.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "shell/mainwindow.h"
#include "support/framedshot.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"
#include "symbols/ui/symbolindexer.h"
#include "symbols/ui/symbolspanel.h"

namespace vortan {
namespace {

void Save(const QImage& image, const char* name) {
  const QByteArray folder = qgetenv("VORTAN_SCREENSHOT");
  if (!folder.isEmpty()) image.save(QString::fromLocal8Bit(folder) + "/" + name);
}

QWidget* ShownTip() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->inherits("QTipLabel") && w->isVisible()) return w;
  return nullptr;
}

TEST(SymbolsScreenshot, PanelCallTreeAndTipOnLapack) {
  const std::string root = VORTAN_LAPACK_CORPUS;
  if (!std::filesystem::exists(root + "/SRC/dgesv.f"))
    GTEST_SKIP() << "the reference LAPACK sources are not in " << root;
  test::TTempDir dir;
  test::TScriptedPrompts prompts;
  qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(dir / "cache"));
  ASSERT_TRUE(OpenStore(dir / "store.sqlite").Ok);
  {
    auto main = std::make_unique<TfrmMain>();
    main->resize(1100, 720);
    main->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main.get()));
    TfrmEditor* e = main->OpenSourceFile(root + "/SRC/dgesv.f");
    ASSERT_NE(e, nullptr);
    TSymbolIndexer& ix = main->SymbolIndexer();
    QTRY_VERIFY_WITH_TIMEOUT(ix.Ready() && !ix.Busy(), 60000);
    main->UpdateActions();

    main->Action("actSymbols")->trigger();
    ASSERT_TRUE(main->SymbolsWindow()->isVisible());
    QTreeWidget* tree = main->SymbolsPanel().Tree();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(0),
              "SUBROUTINE DGESV(N, NRHS, A, LDA, IPIV, B, LDB, INFO)");
    QApplication::processEvents();
    Save(test::Framed(main.get()), "symbols-panel.png");

    // The call tree of DGESV, two levels open.
    e->SynEdit()->setCursorPosition(164, 14);  // line 165: CALL DGETRF
    main->ActivateEditor(e);
    main->UpdateActions();
    main->Action("actCallTree")->trigger();
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    QTreeWidgetItem* top = tree->topLevelItem(0);
    EXPECT_EQ(top->text(0), "DGETRF");
    ASSERT_GT(top->childCount(), 2);
    top->child(0)->setExpanded(true);
    QApplication::processEvents();
    Save(test::Framed(main.get()), "symbols-calltree.png");

    // The tip over DGETRF: the editor's dwell signal at the name.
    TStreakSynEdit* s = e->SynEdit();
    const long pos = s->SendScintilla(QsciScintillaBase::SCI_FINDCOLUMN, 164, 14);
    const int x =
        static_cast<int>(s->SendScintilla(QsciScintillaBase::SCI_POINTXFROMPOSITION, 0, pos));
    const int y =
        static_cast<int>(s->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0, pos));
    emit s->SCN_DWELLSTART(static_cast<int>(pos), x, y);
    QWidget* tip = nullptr;
    QTRY_VERIFY((tip = ShownTip()) != nullptr);
    EXPECT_TRUE(QToolTip::text().contains("SUBROUTINE DGETRF( M, N, A, LDA, IPIV, INFO )"));
    EXPECT_TRUE(QToolTip::text().contains("DGETRF computes an LU factorization"));
    QImage shot = main->grab().toImage();
    {
      QPainter p(&shot);
      p.drawImage(s->viewport()->mapTo(main.get(), QPoint(x, y + 20)), tip->grab().toImage());
    }
    Save(test::Framed(shot, main->windowTitle()), "symbols-tip.png");
    QToolTip::hideText();

    // The references of DGETRF, from the same name.
    main->ActivateEditor(e);
    main->UpdateActions();
    main->Action("actFindReferences")->trigger();
    ASSERT_GT(tree->topLevelItemCount(), 5);
    EXPECT_EQ(tree->topLevelItem(0)->text(2).left(11), "CALL DGETRF");
    QApplication::processEvents();
    Save(test::Framed(main.get()), "symbols-references.png");
    prompts.AnswerAlways(TModalResult::No);
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  CloseStore();
  qunsetenv("XDG_CACHE_HOME");
}

}  // namespace
}  // namespace vortan
