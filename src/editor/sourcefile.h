#pragma once
// The bytes of a source file: splitting them into lines and joining them again with the
// file's line-break convention. Reading and writing whole files is platform/filebytes.h's.

#include <cstddef>
#include <string>
#include <string_view>

namespace vortan {

/// Line-break convention of a document, remembered from loading.
enum class TLineBreak { CRLF, CR, LF };

/// The bytes of a break.
std::string_view LineBreakBytes(TLineBreak lineBreak);

/// File bytes split into lines. `Text` holds the lines separated by one LF each, with no
/// break after the last line; `LineCount` tells an empty document (0) from one empty line (1).
struct TSplitSource {
  std::string Text;
  std::size_t LineCount = 0;
  TLineBreak LineBreak = TLineBreak::CRLF;
  /// The bytes held a NUL, which became a line break: saving the lines cannot give the file
  /// back as it was.
  bool HadNul = false;
};

/// Lines end at CR LF, a single CR, a single LF or a NUL byte; a final break adds no line.
/// The convention is CR when only CR breaks were seen, LF when only LF breaks were seen and
/// CR LF otherwise. NUL breaks end lines but do not take part in that choice, so a stray NUL
/// does not turn every break of a Unix file into CR LF.
TSplitSource SplitSource(std::string_view bytes);

/// Every one of `lineCount` lines of `text` (separated by LF) followed by the break.
std::string JoinSource(std::string_view text, std::size_t lineCount, TLineBreak lineBreak);

}  // namespace vortan
