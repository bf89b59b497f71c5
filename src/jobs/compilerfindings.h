#pragma once
// The compiler's findings as entries of the Messages tree.

#include <functional>
#include <string>
#include <vector>

#include "jobs/compilerdiagnostic.h"
#include "jobs/messagelist.h"

namespace vortan {

class TfrmEditor;

/// The document a finding belongs to.
struct TFindingTarget {
  /// The document's full name (a temporary copy's finding belongs to its document); empty
  /// when the finding names none.
  std::string Document;
  /// Its editor window; null when none is open (the entry then cannot be opened).
  TfrmEditor* Editor = nullptr;
};

/// Tells the document of a finding from the file (and the linker's object) it names.
using TFindingResolver = std::function<TFindingTarget(const TCompilerDiagnostic&)>;

/// A file the build handed to the tool.
struct TKnownSource {
  /// The file the tool read (the document or its temporary copy).
  std::string Source;
  std::string Document;
  /// Its object file, when the build made one of its own.
  std::string Object;
  TfrmEditor* Editor = nullptr;
};

/// The document of a finding: the known source the tool named (by its full name relative to
/// `dir`, by its bare name as the linker names it without debugging data, or by the linker's
/// object); a finding that names no file belongs to the only known source. Any other file (an
/// INCLUDEd one) is its own document, with the window `editorOf` gives for it.
TFindingTarget ResolveFinding(const TCompilerDiagnostic& finding,
                              const std::vector<TKnownSource>& known, const std::string& dir,
                              const std::function<TfrmEditor*(const std::string&)>& editorOf);

/// One finding's entry in the Messages tree: "[label] name(line:column): text" (the place
/// left out when it names nothing), with the details below it; the details carry the
/// finding's place, so that they open it too.
TMessageNode FindingEntry(TfrmEditor* editor, int line, int column, TMessageKind kind,
                          const std::string& label, const std::string& name,
                          const std::string& text, const std::vector<std::string>& details);

/// One top-level group per tool and document ("gfortran: prog.f"), in the order the
/// documents are first named, of the kind of its worst finding and of the document's window;
/// below it one entry per finding ("[Error] prog.f(4:15): text", with the labels given), and
/// below that the finding's details, which carry the finding's place so that they open it
/// too.
std::vector<TMessageNode> CompilerMessageNodes(const std::vector<TCompilerDiagnostic>& findings,
                                               const TFindingResolver& resolve,
                                               const std::string& errorLabel,
                                               const std::string& warningLabel);

}  // namespace vortan
