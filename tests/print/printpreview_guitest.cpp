// The print preview window: page buttons and their enabling rules, the page and zoom boxes,
// mouse zoom, the zoom kept in the settings, and the window in English and Portuguese. With
// VORTAN_SCREENSHOT_DIR set, pictures at "Fit to page" and 100% are saved there.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPageSize>
#include <QTest>
#include <QToolBar>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "i18n/parlax.h"
#include "i18n/stringtable.h"
#include "i18n/ui/translator.h"
#include "print/ui/previewpane.h"
#include "print/ui/printengine.h"
#include "print/ui/printpreview.h"
#include "print/zoomsteps.h"
#include "support/framedshot.h"
#include "support/scriptedprompts.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

TPrintDocument Document(int lines) {
  TPrintDocument d;
  d.Lines = {"C     PREVIEW OF A PROGRAM", "      PROGRAM SHOW"};
  while (static_cast<int>(d.Lines.size()) < lines - 1)
    d.Lines.push_back("      CALL STEP(" + std::to_string(d.Lines.size()) + ", 'text')");
  d.Lines.push_back("      END");
  d.Font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  d.Font.setPointSize(10);
  TSynFortranSyn::TAttributes a{};
  a[faComment].Foreground = 0x00008000;
  a[faComment].Italic = true;
  a[faKey].Foreground = 0x00800000;
  a[faKey].Bold = true;
  a[faString].Foreground = 0x000000C0;
  d.Attributes = a;
  d.Title = "show.f";
  return d;
}

class PrintPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(OpenStore(dir_ / "store.sqlite").Ok);
    engine_.Printer().setPageSize(QPageSize(QPageSize::A4));
    print_.setText("&Print...");
    pageSetup_.setText("Page Set&up...");
    options_.setText("Print Options...");
  }
  void TearDown() override {
    preview_.reset();
    MainLanguage().Active = false;
    MainLanguage().Root().Clear();
    ResetStringTable();
    CloseStore();
  }
  TfrmPrintPreview& Open(int lines) {
    engine_.SetDocument(Document(lines));
    preview_ = std::make_unique<TfrmPrintPreview>(
        engine_, TPreviewCommands{&print_, &pageSetup_, &options_, nullptr});
    preview_->resize(1260, 760);
    preview_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(preview_.get()));
    return *preview_;
  }
  std::string Enabled(TfrmPrintPreview& p) {
    std::string s;
    for (const char* a : {"actFirst", "actPrevious", "actNext", "actLast"})
      s += p.Action(a)->isEnabled() ? '1' : '0';
    return s;
  }
  void Enter(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
  }

  test::TTempDir dir_;
  test::TScriptedPrompts prompts_;
  TPrintSettings settings_;
  TPrintEngine engine_{settings_};
  QAction print_, pageSetup_, options_;
  std::unique_ptr<TfrmPrintPreview> preview_;
};

TEST_F(PrintPreviewTest, PageButtonsFollowThePageShown) {
  struct Case {
    int lines, page;
    const char* enabled;  // First, Previous, Next, Last
    const char* box;
  } cases[] = {
      {150, 1, "0011", "1"}, {150, 2, "1111", "2"}, {150, 3, "1100", "3"},
      {150, 7, "1100", "3"}, {150, 0, "0011", "1"}, {20, 1, "0000", "1"},
  };
  for (const Case& c : cases) {
    TfrmPrintPreview& p = Open(c.lines);
    p.ShowPage(c.page);
    EXPECT_EQ(Enabled(p), c.enabled) << c.lines << " lines, page " << c.page;
    EXPECT_EQ(p.PageBox()->text().toStdString(), c.box);
    EXPECT_EQ(p.TotalLabel()->text(), c.lines == 150 ? "3" : "1");
  }
}

TEST_F(PrintPreviewTest, PageBoxTakesWholeNumbersOnly) {
  TfrmPrintPreview& p = Open(150);
  Enter(p.PageBox(), "2");
  EXPECT_EQ(p.Pane()->Page(), 2);
  Enter(p.PageBox(), "99");  // limited to the last page
  EXPECT_EQ(p.Pane()->Page(), 3);
  EXPECT_EQ(p.PageBox()->text(), "3");
  p.Action("actFirst")->trigger();
  EXPECT_EQ(p.PageBox()->text(), "1");
  QTest::keyClicks(p.PageBox(), "x-");  // refused while typing
  EXPECT_EQ(p.PageBox()->text(), "1");
}

TEST_F(PrintPreviewTest, ZoomStepsBoxAndMouse) {
  TfrmPrintPreview& p = Open(150);
  ASSERT_TRUE(p.SetZoom(100));
  EXPECT_EQ(p.CurrentPercent(), 100);
  p.Action("actZoomIn")->trigger();
  EXPECT_EQ(p.ZoomBox()->currentText(), "150%");
  QTest::mouseClick(p.Pane(), Qt::RightButton);
  EXPECT_EQ(p.ZoomBox()->currentText(), "100%");
  QTest::mouseClick(p.Pane(), Qt::LeftButton);
  EXPECT_EQ(p.CurrentZoom(), 150);
  ASSERT_TRUE(p.SetZoom(10));
  p.Action("actZoomOut")->trigger();
  EXPECT_EQ(p.CurrentZoom(), 10);  // nothing below 10
  // Page width zooms in from the percentage it shows.
  ASSERT_TRUE(p.SetZoom(-1));
  const int shown = p.CurrentPercent();
  p.Action("actZoomIn")->trigger();
  EXPECT_EQ(p.CurrentZoom(), ZoomInStep(shown));
  // A typed number that is no entry shows with a percent sign and is kept when closing.
  Enter(p.ZoomBox()->lineEdit(), "120");
  EXPECT_EQ(p.ZoomBox()->currentText(), "120%");
  EXPECT_EQ(p.CurrentPercent(), 120);
  p.close();
  EXPECT_EQ(ReadInteger(sidZoom), 120);
  TfrmPrintPreview& again = Open(150);
  EXPECT_EQ(again.ZoomBox()->currentText(), "120%");
  EXPECT_EQ(again.CurrentPercent(), 120);
}

TEST_F(PrintPreviewTest, ToolbarPlaceIsKept) {
  TfrmPrintPreview& p = Open(20);
  p.addToolBar(Qt::BottomToolBarArea, p.ToolBar());
  p.close();
  EXPECT_EQ(ReadString(sidPrintPreviewToolbar).rfind("1,BottomDock,BottomDock,", 0), 0u)
      << ReadString(sidPrintPreviewToolbar);
  TfrmPrintPreview& again = Open(20);
  EXPECT_EQ(again.toolBarArea(again.ToolBar()), Qt::BottomToolBarArea);
}

TEST_F(PrintPreviewTest, TextsInEnglishAndPortuguese) {
  const char* shots = std::getenv("VORTAN_SCREENSHOT_DIR");
  for (const char* language : {"English", "Portugues"}) {
    if (std::string(language) == "Portugues") {
      MainLanguage().LoadFromFile(VORTAN_TEST_DATA "/../../resources/lang/Portugues.prlx");
      MainLanguage().Active = true;
      LoadStringTable(MainLanguage());
    }
    TfrmPrintPreview& p = Open(150);
    const bool pt = std::string(language) == "Portugues";
    EXPECT_EQ(p.windowTitle(), pt ? QString::fromUtf8("Visualizar impressão") : "Print Preview");
    EXPECT_EQ(p.Action("actZoomIn")->text(), pt ? "Ampliar" : "Zoom in");
    EXPECT_EQ(p.Action("actClose")->shortcut(), QKeySequence("Alt+F4"));
    for (int zoom : {-2, 100}) {
      p.SetZoom(zoom);
      QTest::qWait(20);
      if (shots)
        test::Framed(&p).save(QString::fromUtf8(shots) + "/print-preview-" +
                              (zoom < 0 ? "fit" : "100") + (pt ? "-pt" : "-en") + ".png");
    }
    p.close();
  }
}

}  // namespace
}  // namespace vortan
