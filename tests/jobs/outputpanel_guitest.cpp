// The Output panel's text: a tool's output shown line by line, and copying from it.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QPlainTextEdit>

#include "jobs/ui/outputpanel.h"

namespace vortan::test {
namespace {

TEST(OutputPanel, ShowsEveryKindOfLineBreakAsLinesAndReplacesTheText) {
  QPlainTextEdit memo;
  TOutputPanel panel(&memo);
  struct TCase {
    const char* Output;
    const char* Shown;
  };
  for (const TCase& c : {TCase{"a\nb\n", "a\nb"}, TCase{"a\r\nb\r\n", "a\nb"},
                         TCase{"a\rb", "a\nb"}, TCase{"a\n\nb\n", "a\n\nb"}, TCase{"", ""}}) {
    panel.SetOutput("old text\n");
    panel.SetOutput(c.Output);
    EXPECT_EQ(panel.Text(), c.Shown) << c.Output;
    EXPECT_EQ(panel.HasText(), *c.Shown != '\0');
  }
}

TEST(OutputPanel, CopyTakesTheSelectionAndLeavesTheClipboardAloneWithoutOne) {
  QPlainTextEdit memo;
  TOutputPanel panel(&memo);
  panel.SetOutput("hello.f:2:15: Warning: Unused variable\n");
  QGuiApplication::clipboard()->setText(QStringLiteral("before"));
  panel.CopyToClipboard();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
  QTextCursor c = memo.textCursor();
  c.setPosition(0);
  c.setPosition(7, QTextCursor::KeepAnchor);
  memo.setTextCursor(c);
  panel.CopyToClipboard();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("hello.f"));
  panel.Clear();
  EXPECT_FALSE(panel.HasText());
}

}  // namespace
}  // namespace vortan::test
