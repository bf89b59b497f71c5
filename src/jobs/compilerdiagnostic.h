#pragma once
// What the compiler and the linker say about a source, read from their console text.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/messagedata.h"

namespace vortan {

/// One finding of the compiler (or of the linker it runs).
struct TCompilerDiagnostic {
  /// mkError or mkWarning ("Fatal Error" is an error).
  TMessageKind Kind = mkError;
  /// "gfortran" for the compiler's own findings, "ld" for the linker's.
  std::string Tool;
  /// The file as the tool named it (relative to its working folder, or a bare name when the
  /// linker read it from an object without debugging data); empty when it named none.
  std::string File;
  /// -1 when the tool named no line; Column 0 when it named no column.
  int Line = -1;
  int Column = 0;
  /// The message without its "Error:" or "Warning:" word.
  std::string Text;
  /// The lines printed with it: the source line and the caret under the column, the files
  /// that included this one, the linker's "in function" line. In the order printed.
  std::vector<std::string> Details;
  /// The linker's object file whose code made the call, when it named one.
  std::string Object;
};

/// A place "file:line:" or "file:line:column:" at the start of a line, as the compiler and the
/// linker print it.
struct TSourcePlace {
  std::string File;
  int Line = -1;
  int Column = 0;
};

/// The place a line begins with, and where the rest of the line starts; none when the line
/// does not begin with one. A file name may itself hold colons.
std::optional<TSourcePlace> ReadSourcePlace(std::string_view line, std::size_t* restAt = nullptr);

/// Every finding in the text gfortran 12 and the GNU linker write with LC_MESSAGES=C, in the
/// order written: "file:line:col:" with the caret block and the "Error:", "Warning:" or
/// "Fatal Error:" line after it (several for one statement each come with their own place),
/// "In file included from" lines, the one-line forms ("f951: Fatal Error: ..."), and the
/// linker's "undefined reference to" and other failures. Summaries ("compilation terminated.",
/// "collect2: error: ld returned 1 exit status") are no findings.
std::vector<TCompilerDiagnostic> ParseCompilerOutput(std::string_view output);

}  // namespace vortan
