#include "shell/dialogpromptservice.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QFileDialog>
#include <algorithm>

#include <QFontDialog>
#include <QInputDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

#include "config/headerfooter.h"
#include "i18n/ui/messagedialog.h"
#include "widgets/qtconvert.h"
#include "widgets/qtfont.h"

namespace vortan {

TMessageAnswer TDialogPromptService::MessageDlg(const TMessageRequest& request) {
  TMessageDlg dlg(request, QApplication::activeWindow());
  // A question during start-up comes while the busy cursor is set; the user must see an arrow.
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  dlg.exec();
  if (busy) QApplication::restoreOverrideCursor();
  return {dlg.Answer(), dlg.Checked()};
}

namespace {
// "Vortan Files (*.f)|*.f|All Files|*.*" -> "Vortan Files (*.f) (*.f);;All Files (*.*)"
QString QtFilter(const std::string& stored) {
  const QStringList parts = LanguageText(stored).split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return filters.join(QStringLiteral(";;"));
}

void Prepare(QFileDialog& dlg, const TFileDialogRequest& r) {
  dlg.setWindowTitle(LanguageText(r.Title));
  dlg.setNameFilter(QtFilter(r.Filter));
  dlg.setOption(QFileDialog::ReadOnly, false);
  if (!r.Directory.empty()) dlg.setDirectory(Local(r.Directory));
  if (!r.FileName.empty()) dlg.selectFile(Local(r.FileName));
}
}  // namespace

std::vector<std::string> TDialogPromptService::OpenFileDialog(const TFileDialogRequest& request) {
  QFileDialog dlg(QApplication::activeWindow());
  Prepare(dlg, request);
  dlg.setAcceptMode(QFileDialog::AcceptOpen);
  dlg.setFileMode(request.Multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  std::vector<std::string> result;
  if (dlg.exec() == QDialog::Accepted)
    for (const QString& f : dlg.selectedFiles()) result.push_back(LocalBytes(f));
  return result;
}

std::string TDialogPromptService::SaveFileDialog(const TFileDialogRequest& request) {
  QFileDialog dlg(QApplication::activeWindow());
  Prepare(dlg, request);
  dlg.setAcceptMode(QFileDialog::AcceptSave);
  dlg.setFileMode(QFileDialog::AnyFile);
  dlg.setOption(QFileDialog::DontConfirmOverwrite, !request.OverwritePrompt);
  if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
  return LocalBytes(dlg.selectedFiles().first());
}

bool TDialogPromptService::FontDialog(TFontSpec& font) {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, FontFromSpec(font), QApplication::activeWindow());
  if (ok) FontToSpec(chosen, font);
  return ok;
}

bool TDialogPromptService::ColorDialog(uint32_t& color) {
  const QColor chosen = QColorDialog::getColor(ToQColor(color), QApplication::activeWindow());
  if (!chosen.isValid()) return false;
  color = FromQColor(chosen);
  return true;
}

TPrintDialogAnswer TDialogPromptService::PrintDialog(const TPrintDialogRequest& request) {
  TPrintDialogAnswer answer;
  QPrinter* printer = request.Printer;
  if (printer == nullptr) return answer;
  QPrintDialog dlg(printer, QApplication::activeWindow());
  dlg.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dlg.setOption(QAbstractPrintDialog::PrintSelection, false);
  dlg.setMinMax(request.MinPage, request.MaxPage);
  printer->setFromTo(request.FromPage, request.ToPage);
  printer->setCopyCount(1);
  if (dlg.exec() != QDialog::Accepted) return answer;
  answer.Accepted = true;
  answer.AllPages = printer->printRange() != QPrinter::PageRange;
  answer.FromPage = printer->fromPage();
  answer.ToPage = printer->toPage();
  // The engine prints every copy itself, so the driver must not repeat them.
  answer.Copies = std::max(1, printer->copyCount());
  printer->setCopyCount(1);
  return answer;
}

bool TDialogPromptService::PageSetupDialog(QPrinter* printer) {
  if (printer == nullptr) return false;
  QPageSetupDialog dlg(printer, QApplication::activeWindow());
  return dlg.exec() == QDialog::Accepted;
}

bool TDialogPromptService::InputQuery(const std::string& caption, const std::string& prompt,
                                      std::string& value) {
  bool ok = false;
  const QString text = QInputDialog::getText(
      QApplication::activeWindow(), QString::fromStdString(caption), QString::fromStdString(prompt),
      QLineEdit::Normal, QString::fromStdString(value), &ok);
  if (ok) value = text.toStdString();
  return ok;
}

}  // namespace vortan
