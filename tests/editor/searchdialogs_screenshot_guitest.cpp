// The Find, Replace and Go to Line dialogs in English and in Portuguese, as a user sees them.
// With VORTAN_SCREENSHOT_DIR set the pictures are saved there (scripts/search-screenshots.sh
// runs this under Xvfb); without it the test has nothing to show and is skipped.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QRadioButton>

#include "editor/ui/finddialog.h"
#include "editor/ui/gotodialog.h"
#include "editor/ui/replacedialog.h"
#include "editor/ui/searchoptiongroups.h"
#include "editorfixture.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "i18n/ui/translator.h"
#include "support/framedshot.h"

namespace vortan::test {
namespace {

class SearchDialogScreenshots : public EditorFixture {
 protected:
  void TearDown() override {
    MainLanguage().Active = false;
    MainLanguage().Root().Clear();
    ResetStringTable();
    EditorFixture::TearDown();
  }

  /// Shows the dialog, checks that every label's and option's text fits its control, and
  /// saves the picture.
  void Shoot(QDialog& d, const QString& name) {
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    QApplication::processEvents();
    for (QLabel* l : d.findChildren<QLabel*>())
      EXPECT_GE(l->width(), l->sizeHint().width())
          << name.toStdString() << ": " << l->text().toStdString();
    for (QAbstractButton* b : d.findChildren<QAbstractButton*>())
      if (qobject_cast<QCheckBox*>(b) || qobject_cast<QRadioButton*>(b)) {
        EXPECT_GE(b->width(), b->sizeHint().width())
            << name.toStdString() << ": " << b->text().toStdString();
      }
    EXPECT_TRUE(Framed(&d).save(out + QStringLiteral("/%1.png").arg(name)));
    d.close();
  }

  QString out = qEnvironmentVariable("VORTAN_SCREENSHOT_DIR");
};

TEST_F(SearchDialogScreenshots, FindReplaceAndGoToInEnglishAndPortuguese) {
  if (out.isEmpty()) GTEST_SKIP() << "VORTAN_SCREENSHOT_DIR is not set";
  QDir().mkpath(out);
  for (const char* code : {"en", "pt"}) {
    const QString language = QString::fromLatin1(code);
    if (language == QStringLiteral("pt")) {
      MainLanguage().LoadFromFile(VORTAN_TEST_DATA "/../../resources/lang/Portugues.prlx");
      MainLanguage().Active = true;
      LoadStringTable(MainLanguage());
    }
    {
      TfrmFind f;
      f.Preset(QStringLiteral("XOLD"), false);
      f.Groups().chkWords->setChecked(true);
      Shoot(f, QStringLiteral("find-") + language);
    }
    {
      TfrmReplace r;
      r.Preset(QStringLiteral("XOLD"), true);
      r.cbxReplace()->setEditText(QStringLiteral("XPREV"));
      r.Groups().chkCase->setChecked(true);
      Shoot(r, QStringLiteral("replace-") + language);
    }
    {
      TfrmGoTo g(19);
      Shoot(g, QStringLiteral("goto-") + language);
    }
  }
}

}  // namespace
}  // namespace vortan::test
