#include "jobs/ui/livecheckcontrol.h"

#include <algorithm>

#include "config/settingids.h"
#include "config/settingsstore.h"
#include "editor/ui/documents.h"
#include "editor/ui/editorwindow.h"
#include "editor/ui/streaksynedit.h"
#include "i18n/stringtable.h"
#include "jobs/analyzerkeywords.h"
#include "jobs/compilerfindings.h"
#include "jobs/ui/messagestree.h"
#include "system/vortanextension.h"
#include "system/vortanformat.h"

namespace vortan {

namespace {

std::string LabelOf(TMessageKind kind) {
  return StrText(kind == mkError     ? TStr::strError
                 : kind == mkWarning ? TStr::strWarning
                                     : TStr::strMayBe);
}

std::string NamePart(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

TLiveTools LiveToolsFromSettings() {
  TLiveTools tools;
  if (ReadBool(sidLiveCheckCompiler)) {
    tools.Compiler = ExtensionOf(sidCompilerExtension);
    if (tools.Compiler.empty()) tools.Compiler = "gfortran";
    tools.CompilerOptions = ReadString(sidAdditionalCompilerOptionsParameters);
  }
  if (ReadBool(sidLiveCheckAnalyzer)) {
    tools.Analyzer = ExtensionOf(sidAnalyzerExtension);
    if (tools.Analyzer.empty()) tools.Analyzer = "ftnchek";
    // Without a format of its own the analyzer keeps the Analyze command's default one.
    if (std::string format = FormatOf(sidAnalyzerFormat); !format.empty())
      tools.AnalyzerFormat = std::move(format);
    tools.AnalyzerParameters = ReadString(sidAdditionalAnalyzerParameters);
    tools.Keywords = ReadAnalyzerKeywords(Store());
  }
  return tools;
}

TLiveCheckControl::TLiveCheckControl(TDocuments& documents, TMessagesView& messages,
                                     QObject* parent)
    : QObject(parent), documents_(documents), messages_(messages) {
  ToolsFromSettings = LiveToolsFromSettings;
  pause_.setSingleShot(true);
  connect(&pause_, &QTimer::timeout, this, &TLiveCheckControl::CheckNow);
  // Results arrive in the worker's thread and are shown in the interface thread.
  checker_ = std::make_unique<TLiveChecker>(
      [this](TfrmEditor* editor, std::uint64_t ticket, TLiveResult result) {
        QMetaObject::invokeMethod(
            this,
            [this, editor, ticket, r = std::move(result)]() mutable {
              Show(editor, ticket, std::move(r));
            },
            Qt::QueuedConnection);
      });
  for (TfrmEditor* editor : documents_.Editors()) Watch(editor);
  connect(&documents_, &TDocuments::Opened, this, &TLiveCheckControl::Watch);
  connect(&documents_, &TDocuments::FileUsed, this, [this](const std::string& fileName, bool) {
    TfrmEditor* active = documents_.Active();
    if (active != nullptr && active->FileName() == fileName) CheckNow();
  });
}

TLiveCheckControl::~TLiveCheckControl() {
  // The worker must be gone before the queued results could reach a half-destroyed object.
  checker_.reset();
}

void TLiveCheckControl::Watch(TfrmEditor* editor) {
  connect(editor->SynEdit(), &TStreakSynEdit::TextEdited, this, [this, editor] { Edited(editor); });
  connect(editor, &QObject::destroyed, this, [this, editor] {
    checker_->Cancel(editor);
    newest_.erase(editor);
  });
}

void TLiveCheckControl::Edited(TfrmEditor* editor) {
  // The text a running check reads is no longer the editor's: its result would mark wrongly.
  if (newest_.erase(editor) > 0) checker_->Cancel(editor);
  if (editor != documents_.Active()) return;
  ReadSettings();
  if (enabled_) pause_.start(delay_);
}

void TLiveCheckControl::ReadSettings() {
  const std::uint64_t revision = Store().Revision();
  if (revision == revision_) return;
  revision_ = revision;
  enabled_ = ReadBool(sidLiveCheck);
  delay_ = std::max(0, static_cast<int>(ReadInteger(sidLiveCheckDelay)));
}

void TLiveCheckControl::Drop() {
  pause_.stop();
  for (const auto& [editor, ticket] : newest_) checker_->Cancel(const_cast<TfrmEditor*>(editor));
  newest_.clear();
}

bool TLiveCheckControl::Checking() const { return newest_.count(documents_.Active()) > 0; }

void TLiveCheckControl::CheckNow() {
  pause_.stop();
  TfrmEditor* active = documents_.Active();
  ReadSettings();
  if (active == nullptr || !enabled_) return;
  checker_->SetTools(ToolsFromSettings());
  TLiveRequest request;
  auto add = [&](TfrmEditor* editor) {
    request.Sources.push_back(TLiveSource{
        editor, editor->FileName(), editor->Caption().toStdString(), {}, editor->TextCopy()});
  };
  add(active);
  if (ReadBool(sidLiveCheckAnalyzeAll))
    for (TfrmEditor* editor : documents_.Editors())
      if (editor != active) add(editor);
  newest_[active] = checker_->Request(std::move(request));
}

bool TLiveCheckControl::IsOpen(const TfrmEditor* editor) const {
  const std::vector<TfrmEditor*> editors = documents_.Editors();
  return std::find(editors.begin(), editors.end(), editor) != editors.end();
}

void TLiveCheckControl::Tell(TLiveToolState state, const std::string& tool) {
  TStr text;
  switch (state) {
    case TLiveToolState::Missing:
      text = TStr::strLiveToolMissing;
      break;
    case TLiveToolState::TimedOut:
      text = TStr::strLiveToolTimedOut;
      break;
    case TLiveToolState::Flooded:
      text = TStr::strLiveToolFlooded;
      break;
    default:
      return;
  }
  TMessageNode note;
  note.Data.Kind = mkWarning;
  note.Data.Text = FormatText(text, {tool});
  messages_.Add({std::move(note)});
}

void TLiveCheckControl::Show(TfrmEditor* editor, std::uint64_t ticket, TLiveResult result) {
  const auto newest = newest_.find(editor);
  if (newest == newest_.end() || newest->second != ticket || !IsOpen(editor)) return;
  newest_.erase(newest);
  const TLiveTools tools = ToolsFromSettings();
  Tell(result.Compiler, NamePart(tools.Compiler));
  Tell(result.Analyzer, NamePart(tools.Analyzer));

  std::vector<TLiveMark> marks;
  TMessageNode group;
  group.Data.Text = StrText(TStr::strLiveGroup);
  group.Data.Editor = editor;
  group.Data.Kind = mkMaybe;
  for (const TLiveFinding& f : result.Findings) {
    const std::string label = LabelOf(f.Kind);
    if (f.Editor == editor) marks.push_back({f.Line, f.Column, f.Kind, f.Tool + ": " + f.Text});
    TMessageNode entry = FindingEntry(f.Editor, f.Line, f.Column, f.Kind, label, NamePart(f.File),
                                      f.Text, f.Details);
    group.Data.Kind = std::min(group.Data.Kind, f.Kind);
    group.Children.push_back(std::move(entry));
  }
  editor->SynEdit()->LiveMarks().Show(marks);
  messages_.BeginUpdate();
  messages_.List().RemoveGroup(group.Data.Text);
  if (!group.Children.empty()) messages_.Add({std::move(group)});
  messages_.EndUpdate();
  if (Shown) Shown(editor);
}

}  // namespace vortan
