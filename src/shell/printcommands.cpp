#include "shell/printcommands.h"

#include <QAction>
#include <cmath>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/fortranhighlighter.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "i18n/stringtable.h"
#include "platform/filebytes.h"
#include "print/htmlexporter.h"
#include "print/rtfexporter.h"
#include "print/ui/printengine.h"
#include "print/ui/printpreview.h"
#include "shell/mainwindow.h"
#include "shell/mainwindowlanguage.h"
#include "system/product.h"
#include "system/promptservice.h"
#include "system/sourcefilenames.h"
#include "widgets/dialogtitles.h"
#include "widgets/qtconvert.h"

namespace vortan {

// The printer goes to the dialogs with each question rather than to the service installed
// when the window is built: during the start another service stands in place for a while.
TPrintCommands::TPrintCommands(TfrmMain* main, TPrintSettings& settings)
    : QObject(main),
      main_(main),
      settings_(settings),
      engine_(std::make_unique<TPrintEngine>(settings_)) {}

TPrintCommands::~TPrintCommands() = default;

TPrintDocument TPrintCommands::DocumentOf(TfrmEditor* editor) const {
  TPrintDocument d;
  // The text control gives its lines separated by LF.
  const std::string bytes = editor->SynEdit()->Bytes();
  if (editor->LineCount() > 0) {
    std::size_t start = 0;
    for (;;) {
      const std::size_t end = bytes.find('\n', start);
      d.Lines.push_back(
          bytes.substr(start, end == std::string::npos ? std::string::npos : end - start));
      if (end == std::string::npos) break;
      start = end + 1;
    }
  }
  d.Font = editor->SynEdit()->Options().Font;
  d.TabWidth = editor->SynEdit()->Options().Settings.TabStops;
  d.CodePage = editor->SynEdit()->CodePage();
  if (ReadBool(sidSyntaxHighlight)) d.Attributes = main_->Highlighter()->Attributes();
  return d;
}

void TPrintCommands::Print() {
  TfrmEditor* editor = main_->ActiveEditor();
  if (!editor) return;
  engine_->SetDocument(DocumentOf(editor));
  if (!engine_->Layout()) {
    MessageDlgDef(Str(TStr::strMsgNoPrintableArea), TMsgDlgType::Error, {TMsgDlgBtn::OK});
    return;
  }
  TPrintDialogRequest request;
  request.Printer = &engine_->Printer();
  request.MaxPage = request.ToPage = engine_->PageCount();
  const TPrintDialogAnswer answer = Prompts()->PrintDialog(request);
  if (!answer.Accepted) return;
  if (preview_) preview_->RefreshPreview();  // the printer may have changed
  // The printed title is the file name alone, empty for an untitled document.
  engine_->SetTitle(FileNamePart(editor->FileName()));
  const int last = engine_->PageCount();
  engine_->Print(answer.AllPages ? 1 : answer.FromPage, answer.AllPages ? last : answer.ToPage,
                 answer.Copies);
}

void TPrintCommands::PageSetup() {
  // The pages have one set of margins, the print settings': the dialog shows them, and a
  // margin the user changes there becomes the setting, so the next print and the preview use
  // it. Margins left alone keep their stored value exactly.
  QPrinter& printer = engine_->Printer();
  const auto mm = [this](double margin) { return settings_.ToMillimeters(margin); };
  printer.setPageMargins(
      QMarginsF(mm(settings_.Left), mm(settings_.Top), mm(settings_.Right), mm(settings_.Bottom)),
      QPageLayout::Millimeter);
  const QMarginsF shown = printer.pageLayout().margins(QPageLayout::Millimeter);
  if (!Prompts()->PageSetupDialog(&printer)) return;
  const QMarginsF chosen = printer.pageLayout().margins(QPageLayout::Millimeter);
  const auto take = [this](double& margin, double before, double after) {
    if (std::abs(after - before) > 1e-6)
      margin = ConvertMargin(after, TMarginUnit::Millimeters, settings_.Unit);
  };
  take(settings_.Left, shown.left(), chosen.left());
  take(settings_.Top, shown.top(), chosen.top());
  take(settings_.Right, shown.right(), chosen.right());
  take(settings_.Bottom, shown.bottom(), chosen.bottom());
  if (preview_) preview_->RefreshPreview();
}

void TPrintCommands::SettingsChanged() {
  if (preview_) preview_->RefreshPreview();
}

void TPrintCommands::PrintPreview() {
  TfrmEditor* editor = main_->ActiveEditor();
  if (!editor || preview_) return;
  TPrintDocument d = DocumentOf(editor);
  d.Title = editor->Caption().toStdString();
  engine_->SetDocument(std::move(d));
  if (!engine_->Layout()) {
    MessageDlgDef(Str(TStr::strMsgNoPrintableArea), TMsgDlgType::Error, {TMsgDlgBtn::OK});
    return;
  }
  TPreviewCommands commands;
  commands.Print = main_->Action("actPrint");
  commands.PageSetup = main_->Action("actPageSetup");
  commands.PrintOptions = main_->Action("actPrintOptions");
  // The icon set in use has pictures for the window commands of the same names.
  commands.Icon = [this](const std::string& name) {
    if (name == "actPrevious" || name == "actNext" || name == "actClose")
      return main_->Action(name)->icon();
    return QIcon();
  };
  auto* preview = new TfrmPrintPreview(*engine_, commands, main_);
  preview_ = preview;
  preview->Execute();
  delete preview;
  main_->update();
}

bool TPrintCommands::Export(int tag) {
  TfrmEditor* editor = main_->ActiveEditor();
  if (!editor) return false;
  const bool html = tag == 0;
  const std::string extension = html ? ".html" : ".rtf";
  TFileDialogRequest r;
  r.Title = FileDialogTitle(*main_, TFileDialogKind::Save);
  r.Filter = Str(html ? TStr::strHTMLExportDialog : TStr::strRTFExportDialog);
  r.FileName = ChangeFileExtension(FileNamePart(LocalBytes(editor->Caption())), extension);
  r.OverwritePrompt = true;
  std::string fileName = Prompts()->SaveFileDialog(r);
  if (fileName.empty()) return false;
  fileName = WithExtension(fileName, extension);

  const TPrintDocument d = DocumentOf(editor);
  TExportSource source;
  source.Lines = &d.Lines;
  source.CodePage = d.CodePage;
  source.Attributes = d.Attributes ? &*d.Attributes : nullptr;
  source.TabWidth = d.TabWidth;
  source.Title = FileNamePart(fileName);
  source.Comment = FormatStr(Str(TStr::strGeneratedBy), {ApplicationTitle, ProjectWebsite});
  const std::string bytes = html ? ExportHtml(source) : ExportRtf(source);
  std::string error;
  if (!platform::WriteFileReplacing(fileName, bytes, error)) {
    MessageDlgDef(FormatStr("Cannot create file \"%s\". %s", {fileName, error}), TMsgDlgType::Error,
                  {TMsgDlgBtn::OK});
    return false;
  }
  return true;
}

}  // namespace vortan
