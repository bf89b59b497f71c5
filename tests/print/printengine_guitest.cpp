// Printing for real: the engine prints a 150-line program to a PDF file through QPrinter, and
// the PDF's text is read back with pdftotext; the same program is exported to HTML. With
// VORTAN_SCREENSHOT_DIR set, page 1 is also saved there as print-page1.png and the HTML page as
// a browser shows it as export-html.png (scripts/print-screenshots.sh).
#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QPageSize>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>

#include "print/htmlexporter.h"
#include "print/ui/printengine.h"
#include "support/tempdir.h"

namespace vortan {
namespace {

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

std::vector<std::string> Program(int lines) {
  std::vector<std::string> out = {"C     A PROGRAM OF 150 LINES, caf\x82 FOR THE ACCENT",
                                  "      PROGRAM LONG"};
  while (static_cast<int>(out.size()) < lines - 1)
    out.push_back("      X" + std::to_string(out.size() + 1) + " = " +
                  std::to_string(out.size() + 1) + ".0");
  out.push_back("      END");
  return out;
}

TSynFortranSyn::TAttributes Colours() {
  TSynFortranSyn::TAttributes a{};
  a[faComment].Foreground = 0x00008000;
  a[faComment].Italic = true;
  a[faKey].Foreground = 0x00800000;
  a[faKey].Bold = true;
  a[faNumber].Foreground = 0x000000C0;
  return a;
}

TPrintDocument Document(int lines) {
  TPrintDocument d;
  d.Lines = Program(lines);
  d.Font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  d.Font.setPointSize(10);
  d.Attributes = Colours();
  d.Title = "long.f";
  return d;
}

void ToPdf(TPrintEngine& engine, const std::string& file) {
  engine.Printer().setOutputFormat(QPrinter::PdfFormat);
  engine.Printer().setOutputFileName(QString::fromStdString(file));
  engine.Printer().setPageSize(QPageSize(QPageSize::A4));
}

TEST(PrintEngine, PrintsTheDefaultHeaderAndFooterToPdf) {
  if (Shell("command -v pdftotext").empty()) GTEST_SKIP() << "pdftotext (poppler-utils) missing";
  TPrintSettings settings;
  TPrintEngine engine(settings);
  engine.SetDocument(Document(150));
  engine.SetClock([] { return QDateTime(QDate(2024, 6, 5), QTime(14, 7)); });
  test::TTempDir dir;
  const std::string pdf = dir / "long.pdf";
  ToPdf(engine, pdf);
  ASSERT_TRUE(engine.Layout());
  ASSERT_EQ(engine.PageCount(), 3);
  ASSERT_TRUE(engine.Print(1, engine.PageCount(), 1));

  for (int page = 1; page <= 3; ++page) {
    const std::string text = Shell("pdftotext -layout -f " + std::to_string(page) + " -l " +
                                   std::to_string(page) + " '" + pdf + "' -");
    const std::string count = std::to_string(page) + "/3";
    // The page number is in the header and in the footer.
    EXPECT_NE(text.find("long.f"), std::string::npos) << text;
    const std::size_t first = text.find(count);
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_NE(text.find(count, first + 1), std::string::npos) << "footer of page " << page;
    const auto [row0, row1] = engine.Pages().PageRows(page);
    for (std::size_t r : {row0, row1 - 1}) {
      const int line = engine.Pages().Rows[r].Line;
      const std::string numbered =
          std::to_string(line + 1) + " " +
          platform::BytesToUtf8(platform::TCodePage::Oem, engine.Document().Lines[line]);
      EXPECT_NE(text.find(numbered), std::string::npos) << numbered << "\n" << text;
    }
  }
  EXPECT_NE(Shell("pdftotext '" + pdf + "' -").find("caf\xC3\xA9"), std::string::npos);

  if (const char* shots = std::getenv("VORTAN_SCREENSHOT_DIR")) {
    const std::string png = std::string(shots) + "/print-page1";
    Shell("pdftoppm -png -r 70 -f 1 -l 1 -singlefile '" + pdf + "' '" + png + "'");
    EXPECT_TRUE(std::filesystem::exists(png + ".png"));
  }
}

// The same program exported to HTML reads, tags removed, as the document does; with
// VORTAN_SCREENSHOT_DIR set, a browser's rendering is saved there as export-html.png.
TEST(HtmlExport, TheLongProgramReadsBackInTheBrowser) {
  const TPrintDocument d = Document(150);
  TExportSource source;
  source.Lines = &d.Lines;
  source.Attributes = &*d.Attributes;
  source.Title = d.Title;
  const std::string html = ExportHtml(source);
  const std::size_t pre = html.find("<pre");
  ASSERT_NE(pre, std::string::npos);
  std::string shown = std::regex_replace(
      html.substr(html.find('>', pre) + 1, html.find("</pre>") - html.find('>', pre) - 1),
      std::regex("<[^>]*>"), "");
  // Browsers drop a line break right after <pre>.
  if (shown.starts_with('\n')) shown.erase(0, 1);
  std::string expected;
  for (const std::string& line : d.Lines)
    expected += platform::BytesToUtf8(platform::TCodePage::Oem, line) + "\n";
  EXPECT_EQ(shown, expected);

  if (const char* shots = std::getenv("VORTAN_SCREENSHOT_DIR")) {
    if (Shell("command -v chromium").empty()) GTEST_SKIP() << "chromium missing";
    test::TTempDir dir;
    const std::string page = dir / "long.html";
    std::ofstream(page, std::ios::binary) << html;
    const std::string png = std::string(shots) + "/export-html.png";
    std::filesystem::remove(png);
    Shell(
        "chromium --headless --no-sandbox --disable-gpu --disable-background-networking "
        "--disable-component-update --disable-sync --no-first-run --user-data-dir='" +
        std::string(dir / "profile") + "' --window-size=900,700 --screenshot='" + png +
        "' 'file://" + page + "' 2>/dev/null");
    EXPECT_TRUE(std::filesystem::exists(png));
  }
}

TEST(PrintEngine, PageRangeAndCopies) {
  if (Shell("command -v pdfinfo").empty()) GTEST_SKIP() << "pdfinfo (poppler-utils) missing";
  TPrintSettings settings;
  TPrintEngine engine(settings);
  engine.SetDocument(Document(150));
  test::TTempDir dir;
  struct Case {
    int from, to, copies, pages;
  } cases[] = {{2, 3, 1, 2}, {1, 1, 2, 2}, {3, 9, 1, 1}, {2, 3, 3, 6}};
  for (const Case& c : cases) {
    const std::string pdf = dir / "range.pdf";
    ToPdf(engine, pdf);
    ASSERT_TRUE(engine.Print(c.from, c.to, c.copies));
    EXPECT_NE(Shell("pdfinfo '" + pdf + "'").find("Pages:           " + std::to_string(c.pages)),
              std::string::npos)
        << c.from << ".." << c.to << " x" << c.copies;
  }
}

TEST(PrintEngine, NoPrintableAreaPrintsNothing) {
  TPrintSettings settings;
  settings.Left = 150;
  settings.Right = 100;
  TPrintEngine engine(settings);
  engine.SetDocument(Document(10));
  test::TTempDir dir;
  ToPdf(engine, dir / "none.pdf");
  EXPECT_FALSE(engine.Layout());
  EXPECT_EQ(engine.PageCount(), 0);
  EXPECT_FALSE(engine.Print(1, 1, 1));
  EXPECT_FALSE(std::filesystem::exists(dir / "none.pdf"));
}

}  // namespace
}  // namespace vortan
