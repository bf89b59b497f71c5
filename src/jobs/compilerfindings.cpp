#include "jobs/compilerfindings.h"

#include "platform/platform.h"
#include "system/sourcefilenames.h"

namespace vortan {

TFindingTarget ResolveFinding(const TCompilerDiagnostic& finding,
                              const std::vector<TKnownSource>& known, const std::string& dir,
                              const std::function<TfrmEditor*(const std::string&)>& editorOf) {
  auto target = [](const TKnownSource& k) { return TFindingTarget{k.Document, k.Editor}; };
  const std::string& name = finding.File;
  if (name.empty()) {
    for (const TKnownSource& k : known)
      if (!finding.Object.empty() && k.Object == finding.Object) return target(k);
    if (known.size() == 1) return target(known.front());
    return {};
  }
  const std::string full = name.front() == '/' || dir.empty() ? name : dir + name;
  for (const TKnownSource& k : known)
    if (full == k.Source || full == k.Document || platform::IsSameFile(full, k.Source))
      return target(k);
  if (name.find('/') == std::string::npos) {
    // A bare name: the linker read it from an object without debugging data.
    const TKnownSource* byName = nullptr;
    for (const TKnownSource& k : known) {
      if (!finding.Object.empty() && k.Object == finding.Object) return target(k);
      if (byName == nullptr && (FileNamePart(k.Source) == name || FileNamePart(k.Document) == name))
        byName = &k;
    }
    if (byName) return target(*byName);
  }
  return {full, editorOf ? editorOf(full) : nullptr};
}

TMessageNode FindingEntry(TfrmEditor* editor, int line, int column, TMessageKind kind,
                          const std::string& label, const std::string& name,
                          const std::string& text, const std::vector<std::string>& details) {
  TMessageNode entry;
  entry.Data.Editor = editor;
  entry.Data.Line = line;
  entry.Data.Column = column;
  entry.Data.Kind = kind;
  std::string place = name;
  if (line >= 0) {
    place += "(" + std::to_string(line);
    if (column > 0) place += ":" + std::to_string(column);
    place += ")";
  }
  entry.Data.Text = "[" + label + "] " + (place.empty() ? std::string() : place + ": ") + text;
  for (const std::string& d : details) {
    TMessageNode detail;
    detail.Data = entry.Data;
    detail.Data.Kind = mkDetail;
    detail.Data.Text = d;
    entry.Children.push_back(std::move(detail));
  }
  return entry;
}

std::vector<TMessageNode> CompilerMessageNodes(const std::vector<TCompilerDiagnostic>& findings,
                                               const TFindingResolver& resolve,
                                               const std::string& errorLabel,
                                               const std::string& warningLabel) {
  std::vector<TMessageNode> groups;
  std::vector<std::string> keys;  // tool + NUL + document, one per group
  for (const TCompilerDiagnostic& d : findings) {
    const TFindingTarget target = resolve ? resolve(d) : TFindingTarget{d.File, nullptr};
    const std::string name =
        target.Document.empty() ? std::string() : FileNamePart(target.Document);
    const std::string key = d.Tool + '\0' + target.Document;
    std::size_t g = 0;
    while (g < keys.size() && keys[g] != key) ++g;
    if (g == keys.size()) {
      keys.push_back(key);
      TMessageNode group;
      group.Data.Text = name.empty() ? d.Tool : d.Tool + ": " + name;
      group.Data.Editor = target.Editor;
      group.Data.Kind = mkWarning;
      groups.push_back(std::move(group));
    }
    TMessageNode& group = groups[g];
    if (d.Kind == mkError) group.Data.Kind = mkError;

    TMessageNode entry =
        FindingEntry(target.Editor, d.Line, d.Column, d.Kind == mkError ? mkError : mkWarning,
                     d.Kind == mkError ? errorLabel : warningLabel, name, d.Text, d.Details);
    group.Children.push_back(std::move(entry));
  }
  return groups;
}

}  // namespace vortan
