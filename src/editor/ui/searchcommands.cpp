#include "editor/ui/searchcommands.h"

#include <QDialog>
#include <ctime>

#include "editor/codetemplates.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/finddialog.h"
#include "editor/ui/gotodialog.h"
#include "editor/ui/replacedialog.h"
#include "editor/ui/streaksynedit.h"
#include "i18n/stringtable.h"
#include "system/promptservice.h"

namespace vortan {

namespace {

using platform::TCodePage;

// Message texts are language texts: bytes of the ANSI page.
std::string AnsiText(const std::string& utf8) {
  return platform::Utf8ToBytes(TCodePage::Ansi, utf8);
}

TReplaceAnswer AnswerOf(int result) {
  switch (static_cast<TModalResult>(result)) {
    case TModalResult::Yes:
      return TReplaceAnswer::Yes;
    case TModalResult::No:
      return TReplaceAnswer::No;
    case TModalResult::YesToAll:
      return TReplaceAnswer::YesToAll;
    default:
      return TReplaceAnswer::Cancel;
  }
}

}  // namespace

TSearchCommands::TSearchCommands(QWidget* window, TClock clock, TDialogRunner runDialog)
    : QObject(window), window_(window), clock_(std::move(clock)), runDialog_(std::move(runDialog)) {
  if (!runDialog_) runDialog_ = [](QDialog& d) { return d.exec(); };
}

TSearchCommands::~TSearchCommands() {
  // The dialogs write their options and histories back as they go.
  delete frmFind_;
  delete frmReplace_;
}

TfrmFind* TSearchCommands::FindDialog() const { return frmFind_; }
TfrmReplace* TSearchCommands::ReplaceDialog() const { return frmReplace_; }

TSearchPreset TSearchCommands::Preset(TfrmEditor* editor) const {
  TStreakSynEdit* edit = editor->SynEdit();
  const TCodePage page = edit->CodePage();
  const TSelectionInfo sel = edit->SelectionInfo();
  const TTextPoint caret = edit->CaretPoint();
  TSearchPreset p =
      SearchPreset(sel.Present, sel.Present && sel.Start.Line == sel.End.Line,
                   edit->SelectedBytes(), edit->LineBytes(caret.Line + 1), caret.Byte);
  p.Text = platform::BytesToUtf8(page, p.Text);
  return p;
}

int TSearchCommands::Search(TfrmEditor* editor, const std::string& searchUtf8,
                            const std::string& replaceUtf8, const TSearchOptions& options) {
  TStreakSynEdit* edit = editor->SynEdit();
  const TCodePage page = edit->CodePage();
  const std::string searched = AnsiText(searchUtf8);
  const int found = edit->SearchReplace(
      platform::Utf8ToBytes(page, searchUtf8), platform::Utf8ToBytes(page, replaceUtf8), options,
      [editor, searched] { return AnswerOf(editor->AskReplace(searched)); });
  if (found == 0)
    MessageDlgDef(FormatStr(Str(TStr::strMsgStringNotFound), {searched}), TMsgDlgType::Confirmation,
                  {TMsgDlgBtn::OK});
  return found;
}

void TSearchCommands::Find(TfrmEditor* editor) {
  if (!editor) return;
  if (!frmFind_) frmFind_ = new TfrmFind(window_);
  if (frmFind_->isVisible()) return;
  const TSearchPreset preset = Preset(editor);
  frmFind_->Preset(QString::fromStdString(preset.Text), preset.SelectedText);
  const bool ok = runDialog_(*frmFind_) == QDialog::Accepted;
  const std::string text = frmFind_->SearchText().toStdString();
  const TSearchOptions options = frmFind_->Options();
  if (ok) Search(editor, text, std::string(), options);
  lastSearch_ = {text, std::string(), options};
  frmFind_->RememberText();
}

void TSearchCommands::Replace(TfrmEditor* editor) {
  if (!editor) return;
  if (!frmReplace_) frmReplace_ = new TfrmReplace(window_);
  const TSearchPreset preset = Preset(editor);
  frmReplace_->Preset(QString::fromStdString(preset.Text), preset.SelectedText);
  const bool ok = runDialog_(*frmReplace_) == QDialog::Accepted;
  const std::string text = frmReplace_->SearchText().toStdString();
  const std::string with = frmReplace_->ReplaceText().toStdString();
  const TSearchOptions options = frmReplace_->Options();
  if (ok) Search(editor, text, with, options);
  lastSearch_ = {text, with, options};
  frmReplace_->RememberTexts();
}

void TSearchCommands::SearchAgain(TfrmEditor* editor) {
  if (!editor || !HasSearchText()) return;
  // Always on from the caret through the whole text, in the remembered direction.
  TSearchOptions options = lastSearch_.Options;
  options.EntireScope = false;
  options.SelectedOnly = false;
  Search(editor, lastSearch_.SearchText, lastSearch_.ReplaceText, options);
}

void TSearchCommands::GoTo(TfrmEditor* editor) {
  if (!editor) return;
  TfrmGoTo dialog(editor->CaretLine(), window_);
  if (runDialog_(dialog) != QDialog::Accepted || dialog.Line() <= 0) return;
  // A line beyond the last one does nothing.
  editor->SynEdit()->GotoLine(dialog.Line());
}

void TSearchCommands::Insert(TfrmEditor* editor, int tag) {
  if (!editor) return;
  const std::time_t now = std::chrono::system_clock::to_time_t(clock_());
  std::tm local{};
  localtime_r(&now, &local);
  // The header is a language text (ANSI); the document may be in the OEM page.
  std::string header = Str(TStr::strHeaderText);
  if (editor->SynEdit()->CodePage() == TCodePage::Oem) header = platform::AnsiToOem(header);
  editor->SynEdit()->InsertTemplate(TemplateText(tag, header, local));
}

void TSearchCommands::Convert(TfrmEditor* editor, int tag) {
  if (editor) editor->SynEdit()->ConvertSelection(tag);
}

}  // namespace vortan
