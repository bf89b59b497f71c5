// Printing from the real executable on the X display, the way the user prints: Ctrl+P opens
// the print dialog and Return prints to the PDF file it proposes; File > Page Setup... takes a
// wider left margin, and the next print uses it. The keys go through the X server as the
// keyboard's do, and the PDF is read back with pdftotext. (The other tests answer the dialogs
// from a script: they cannot see whether the program's own dialogs open.)
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
#include <string>

#include "app/idehome.h"
#include "config/settingids.h"
#include "config/settingsstore.h"

#ifdef VORTAN_TEST_X11
#include "app/xidetest.h"
#include "support/framedshot.h"

namespace vortan {
namespace {

// Tab presses from the page setup dialog's first control to the left margin (Qt's dialog).
constexpr int kTabsToLeftMargin = 4;

class PrintingTest : public test::XIdeTest {
 protected:
  void SetUp() override {
    XIdeTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    TSettingsStore store;
    ASSERT_TRUE(store.Open(DefaultStorePath()).Ok);
    store.WriteBool(sidAssociateFiles, false);  // no question about the .f files first
    store.Close();
    // Two pages; an accented letter in the OEM code page the editor reads a file in.
    std::string text = "C     Caf\x82 au lait\n      PROGRAM ACCENT\n";
    for (int i = 3; i < 90; ++i) text += "C     LINE " + std::to_string(i) + "\n";
    text += "      END\n";
    source_ = home_.Write("accents.f", text);
  }

  /// The program's window with that title, once it shows; 0 when none shows in time.
  Window Shown(const std::string& title) {
    Window w = 0;
    (void)QTest::qWaitFor([&] { return (w = display_.WindowTitled(ide_.processId(), title)) != 0; },
                          20000);
    return w;
  }
  bool Gone(Window w) {
    return QTest::qWaitFor(
        [&] {
          for (const auto& t : display_.TopLevels())
            if (t.Id == w) return false;
          return true;
        },
        20000);
  }

  /// Ctrl+P in the main window, then Return in the print dialog: the dialog's own proposal, a
  /// PDF file in the working folder. Returns the file once the program is done printing.
  QString PrintWithCtrlP(Window main, const char* picture = nullptr) {
    display_.Focus(main);
    EXPECT_TRUE(display_.Drain(main));
    display_.Keys({XK_Control_L, XK_p});
    const Window dialog = Shown("Print");
    EXPECT_NE(dialog, 0u) << "Ctrl+P opened no print dialog; " << display_.Describe();
    if (!dialog) return {};
    EXPECT_TRUE(display_.Drain(dialog));
    if (picture) SavePicture(dialog, "Print", picture, true);
    display_.Focus(dialog);
    display_.Keys({XK_Return});
    EXPECT_TRUE(Gone(dialog)) << display_.Describe();
    // The print runs in the same turn of the event loop as the dialog's end.
    EXPECT_TRUE(display_.Drain(main));
    return QString::fromStdString(home_ / "print.pdf");
  }

  /// The PDF's text (pdftotext); `bbox` gives every word with its place instead.
  static std::string PdfText(const QString& pdf, bool bbox = false) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            bbox ? QStringList{QStringLiteral("-bbox"), pdf, QStringLiteral("-")}
                 : QStringList{QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf,
                               QStringLiteral("-")});
    if (!p.waitForFinished(20000) || p.exitCode() != 0) return {};
    return p.readAllStandardOutput().toStdString();
  }
  /// The leftmost word on the first page, in points from the sheet's edge.
  static double LeftmostWord(const QString& pdf) {
    const QString html = QString::fromStdString(PdfText(pdf, true));
    const QString page1 = html.left(html.indexOf(QStringLiteral("</page>")));
    double left = 1e9;
    static const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\""));
    for (auto m = word.globalMatch(page1); m.hasNext();)
      left = std::min(left, m.next().captured(1).toDouble());
    return left;
  }

  /// The window's picture, framed, saved as `name` in the home; for the documentation's
  /// pictures (`forDocs`) in VORTAN_SCREENSHOT_DIR when that is set.
  void SavePicture(Window w, const QString& title, const char* name, bool forDocs) {
    const QImage inside = display_.Picture(w);
    ASSERT_FALSE(inside.isNull());
    QString dir = forDocs ? qEnvironmentVariable("VORTAN_SCREENSHOT_DIR") : QString();
    if (dir.isEmpty()) dir = QString::fromStdString(home_.Path());
    EXPECT_TRUE(test::Framed(inside, title).save(QDir(dir).filePath(QString::fromLatin1(name))));
  }

  std::string source_;
};

TEST_F(PrintingTest, CtrlPPrintsThroughTheDialogAndPageSetupMarginsReachTheNextPrint) {
  StartIde({QString::fromStdString(source_)});
  const Window main = MainWindow();
  ASSERT_NE(main, 0u) << display_.Describe();

  const QString pdf = PrintWithCtrlP(main, "print-dialog.png");
  ASSERT_FALSE(HasFailure());
  ASSERT_TRUE(QFileInfo::exists(pdf)) << "nothing printed to " << pdf.toStdString();
  const std::string text = PdfText(pdf);
  const auto pages = std::count(text.begin(), text.end(), '\f');
  ASSERT_GE(pages, 2) << text;
  for (const std::string& expected :
       {std::string("accents.f"), "1/" + std::to_string(pages),
        std::to_string(pages) + "/" + std::to_string(pages), std::string("PROGRAM ACCENT"),
        std::string("Caf\xC3\xA9 au lait")})
    EXPECT_NE(text.find(expected), std::string::npos) << "no \"" << expected << "\" in:\n" << text;
  const double before = LeftmostWord(pdf);
  ASSERT_TRUE(QFile::remove(pdf));

  // File > Page Setup... from the keyboard; the left margin from 25 to 60 millimetres.
  display_.Focus(main);
  ASSERT_TRUE(display_.Drain(main));
  display_.Keys({XK_Alt_L, XK_f});
  ASSERT_TRUE(display_.Drain(main));
  display_.Keys({XK_u});
  const Window setup = Shown("Page Setup");
  ASSERT_NE(setup, 0u) << "File > Page Setup... opened no dialog; " << display_.Describe();
  ASSERT_TRUE(display_.Drain(setup));
  display_.Focus(setup);
  // The dialog's focus order: units, paper size, orientation, top margin, left margin.
  for (int i = 0; i < kTabsToLeftMargin; ++i) display_.Keys({XK_Tab});
  display_.Type("60");
  ASSERT_TRUE(display_.Drain(setup));
  SavePicture(setup, "Page Setup", "page-setup.png", false);
  display_.Keys({XK_Return});
  ASSERT_TRUE(Gone(setup));

  const QString again = PrintWithCtrlP(main);
  ASSERT_TRUE(QFileInfo::exists(again));
  // 35 millimetres more on the left: 99.2 points.
  EXPECT_NEAR(LeftmostWord(again) - before, 35 * 72 / 25.4, 2.0);

  display_.Close(main);
  ASSERT_TRUE(ide_.waitForFinished(20000));
  // The margin stays for the next start, with the other print settings.
  TSettingsStore store;
  ASSERT_TRUE(store.Open(DefaultStorePath()).Ok);
  EXPECT_NEAR(store.ReadFloat(sidLeftMargin), 60.0, 0.01);
}

}  // namespace
}  // namespace vortan

#endif
