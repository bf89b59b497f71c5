#include "jobs/ui/outputpanel.h"

#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>

#include "config/headerfooter.h"
#include "jobs/reportparser.h"
#include "system/promptservice.h"
#include "widgets/qtfont.h"

namespace vortan {

TOutputPanel::TOutputPanel(QPlainTextEdit* memo) : memo_(memo) {
  memo_->viewport()->installEventFilter(this);
}

bool TOutputPanel::eventFilter(QObject* watched, QEvent* e) {
  if (watched == memo_->viewport() && e->type() == QEvent::MouseButtonDblClick && OpenPlace) {
    const auto* click = static_cast<QMouseEvent*>(e);
    const QTextBlock block = memo_->cursorForPosition(click->position().toPoint()).block();
    // Back to the bytes the tool wrote, in which the file names are.
    if (block.isValid() && OpenPlace(block.text().toLocal8Bit().toStdString())) return true;
  }
  return QObject::eventFilter(watched, e);
}

void TOutputPanel::SetOutput(const std::string& output) {
  QString text;
  bool first = true;
  for (const std::string& line : SplitReportLines(output)) {
    if (!first) text += QLatin1Char('\n');
    text += QString::fromLocal8Bit(line.data(), qsizetype(line.size()));
    first = false;
  }
  memo_->setPlainText(text);
  memo_->verticalScrollBar()->setValue(0);
}

std::string TOutputPanel::Text() const { return memo_->toPlainText().toLocal8Bit().toStdString(); }

bool TOutputPanel::HasText() const { return !memo_->document()->isEmpty(); }

void TOutputPanel::Clear() { memo_->clear(); }

void TOutputPanel::CopyToClipboard() {
  if (memo_->textCursor().hasSelection()) memo_->copy();
}

bool TOutputPanel::SelectFont(TFontSpec& font) {
  TFontSpec chosen = font;
  if (Prompts() == nullptr || !Prompts()->FontDialog(chosen)) return false;
  font = chosen;
  memo_->setFont(FontFromSpec(font));
  return true;
}

}  // namespace vortan
